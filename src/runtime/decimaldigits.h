#pragma once
// Decimal digits as number formatting and parsing both read them: the digit characters and the
// power of ten each place stands for.

namespace metopt::runtime {

// True for the ten characters '0' to '9' only, whatever the locale.
constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// 10^n (0 <= n <= 4932) correctly rounded to extended precision.
long double PowerOfTen(int n);

}  // namespace metopt::runtime
