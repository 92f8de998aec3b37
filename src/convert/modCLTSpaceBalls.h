#pragma once
// Space-ball lists: computed positions of the space balls along a part, and the two
// length thresholds from which a part gets 3 or 4 balls instead of 2.
#include "convert/PositionLists.h"

#include <array>
#include <string>

namespace vx {

// The length an empty threshold stands for: never reached.
inline constexpr double kNoExtraSpaceBallLength = 1000000.0;

// The list check of the "Check Space Balls" button.
void CheckSpaceBallList(const std::string& list, bool& errorFlag, std::string& errorText, double partLength);
// The absolute space-ball positions of a list, with the list check's message when it is wrong.
AbsolutePositions SpaceBallPositions(const std::string& list, double partLength);

// Checks and normalises the two thresholds (texts in and out; lengths out). False with
// the error text on the first refused value.
bool CheckExtraSpaceBalls(std::array<std::string, 2>& texts, std::array<double, 2>& lengths, std::string& errorText);

// The list for a part of the given length with its first and last ball at location from
// the ends: two balls, or three/four from the thresholds on; "" when there is no room.
std::string CalculateSpaceBalls(double partLength, double location, const std::array<double, 2>& lengths);

} // namespace vx
