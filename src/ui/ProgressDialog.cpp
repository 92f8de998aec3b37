#include "ui/ProgressDialog.h"

#include <QApplication>
#include <QProgressDialog>

#include <limits>

namespace vx {

ProgressDialog::~ProgressDialog() { end(); }

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
    m_dialog->setMinimumDuration(400);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setValue(0);
    m_lastValue = 0;
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
    return !m_dialog->wasCanceled();
}

void ProgressDialog::end()
{
    if (!m_dialog)
        return;
    m_dialog->close();
    delete m_dialog;
    m_dialog = nullptr;
}

} // namespace vx
