#pragma once
// The error log window: shows the error log's text (rejected rows, mapping problems) in
// one scrollable box. Loaded once and kept; CLOSE only hides it.
#include <QWidget>

#include <memory>

namespace Ui {
class frmCLTErrorLog;
}

namespace vx {

class frmCLTErrorLog : public QWidget {
    Q_OBJECT
public:
    explicit frmCLTErrorLog(QWidget* parent = nullptr);
    ~frmCLTErrorLog() override;

    // Shows the current log centred on the desktop, in front of the other windows.
    void Display();
    QString LogText() const;

    // Makes this window the error log's viewer (until destroyed).
    void InstallAsViewer();

private slots:
    void cmdClose_Click();

private:
    std::unique_ptr<Ui::frmCLTErrorLog> m_ui;
    bool m_installed = false;
};

} // namespace vx
