#pragma once
// The progress dialog of long reads and writes: a bar that moves and a Cancel button,
// so the window never looks frozen.
#include "config/Progress.h"

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
    void end() override;

private:
    QPointer<QWidget> m_parent;
    QProgressDialog* m_dialog = nullptr;
    int64_t m_total = 0;
    int m_scale = 1;
    int m_lastValue = -1;
};

} // namespace vx
