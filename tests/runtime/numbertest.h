#pragma once
// What the number tests share: a fixture in the program's floating-point environment, the
// special values, the name of a table row, and how a row prints its text and its value.
#include <gtest/gtest.h>

#include <iomanip>
#include <limits>
#include <sstream>
#include <string>

#include "runtime/fpu.h"

namespace metopt::runtime {

constexpr long double Inf = std::numeric_limits<long double>::infinity();
constexpr long double NaN = std::numeric_limits<long double>::quiet_NaN();

// Every number test starts in the program's floating-point environment.
class NumberTest : public ::testing::Test {
  protected:
};

// A table row is named by its name field.
template <class Row>
std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

// A text quoted, with its control characters escaped.
inline std::string Quoted(const char* text) {
    return ::testing::PrintToString(std::string(text));
}

// A value with every digit a long double holds.
inline std::string Digits(long double value) {
    std::ostringstream out;
    out << std::setprecision(std::numeric_limits<long double>::max_digits10) << value;
    return out.str();
}

}  // namespace metopt::runtime
