#include "runtime/shortestdecimal.h"

#include <charconv>

#include "runtime/numparse.h"

namespace metopt::runtime {

std::string ShortestDecimal(long double v, const std::function<bool(long double)>& accepts) {
    char text[64];
    for (int digits = 1; digits <= 21; ++digits) {
        const auto end =
            std::to_chars(text, text + sizeof text, v, std::chars_format::general, digits);
        const std::string candidate(text, end.ptr);
        if (accepts(ParseNumber(candidate)))
            return candidate;
    }
    const auto end = std::to_chars(text, text + sizeof text, v);
    return std::string(text, end.ptr);
}

}  // namespace metopt::runtime
