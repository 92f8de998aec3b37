#pragma once
// Small helpers every screen uses: centring on the desktop, the standard error report of a
// handler, and telling the operator's close control from a close the program asked for.
#include <QWidget>

#include <exception>
#include <functional>

class QCloseEvent;

namespace vx {

// left = (desktop width - window width) / 2, top likewise, on the work area of the
// screen the window is on; a window larger than the work area is first made to fit it.
void CentreOnDesktop(QWidget* window);
// The desktop work area (the screen without task bars).
QRect DesktopWorkArea(const QWidget* window);
// What the window frame (title bar, borders) adds to a window's size: the real frame once
// shown, an allowance for a usual title bar before.
QSize FrameAllowance(const QWidget* window);
// The size the window takes in the work area: its own size, made smaller where it would not
// fit, never below the least size its layout needs.
QSize SizeWithin(const QWidget* window, const QRect& area);

// "Error: <number>, <description>, <source>" through ShowMessage, OK button, empty title.
void ShowStandardError(const std::exception& e);
// Runs a handler body; any failure ends it with the standard error report.
void Guarded(const std::function<void()>& body);

// Why a window is being closed: by the operator with the window's own close control, or
// by the program (or the system ending the session), which must not save anything.
enum class CloseReason { ControlMenu, Code };
CloseReason CloseReasonOf(const QCloseEvent* event);
// Set while the desktop session is ending: such closes are not the operator's.
void SetSessionEnding(bool ending);

} // namespace vx
