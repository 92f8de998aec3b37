#include "screens/WindowedProgram.h"

#include "base/Messages.h"
#include "base/ProgramState.h"
#include "config/DamagedConfiguration.h"
#include "config/modCLTSettings.h"
#include "screens/frmCLTErrorLog.h"
#include "screens/frmCLTMain.h"
#include "ui/LockWaitDialog.h"
#include "ui/MessageBoxPresenter.h"
#include "ui/ScreenTools.h"
#include "ui/ScreenWindow.h"

#include <QApplication>
#include <QPointer>

#include <cstdlib>

namespace vx {

std::string MainCaption() { return "Veltrax Cutlister " + VersionString(); }

bool HasDisplay()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
#endif
}

void ShutdownProgram()
{
    SaveExtraSpaceBalls();
    SaveProcessingSettings();
    // Unload every screen in the order the application lists them; these closes are the
    // program's own, so no screen runs its close-control shutdown.
    const QWidgetList windows = QApplication::topLevelWidgets();
    QList<QPointer<QWidget>> open;
    for (QWidget* w : windows)
        open.push_back(w);
    for (const QPointer<QWidget>& w : open) {
        if (!w)
            continue;
        if (auto* screen = qobject_cast<ScreenWindow*>(w.data()))
            screen->Unload();
        else
            w->close();
    }
    QCoreApplication::quit();
}

int RunWindowedProgram(int argc, char** argv)
{
    if (!HasDisplay()) {
        WriteStdErr("VXCLT: the windowed program needs a display, and none is available (DISPLAY, "
                    "WAYLAND_DISPLAY and QT_QPA_PLATFORM are not set). Start it on a desktop, or convert "
                    "from the command line (VXCLT /help).");
        return 1;
    }
    QApplication app(argc, argv);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, [] { SetSessionEnding(true); });
    InstallMessageBoxPresenter();
    LockWaitDialog::Install();
    int result = 0;
    {
        frmCLTErrorLog errorLog;
        errorLog.InstallAsViewer();
        // A damaged configuration is named once, with the way back, before anything reads it;
        // the program closes when the operator keeps it.
        if (ConfigurationReadyForScreens()) {
            LoadSettings();
            frmCLTMain mainMenu;
            mainMenu.setWindowTitle(QString::fromStdString(MainCaption()));
            mainMenu.Display();
            result = app.exec();
        } else {
            result = 1;
        }
    }
    SetMessagePresenter({});
    return result;
}

} // namespace vx
