#pragma once
// Checks of numbers typed into entry boxes; each returns a ready-made message naming the field.
#include <cstdint>
#include <string>

namespace vx {

// Accepts a present, numeric value above (limitAllowed: at or above) the limit. The value is
// set whenever the text is numeric; the message only when the value is refused. A whole
// number beyond 32 bits raises the overflow error.
bool CheckDoubleValue(const std::string& fieldName, const std::string& entered, double& value, double limit,
                      bool limitAllowed, std::string& message);
bool CheckLongValue(const std::string& fieldName, const std::string& entered, int32_t& value, int32_t limit,
                    bool limitAllowed, std::string& message);

} // namespace vx
