#pragma once
// A number written with as few significant digits as its use allows.
#include <functional>
#include <string>

namespace metopt::runtime {

// The shortest general form of v with '.' (1 to 21 significant digits) whose parsed value
// `accepts` takes; all the digits when none is taken.
std::string ShortestDecimal(long double v, const std::function<bool(long double)>& accepts);

}  // namespace metopt::runtime
