#pragma once
// The value rule of a spin edit: how its text reads as a value and how a value set is shown.
#include <cstdint>
#include <string>
#include <string_view>

namespace metopt::platform {

// ParseInteger(text), or minValue when the text is not an integer. The value so read is not
// limited to maxValue.
std::int32_t SpinEditValue(std::string_view text, std::int32_t minValue, std::int32_t maxValue);
// The text a spin edit shows after its value is set: SpinEditClamp's value in FormatInteger form.
std::string SpinEditText(std::int64_t value, std::int32_t minValue, std::int32_t maxValue);
// value limited to minValue..maxValue, or, when the two are equal, only to the 32-bit range.
std::int32_t SpinEditClamp(std::int64_t value, std::int32_t minValue, std::int32_t maxValue);

}  // namespace metopt::platform
