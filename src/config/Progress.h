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
    virtual void end() {}
};

// The progress reporter that does nothing; the default everywhere.
Progress& NoProgress();

} // namespace vx
