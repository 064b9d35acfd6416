// ParseInteger on any text: either the value of the text's decimal or hexadecimal reading, as an
// independent reading below finds it, or EConvertError with the whole text in its message.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "runtime/exceptions.h"
#include "runtime/numparse.h"

using namespace metopt::runtime;
using metopt::fuzz::Broken;
using metopt::fuzz::Expect;
using metopt::fuzz::HexValue;
using metopt::fuzz::IsDecimalDigit;
using metopt::fuzz::Printable;

namespace {

std::string_view WithoutLeadingZeros(std::string_view digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view{} : digits.substr(first);
}

// The reading of an integer text: leading spaces, then either a sign and decimal digits in the
// 32-bit range, or (no sign) '$', 'x', 'X', "0x" or "0X" and up to 32 bits of hexadecimal digits,
// which give the signed 32-bit pattern. nullopt for anything else.
std::optional<std::int32_t> Reading(std::string_view text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return std::nullopt;
    text.remove_prefix(start);

    std::optional<std::string_view> hex;
    if (text.starts_with("0x") || text.starts_with("0X"))
        hex = text.substr(2);
    else if (text[0] == '$' || text[0] == 'x' || text[0] == 'X')
        hex = text.substr(1);
    if (hex) {
        if (hex->empty())
            return std::nullopt;
        for (char c : *hex) {
            if (HexValue(c) < 0)
                return std::nullopt;
        }
        const std::string_view significant = WithoutLeadingZeros(*hex);
        if (significant.size() > 8)
            return std::nullopt;
        std::uint32_t value = 0;
        for (char c : significant)
            value = value * 16 + static_cast<std::uint32_t>(HexValue(c));
        return static_cast<std::int32_t>(value);
    }

    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    for (char c : text) {
        if (!IsDecimalDigit(c))
            return std::nullopt;
    }
    // Equal lengths without leading zeros compare as numbers when compared as texts.
    const std::string_view significant = WithoutLeadingZeros(text);
    const std::string_view limit = negative ? "2147483648" : "2147483647";
    if (significant.size() > limit.size() ||
        (significant.size() == limit.size() && significant > limit))
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : significant)
        value = value * 10 + (c - '0');
    return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int32_t> expected = Reading(text);
    try {
        const std::int32_t value = ParseInteger(text);
        Expect(expected.has_value(), "'" + Printable(text) + "' accepted as " +
                                         std::to_string(value) + ", not an integer");
        Expect(value == *expected, "'" + Printable(text) + "' gave " + std::to_string(value) +
                                       " instead of " + std::to_string(*expected));
    } catch (const EConvertError& e) {
        Expect(!expected.has_value(), "'" + Printable(text) + "' rejected, should give " +
                                          std::to_string(expected.value_or(0)));
        Expect(e.Message() == "'" + text + "' is not a valid integer value",
               "message for '" + Printable(text) + "': " + Printable(e.Message()));
    } catch (const Exception& e) {
        Broken("'" + Printable(text) + "' raised " + e.Message());
    }
    return 0;
}
