#pragma once
// The windowed program's face of ShowMessage: a modal message box with the buttons, icon
// and default button of the message style, answering 1 (OK) to 7 (No).
#include <QString>

class QWidget;

namespace vx {

// Shows one message box and returns the answer code.
int PresentMessageBox(const QString& prompt, int style, const QString& title, QWidget* parent = nullptr);
// Installs PresentMessageBox as the ShowMessage presenter.
void InstallMessageBoxPresenter();

// The hourglass: the wait cursor while the object lives.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace vx
