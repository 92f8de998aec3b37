#include "ui/ScreenTools.h"

#include "base/Messages.h"
#include "base/VxError.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace vx {

namespace {
bool& SessionEnding()
{
    static bool ending = false;
    return ending;
}
} // namespace

QRect DesktopWorkArea(const QWidget* window)
{
    QScreen* screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QSize FrameAllowance(const QWidget* window)
{
    const QSize frame = window->frameGeometry().size() - window->size();
    if (window->isVisible() && !frame.isEmpty())
        return frame;
    return QSize(8, 32);
}

QSize SizeWithin(const QWidget* window, const QRect& area)
{
    const QSize room = area.size() - FrameAllowance(window);
    const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
    return window->size().boundedTo(room).expandedTo(least);
}

void CentreOnDesktop(QWidget* window)
{
    QRect area = DesktopWorkArea(window);
    const QSize within = SizeWithin(window, area);
    if (within != window->size())
        window->resize(within);
    QSize size = window->frameGeometry().size();
    if (!window->isVisible() || size.isEmpty())
        size = window->size();
    window->move(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2);
}

void ShowStandardError(const std::exception& e) { ShowMessage(StandardErrorText(e), vbOKOnly, ""); }

void Guarded(const std::function<void()>& body)
{
    try {
        body();
    } catch (const std::exception& e) {
        ShowStandardError(e);
    }
}

CloseReason CloseReasonOf(const QCloseEvent* event)
{
    return event->spontaneous() && !SessionEnding() ? CloseReason::ControlMenu : CloseReason::Code;
}

void SetSessionEnding(bool ending) { SessionEnding() = ending; }

} // namespace vx
