#pragma once
// The coordinate readout shown while the mouse moves over the picture.
#include <string>

#include "render/plot.h"

namespace metopt::render {

// The mouse readout texts for the pointer at (X, Y) over an area of W x H. Never raises: a
// coordinate that cannot be computed shows as INF or NAN, and a value that cannot be computed
// shows the error's message after "z=".
struct MouseReadout {
    std::string x;  // "x=..."
    std::string y;  // "y=..."
    std::string z;  // "z=..." or "Out of range"
};
MouseReadout MouseReadoutAt(const TPlot& plot, int X, int Y, int W, int H);

}  // namespace metopt::render
