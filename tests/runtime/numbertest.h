#pragma once
// What the number tests share: a fixture in the program's floating-point environment, the
// special values, and the name of a table row.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "runtime/fpu.h"

namespace metopt::runtime {

constexpr long double Inf = std::numeric_limits<long double>::infinity();
constexpr long double NaN = std::numeric_limits<long double>::quiet_NaN();

// Every number test starts in the program's floating-point environment.
class NumberTest : public ::testing::Test {
  protected:
    void SetUp() override { InitFpu(); }
};

// A table row is named by its name field.
template <class Row>
std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

}  // namespace metopt::runtime
