#include "config/Progress.h"

namespace vx {

Progress& NoProgress()
{
    static Progress none;
    return none;
}

} // namespace vx
