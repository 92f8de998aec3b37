#pragma once
// Long work reports progress through this interface: the console shows nothing extra,
// the windowed program shows a progress dialog.
#include <cstdint>
#include <string>

namespace vx {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void start(const std::string& /*what*/, int64_t /*total*/) {}
    // Returns false when the operator asked to stop.
    virtual bool update(int64_t /*position*/) { return true; }
    // True once the operator asked to stop (checked between steps, without redrawing).
    virtual bool cancelled() const { return false; }
    // After start: the work cannot stop part-way, so no Cancel button is offered.
    virtual void notCancellable() {}
    virtual void end() {}
};

// The progress reporter that does nothing; the default everywhere.
Progress& NoProgress();

// The one message after the operator stopped a read.
inline constexpr const char* kReadingCancelledMessage = "Reading was cancelled. Nothing was loaded.";

} // namespace vx
