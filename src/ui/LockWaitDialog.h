#pragma once
// The windowed program's sign of a wait for another program's lock: a dialog shown at once
// that names what is waited for, with Cancel, so the window never freezes without a word.
#include "config/LockWait.h"
#include "ui/ProgressDialog.h"

#include <optional>

class QProgressDialog;

namespace vx {

class LockWaitDialog : public LockWaitDisplay {
public:
    ~LockWaitDialog() override;
    void begin(const std::string& text) override;
    bool goOn() override;
    void end() override;

    // The dialog of the wait running now (nullptr when none).
    QProgressDialog* dialog() const { return m_dialog; }
    // Installs one dialog for every wait of the program.
    static void Install();

private:
    QProgressDialog* m_dialog = nullptr;
    std::optional<ProgressHiddenForQuestion> m_progressHidden; // the work's own bar waits too
    int m_depth = 0; // waits inside a wait (another connection) share the dialog
};

} // namespace vx
