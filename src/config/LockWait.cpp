#include "config/LockWait.h"

#include <sqlite3.h>

#include <thread>

namespace vx {

namespace {
LockWaitDisplay* g_display = nullptr;
// Short enough that the lock is taken soon after it is free and Cancel answers at once.
constexpr auto kPause = std::chrono::milliseconds(20);

int OnBusy(void* wait, int /*count*/) { return static_cast<LockWait*>(wait)->tryAgain() ? 1 : 0; }
} // namespace

void SetLockWaitDisplay(LockWaitDisplay* display) { g_display = display; }
LockWaitDisplay* CurrentLockWaitDisplay() { return g_display; }

std::string WaitingText(const std::string& subject)
{
    return "Waiting for " + subject + " (in use by another program)";
}

bool LockWait::tryAgain()
{
    const auto now = std::chrono::steady_clock::now();
    if (!m_waiting) {
        m_waiting = true;
        m_deadline = now + std::chrono::milliseconds(m_timeoutMs);
        if (g_display && m_timeoutMs > 0) {
            m_shown = true;
            g_display->begin(WaitingText(m_subject));
        }
    }
    if (now >= m_deadline || (m_shown && !g_display->goOn()))
        return false;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kPause, m_deadline - now));
    return true;
}

void LockWait::End()
{
    m_waiting = false;
    if (m_shown && g_display)
        g_display->end();
    m_shown = false;
}

void WaitVisiblyWhenBusy(sqlite3* db, LockWait& wait) { sqlite3_busy_handler(db, OnBusy, &wait); }

} // namespace vx
