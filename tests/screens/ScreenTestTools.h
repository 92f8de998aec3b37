#pragma once
// Helpers of the screen tests: the operator's close control, scripted file dialogs, user
// settings kept inside the sandbox and any screen on a fresh runtime folder.
#include "TestSupport.h"
#include "base/Messages.h"
#include "base/ProgramState.h"
#include "config/modCLTSettings.h"
#include "convert/frmCLTProcessPartsFile.h"
#include "ui/BoundGrid.h"
#include "ui/FileDialogs.h"
#include "ui/MessageBoxPresenter.h"

#include <QtTest/qtestspontaneevent.h>
#include <QtTest>
#include <QtWidgets>

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

// Shows each message in a real message box that no window owns (as on a desktop where no
// window has the focus) and answers it with the next key of keys, Return beyond them.
struct KeyedMessageBoxes {
    std::string keys;
    QStringList prompts;
    KeyedMessageBoxes()
    {
        vx::SetMessagePresenter([this](const std::string& prompt, int style, const std::string& title) {
            char key = prompts.size() < keys.size() ? keys[prompts.size()] : '\r';
            prompts << QString::fromStdString(prompt);
            QTimer::singleShot(0, [key] { QTest::keyClick(QApplication::activeModalWidget(), key); });
            QApplication::setActiveWindow(nullptr);
            return vx::PresentMessageBox(prompts.last(), style, QString::fromStdString(title));
        });
    }
    ~KeyedMessageBoxes() { vx::SetMessagePresenter({}); }
};

// Keeps the user settings (remembered folders) inside a test folder.
inline void UseSettingsFolder(const std::string& folder)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(folder));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(folder));
}

// The text of a PDF as pdftotext lays it out ("" when it cannot be read).
inline QString PdfText(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    // Compatibility form: a typeset ligature ("fi") reads as its letters.
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

// Lets deleteLater and queued work run.
inline void Settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// A screen over a stand-in main menu on a fresh runtime folder (the setup SQL run on its
// configuration first), with scripted messages and file dialogs; DONE may delete it.
template <class Screen> struct ScreenFixture {
    RuntimeSandbox box;
    ScriptedPresenter presenter;
    ScriptedFileDialogs dialogs;
    QWidget menu;
    QPointer<Screen> screen;

    explicit ScreenFixture(const std::string& setup = "")
    {
        UseSettingsFolder(box.file("settings"));
        if (!setup.empty())
            box.execDef(setup);
        vx::LoadSettings();
        screen = new Screen(&menu);
        if constexpr (requires { screen->Display(true); })
            screen->Display(true);
        else
            screen->Display();
    }
    ~ScreenFixture()
    {
        if constexpr (requires { screen->CommandLineShutdown(); })
            if (screen)
                screen->CommandLineShutdown();
        delete screen;
        Settle();
    }
    std::string lastPrompt() const { return presenter.prompts.empty() ? "" : presenter.prompts.back().text; }
    std::string def(const std::string& sql) const { return QueryScalar(box.defDatabase(), sql); }
    std::string setting(const std::string& name) const
    {
        return def("SELECT SettingValue FROM tblSettings WHERE SettingName = '" + name + "'");
    }
};
using ConvertScreenFixture = ScreenFixture<vx::frmCLTProcessPartsFile>;

} // namespace vxtest
