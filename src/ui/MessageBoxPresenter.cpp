#include "ui/MessageBoxPresenter.h"

#include "base/Messages.h"
#include "ui/ProgressDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>

#include <vector>

namespace vx {

namespace {

struct ButtonChoice {
    QMessageBox::StandardButton button;
    int answer;
};

std::vector<ButtonChoice> ButtonsOf(int style)
{
    switch (style & 7) {
    case vbOKCancel: return {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}};
    case vbAbortRetryIgnore:
        return {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
    case vbYesNoCancel: return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
    case vbYesNo: return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
    case vbYesNoToAll:
        // No last: the close control answers for this one question only.
        return {{QMessageBox::Yes, vbYes},
                {QMessageBox::YesToAll, vbYesToAll},
                {QMessageBox::NoToAll, vbNoToAll},
                {QMessageBox::No, vbNo}};
    case vbRetryCancel: return {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}};
    default: return {{QMessageBox::Ok, vbOK}};
    }
}

QMessageBox::Icon IconOf(int style)
{
    switch (style & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

int PresentMessageBox(const QString& prompt, int style, const QString& title, QWidget* parent)
{
    // A question asked during long work belongs to the window doing it, not to its
    // progress dialog, which stays hidden while the question is open.
    QWidget* owner = parent ? parent : QApplication::activeWindow();
    if (qobject_cast<QProgressDialog*>(owner))
        owner = owner->parentWidget();
    ProgressHiddenForQuestion progressHidden;
    QMessageBox box(owner);
    // An empty title shows the program's name, as message boxes always have a caption.
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("VXCLT") : title);
    box.setText(prompt);
    box.setIcon(IconOf(style));
    const std::vector<ButtonChoice> buttons = ButtonsOf(style);
    for (const ButtonChoice& b : buttons)
        box.addButton(b.button);
    size_t def = (style & vbDefaultButton3) ? 2 : (style & vbDefaultButton2) ? 1 : 0;
    box.setDefaultButton(buttons[std::min(def, buttons.size() - 1)].button);
    // The close control answers like the cautious button (Cancel or No) where there is one.
    box.setEscapeButton(box.button(buttons.back().button));
    box.setModal(true);
    // The hourglass must not hide the pointer while the operator answers.
    bool waited = QApplication::overrideCursor() != nullptr;
    if (waited)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (waited)
        QApplication::restoreOverrideCursor();
    QAbstractButton* clicked = box.clickedButton();
    for (const ButtonChoice& b : buttons)
        if (clicked == box.button(b.button))
            return b.answer;
    return DefaultAnswer(style);
}

void InstallMessageBoxPresenter()
{
    SetMessagePresenter([](const std::string& prompt, int style, const std::string& title) {
        return PresentMessageBox(QString::fromStdString(prompt), style, QString::fromStdString(title));
    });
}

WaitCursor::WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
WaitCursor::~WaitCursor() { QApplication::restoreOverrideCursor(); }

} // namespace vx
