#pragma once
// The system's print dialog (with printing to PDF), shared by everything the program prints.
#include <functional>

class QPrinter;
class QWidget;

namespace vx {

// Shows the print dialog for the printer; true when the operator chose to print.
bool RunPrintDialog(QPrinter& printer, QWidget* parent);

// Tests answer the print dialog through this hook (set up the printer, return whether to
// print) instead of a real dialog; returns the previous hook.
using PrintDialogHook = std::function<bool(QPrinter& printer)>;
PrintDialogHook SetPrintDialogHook(PrintDialogHook hook);

} // namespace vx
