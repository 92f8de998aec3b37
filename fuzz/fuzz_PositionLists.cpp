// The scribe and space-ball list functions on arbitrary lists and lengths: the checks
// report through their outputs only, reversing twice gives the list back, the converted
// and cleaned lists hold only numbers, and the computed space-ball lists have 2 to 4
// entries of two decimals each.
#include "FuzzSupport.h"

#include "base/NumberText.h"
#include "convert/PositionLists.h"
#include "convert/modCLTScribes.h"
#include "convert/modCLTSpaceBalls.h"

#include <cmath>

namespace {

// True when every numeric entry times the factor stays a finite number.
bool ProductsFinite(const std::string& list, double factor)
{
    for (const std::string& entry : vx::SplitPositionList(list))
        if (auto v = vx::ParseNumber(entry); v && !std::isfinite(*v * factor))
            return false;
    return true;
}

void CheckAllNumeric(const std::string& list, const char* what)
{
    if (list.empty())
        return;
    for (const std::string& entry : vx::SplitPositionList(list))
        vxfuzz::Require(vx::IsNumeric(entry), std::string(what) + " holds a non-number: " + list);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    vxfuzz::ByteReader bytes(data, size);
    const uint8_t mode = bytes.Byte();
    // Lengths either as raw doubles (NaN, infinities, denormals) or as short decimal texts.
    double length = (mode & 1) ? bytes.Double() : vx::ParseNumber(bytes.Field()).value_or(0.0);
    double location = (mode & 2) ? bytes.Double() : vx::ParseNumber(bytes.Field()).value_or(0.0);
    std::array<std::string, 2> thresholds{bytes.Field(), bytes.Field()};
    const std::string list = bytes.Rest();

    bool error = false;
    std::string errorText;
    vx::CheckScribeList(list, error, errorText, length);
    vxfuzz::Require(error == !errorText.empty(), "scribe check flag and text disagree");
    vx::CheckSpaceBallList(list, error, errorText, length);
    vxfuzz::Require(error == !errorText.empty(), "space-ball check flag and text disagree");

    std::string reversed = vx::ReverseTheScribes(list);
    vxfuzz::Require(reversed.size() == list.size(), "reversing changed the list's size");
    vxfuzz::Require(vx::ReverseTheScribes(reversed) == list, "reversing twice changed the list");
    vx::CheckForRemoveEndScribe(list, length);
    vx::CheckForAddEndScribe(list, length);
    vx::MirrorScribes(list, length);
    bool wasReversed = (mode & 4) != 0;
    vx::ApplyScribeCriteria(list, length, (mode & 8) != 0, wasReversed);
    vx::RemoveZeros(list);
    vx::SumOfNumericEntries(list);

    const double factors[] = {25.4, 1 / 25.4, 1.0, 1 / 25.4};
    const double factor = factors[(mode >> 4) & 3];
    std::string converted = vx::ConvertScribeUnits(list, factor, (mode >> 6) & 3 ? 3 : 4);
    // An entry near the double range times 25.4 has no finite product; the list check
    // reports what it becomes.
    if (ProductsFinite(list, factor))
        CheckAllNumeric(converted, "ConvertScribeUnits");

    std::array<double, 2> lengths{};
    std::string thresholdError;
    if (vx::CheckExtraSpaceBalls(thresholds, lengths, thresholdError)) {
        vxfuzz::Require(lengths[1] >= lengths[0], "accepted thresholds out of order");
        std::string balls = vx::CalculateSpaceBalls(length, location, lengths);
        // FormatFixed cannot write two decimals of a value near the double range (it gives
        // "inf"); parts that long do not exist, so such lengths are left out of this check.
        if (!balls.empty() && std::fabs(length) < 1e306 && std::isfinite(location)) {
            auto entries = vx::SplitPositionList(balls);
            vxfuzz::Require(entries.size() >= 2 && entries.size() <= 4, "space-ball list of a wrong size: " + balls);
            CheckAllNumeric(balls, "CalculateSpaceBalls");
        }
    } else {
        vxfuzz::Require(!thresholdError.empty(), "refused thresholds without a message");
    }
    return 0;
}
