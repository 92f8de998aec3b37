#include "ui/ScreenWindow.h"

#include "ui/ScreenTools.h"

#include <QCloseEvent>

namespace vx {

ScreenWindow::ScreenWindow(QWidget* parent) : QWidget(parent, Qt::Window) { setAttribute(Qt::WA_DeleteOnClose); }

void ScreenWindow::Unload()
{
    // Inside closeEvent the window is already on its way out.
    if (!m_inClose)
        close();
}

void ScreenWindow::closeEvent(QCloseEvent* event)
{
    m_inClose = true;
    if (CloseReasonOf(event) == CloseReason::ControlMenu)
        QueryUnloadByControlMenu();
    m_inClose = false;
    event->accept();
}

} // namespace vx
