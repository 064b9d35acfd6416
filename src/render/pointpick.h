#pragma once
// The world point under a click on the picture, as the texts a user would type for it.
#include <optional>
#include <string>

#include "render/plot.h"

namespace metopt::render {

struct PickedPoint {
    std::string x;
    std::string y;
};

// The point of pixel (X, Y) of an area of W x H as the mouse readout gives it, each coordinate
// written with the fewest significant digits that still put it on the same pixel (as the trace
// places its points), with '.'; none off the sampled pixels or before the first map.
std::optional<PickedPoint> PointAtPixel(const TPlot& plot, int X, int Y, int W, int H);

}  // namespace metopt::render
