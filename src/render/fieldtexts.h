#pragma once
// The texts of the fields of the group "Графическая область" and their reading into numbers.
#include <cstdint>
#include <string>

#include "core/region.h"

namespace metopt::render {

struct GraphFieldTexts {
    std::string Xb = "-1.3", Xe = "1.3", Yb = "-1.3", Ye = "1.3";
    std::string Xc = "0.0", Yc = "0.0", Xs = "0.2", Ys = "0.2";
    std::string SgXs = "2", SgYs = "2";
};

// The region of the fields Xb, Xe, Yb, Ye, read with ParseNumber in that order.
core::TRegion ReadRegion(const GraphFieldTexts& fields);

// `target` := the text read with ParseNumber / ParseInteger; a text that cannot be read keeps the
// last good value and raises nothing.
void RefreshReal(long double& target, const std::string& text);
void RefreshCount(std::int32_t& target, const std::string& text);

}  // namespace metopt::render
