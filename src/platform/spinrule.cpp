#include "platform/spinrule.h"

#include <algorithm>
#include <limits>

#include "runtime/exceptions.h"
#include "runtime/numformat.h"
#include "runtime/numparse.h"

namespace metopt::platform {

// Deliberate: see docs/behaviour.md, "Spin edit values".
std::int32_t SpinEditValue(std::string_view text, std::int32_t minValue,
                           [[maybe_unused]] std::int32_t maxValue) {
    try {
        return runtime::ParseInteger(text);
    } catch (const runtime::EConvertError&) {
        return minValue;
    }
}

std::int32_t SpinEditClamp(std::int64_t value, std::int32_t minValue, std::int32_t maxValue) {
    if (minValue != maxValue) {
        if (value < minValue)
            return minValue;
        if (value > maxValue)
            return maxValue;
        return static_cast<std::int32_t>(value);
    }
    // No limits: only what a 32-bit value can hold.
    constexpr std::int64_t low = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(value, low, high));
}

std::string SpinEditText(std::int64_t value, std::int32_t minValue, std::int32_t maxValue) {
    return runtime::FormatInteger(SpinEditClamp(value, minValue, maxValue));
}

}  // namespace metopt::platform
