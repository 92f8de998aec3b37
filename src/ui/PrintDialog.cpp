#include "ui/PrintDialog.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

namespace vx {

namespace {
PrintDialogHook& Hook()
{
    static PrintDialogHook hook;
    return hook;
}
} // namespace

PrintDialogHook SetPrintDialogHook(PrintDialogHook hook)
{
    std::swap(hook, Hook());
    return hook;
}

bool RunPrintDialog(QPrinter& printer, QWidget* parent)
{
    if (Hook())
        return Hook()(printer);
    QPrintDialog dialog(&printer, parent);
    if (parent)
        dialog.setWindowTitle(parent->windowTitle());
    return dialog.exec() == QDialog::Accepted;
}

} // namespace vx
