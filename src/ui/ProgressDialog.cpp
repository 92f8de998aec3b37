#include "ui/ProgressDialog.h"

#include <QApplication>
#include <QProgressDialog>

#include <limits>

namespace vx {

namespace {
// Work that ends sooner shows no dialog at all.
constexpr int kShowAfterMs = 400;
ProgressDialog* g_running = nullptr;
} // namespace

ProgressDialog::~ProgressDialog() { end(); }

ProgressDialog* ProgressDialog::Running() { return g_running; }

void ProgressDialog::start(const std::string& what, int64_t total)
{
    end();
    m_total = total > 0 ? total : 0;
    // QProgressDialog counts in int; larger totals are scaled down.
    m_scale = 1;
    while (m_total / m_scale > std::numeric_limits<int>::max() / 2)
        m_scale *= 10;
    m_dialog = new QProgressDialog(QString::fromStdString(what), QObject::tr("Cancel"), 0,
                                   static_cast<int>(m_total / m_scale), m_parent);
    m_dialog->setWindowTitle(QStringLiteral("VXCLT"));
    m_dialog->setWindowModality(Qt::WindowModal);
    // The dialog is shown by update() only, never by its own timer: that timer would show
    // it in the middle of a question asked during the work, on top of the question.
    m_dialog->setMinimumDuration(std::numeric_limits<int>::max());
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setValue(0);
    m_lastValue = 0;
    m_questionsOpen = 0;
    m_quiet.start();
    g_running = this;
}

bool ProgressDialog::update(int64_t position)
{
    if (!m_dialog)
        return true;
    int value = static_cast<int>(std::min(position, m_total) / m_scale);
    // Repainting for every row would cost more than the work; a step of 1/200 is smooth enough.
    int step = std::max(1, m_dialog->maximum() / 200);
    if (value - m_lastValue >= step || value == m_dialog->maximum()) {
        m_dialog->setValue(value);
        m_lastValue = value;
    }
    if (m_questionsOpen == 0 && !m_dialog->isVisible() && !m_dialog->wasCanceled() && m_quiet.elapsed() >= kShowAfterMs)
        m_dialog->show();
    if (m_dialog->isVisible())
        QCoreApplication::processEvents(); // the Cancel button
    return !m_dialog->wasCanceled();
}

bool ProgressDialog::cancelled() const { return m_dialog && m_dialog->wasCanceled(); }

void ProgressDialog::notCancellable()
{
    if (m_dialog)
        m_dialog->setCancelButton(nullptr);
}

void ProgressDialog::HideForQuestion()
{
    ++m_questionsOpen;
    if (m_dialog)
        m_dialog->hide();
}

void ProgressDialog::QuestionAnswered()
{
    if (m_questionsOpen > 0)
        --m_questionsOpen;
    m_quiet.start();
}

void ProgressDialog::end()
{
    if (g_running == this)
        g_running = nullptr;
    if (!m_dialog)
        return;
    m_dialog->close();
    delete m_dialog;
    m_dialog = nullptr;
}

ProgressHiddenForQuestion::ProgressHiddenForQuestion() : m_dialog(ProgressDialog::Running())
{
    if (m_dialog)
        m_dialog->HideForQuestion();
}

ProgressHiddenForQuestion::~ProgressHiddenForQuestion()
{
    // The work may have ended while the question was open.
    if (m_dialog && ProgressDialog::Running() == m_dialog)
        m_dialog->QuestionAnswered();
}

} // namespace vx
