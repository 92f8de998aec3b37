#include "ui/LockWaitDialog.h"

#include <QApplication>
#include <QProgressDialog>

namespace vx {

LockWaitDialog::~LockWaitDialog()
{
    if (CurrentLockWaitDisplay() == this)
        SetLockWaitDisplay(nullptr);
    delete m_dialog;
}

void LockWaitDialog::Install()
{
    static LockWaitDialog display;
    SetLockWaitDisplay(&display);
}

void LockWaitDialog::begin(const std::string& text)
{
    if (m_depth++ > 0 && m_dialog) {
        m_dialog->setLabelText(QString::fromStdString(text));
        return;
    }
    // The owner of the lock, not this program, decides how long this takes: a bar that
    // only says "busy", and the program's windows take no input meanwhile, since the work
    // that waits is half done.
    m_progressHidden.emplace();
    m_dialog =
        new QProgressDialog(QString::fromStdString(text), QObject::tr("Cancel"), 0, 0, QApplication::activeWindow());
    m_dialog->setWindowTitle(QStringLiteral("VXCLT"));
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setMinimumDuration(0);
    m_dialog->show();
    QCoreApplication::processEvents();
}

bool LockWaitDialog::goOn()
{
    if (!m_dialog)
        return true;
    QCoreApplication::processEvents();
    return !m_dialog->wasCanceled();
}

void LockWaitDialog::end()
{
    if (m_depth > 0 && --m_depth > 0)
        return;
    delete m_dialog;
    m_dialog = nullptr;
    m_progressHidden.reset();
}

} // namespace vx
