#pragma once
// The progress dialog of long reads and writes: a bar that moves and a Cancel button,
// so the window never looks frozen.
#include "config/Progress.h"

#include <QElapsedTimer>
#include <QPointer>

class QProgressDialog;
class QWidget;

namespace vx {

class ProgressDialog : public Progress {
public:
    explicit ProgressDialog(QWidget* parent) : m_parent(parent) {}
    ~ProgressDialog() override;
    void start(const std::string& what, int64_t total) override;
    bool update(int64_t position) override;
    bool cancelled() const override;
    void notCancellable() override;
    void end() override;

    // The dialog of the work running now (nullptr when none): a question asked meanwhile
    // hides it, so that it never covers the question.
    static ProgressDialog* Running();
    void HideForQuestion();
    // Shows the dialog again once the work has gone on a while without a question.
    void QuestionAnswered();

private:
    QPointer<QWidget> m_parent;
    QProgressDialog* m_dialog = nullptr;
    QElapsedTimer m_quiet; // time since the work started or a question was answered
    int m_questionsOpen = 0;
    int64_t m_total = 0;
    int m_scale = 1;
    int m_lastValue = -1;
};

// Hides the running progress dialog while it lives (a question is open).
class ProgressHiddenForQuestion {
public:
    ProgressHiddenForQuestion();
    ~ProgressHiddenForQuestion();
    ProgressHiddenForQuestion(const ProgressHiddenForQuestion&) = delete;
    ProgressHiddenForQuestion& operator=(const ProgressHiddenForQuestion&) = delete;

private:
    ProgressDialog* m_dialog;
};

} // namespace vx
