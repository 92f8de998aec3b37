#pragma once
// Helpers of the screen tests: the operator's close control, scripted file dialogs, user
// settings kept inside the sandbox and the convert screen on a fresh runtime folder.
#include "TestSupport.h"
#include "config/modCLTSettings.h"
#include "convert/frmCLTProcessPartsFile.h"
#include "ui/FileDialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>

#include <deque>
#include <string>

namespace vxtest {

// A named control of a screen; a missing one ends the test at once.
template <class T> T* Child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(name);
    if (!c)
        qFatal("no control %s", name);
    return c;
}

// Presses a named button as the operator would.
inline void Click(QWidget* w, const char* name) { Child<QPushButton>(w, name)->click(); }

// Closes a window as its own close control does (a close event that came from the system).
inline void CloseWithControlMenu(QWidget* window)
{
    QCloseEvent event;
    QSpontaneKeyEvent::setSpontaneous(&event);
    // notify keeps the spontaneous mark that sendEvent would clear.
    qApp->notify(window, &event);
    if (event.isAccepted()) {
        window->hide();
        if (window->testAttribute(Qt::WA_DeleteOnClose))
            window->deleteLater();
    }
}

// Answers the file dialogs with queued paths ("" = cancel) and records the requests.
class ScriptedFileDialogs {
public:
    ScriptedFileDialogs()
    {
        vx::SetFileDialogHook([this](const vx::FileDialogRequest& r) -> std::optional<QString> {
            requests.push_back(r);
            if (answers.empty())
                return std::nullopt;
            QString a = answers.front();
            answers.pop_front();
            return a.isEmpty() ? std::nullopt : std::optional<QString>(a);
        });
    }
    ~ScriptedFileDialogs() { vx::SetFileDialogHook({}); }
    void answer(const std::string& path) { answers.push_back(QString::fromStdString(path)); }
    std::deque<QString> answers;
    std::vector<vx::FileDialogRequest> requests;
};

// Keeps the user settings (remembered folders) inside a test folder.
inline void UseSettingsFolder(const std::string& folder)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(folder));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(folder));
}

// Lets deleteLater and queued work run.
inline void Settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// The convert screen on a fresh runtime folder (the setup SQL run on its configuration first)
// with scripted messages and file dialogs; DONE may delete it.
struct ConvertScreenFixture {
    RuntimeSandbox box;
    ScriptedPresenter presenter;
    ScriptedFileDialogs dialogs;
    QWidget menu;
    QPointer<vx::frmCLTProcessPartsFile> screen;

    explicit ConvertScreenFixture(const std::string& setup = "")
    {
        UseSettingsFolder(box.file("settings"));
        if (!setup.empty())
            box.execDef(setup);
        vx::LoadSettings();
        screen = new vx::frmCLTProcessPartsFile(&menu);
        screen->Display(true);
    }
    ~ConvertScreenFixture()
    {
        if (screen)
            screen->CommandLineShutdown();
        delete screen;
        Settle();
    }
};

} // namespace vxtest
