#pragma once
// Asks for the base name of the process files; the convert screen writes them when the
// dialog is accepted.
#include <QDialog>

#include <memory>

namespace Ui {
class frmCLTBaseFileName;
}

namespace vx {

class frmCLTBaseFileName : public QDialog {
    Q_OBJECT
public:
    explicit frmCLTBaseFileName(QWidget* parent = nullptr);
    ~frmCLTBaseFileName() override;

    QString StartFileName() const;
    void SetStartFileName(const QString& name);

public slots:
    void cmdCreateFiles_Click();
    void cmdCancel_Click();

private:
    std::unique_ptr<Ui::frmCLTBaseFileName> m_ui;
};

} // namespace vx
