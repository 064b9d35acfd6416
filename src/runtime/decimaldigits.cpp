#include "runtime/decimaldigits.h"

#include <cstdlib>
#include <string>

namespace metopt::runtime {

namespace {

// Powers of ten up to 10^27 are exact in the 64-bit significand (5^27 < 2^64).
constexpr int ExactPowersOfTen = 27;

}  // namespace

long double PowerOfTen(int n) {
    if (n <= ExactPowersOfTen) {
        long double p = 1.0L;
        for (int i = 0; i < n; ++i)
            p *= 10.0L;
        return p;
    }
    const std::string text = "1e" + std::to_string(n);
    return std::strtold(text.c_str(), nullptr);
}

}  // namespace metopt::runtime
