#pragma once
// The base of every screen window: tells the operator's close control (which runs the
// screen's own shutdown) from an unload the program asked for (which saves nothing).
#include <QWidget>

namespace vx {

class ScreenWindow : public QWidget {
    Q_OBJECT
public:
    explicit ScreenWindow(QWidget* parent = nullptr);
    // Closes and deletes the window without the close-control handling.
    void Unload();

protected:
    // Form_QueryUnload for the window's own close control.
    virtual void QueryUnloadByControlMenu() {}
    void closeEvent(QCloseEvent* event) override;

private:
    bool m_inClose = false;
};

} // namespace vx
