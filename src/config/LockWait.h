#pragma once
// Waits for a lock another program holds are shown at once: the windowed program shows
// what is waited for with a Cancel button, the console prints one line. The wait itself
// ends as before: the lock is got, or the time runs out (or the operator cancels) and the
// operation fails with its usual message.
#include <chrono>
#include <string>

struct sqlite3;

namespace vx {

// Shows the wait running now.
class LockWaitDisplay {
public:
    virtual ~LockWaitDisplay() = default;
    virtual void begin(const std::string& text) = 0;
    // Called between tries; false once the operator asked to stop waiting.
    virtual bool goOn() = 0;
    virtual void end() {}
};

// The display every wait reports to; nullptr (the default) keeps waits silent.
void SetLockWaitDisplay(LockWaitDisplay* display);
LockWaitDisplay* CurrentLockWaitDisplay();

// "Waiting for <subject> (in use by another program)"
std::string WaitingText(const std::string& subject);

// One wait for a lock, bounded by a timeout that starts at the first failed try.
class LockWait {
public:
    LockWait(std::string subject, int timeoutMs) : m_subject(std::move(subject)), m_timeoutMs(timeoutMs) {}
    ~LockWait() { finish(); }
    LockWait(const LockWait&) = delete;
    LockWait& operator=(const LockWait&) = delete;

    void setSubject(std::string subject) { m_subject = std::move(subject); }
    const std::string& subject() const { return m_subject; }
    void setTimeout(int ms) { m_timeoutMs = ms; }
    int timeout() const { return m_timeoutMs; }

    // After a failed try: shows the wait the first time, then pauses briefly; false (without
    // pausing) once the time has run out or the operator cancelled.
    bool tryAgain();
    // The lock was got or given up: the display closes and the next wait starts afresh.
    void finish()
    {
        if (m_waiting)
            End();
    }
    bool waiting() const { return m_waiting; }

private:
    void End();

    std::string m_subject;
    int m_timeoutMs;
    bool m_waiting = false;
    bool m_shown = false;
    std::chrono::steady_clock::time_point m_deadline;
};

// Makes SQLite's busy waits on db go through wait instead of a silent busy timeout.
void WaitVisiblyWhenBusy(sqlite3* db, LockWait& wait);

} // namespace vx
