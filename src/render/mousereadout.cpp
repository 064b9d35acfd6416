#include "render/mousereadout.h"

#include <cstdint>

#include "render/coordinates.h"
#include "runtime/exceptions.h"
#include "runtime/numformat.h"

namespace metopt::render {

// Deliberate: see docs/behaviour.md, "Mouse readout".
MouseReadout MouseReadoutAt(const TPlot& plot, int X, int Y, int W, int H) {
    MouseReadout readout;
    int faults = 0;
    // Shown wherever the pointer is, extrapolated off the sampled pixels; a zero divisor gives
    // INF or NAN rather than an error box at every move of the mouse.
    readout.x = "x=" + runtime::FormatGeneral(SampledX(plot, X, faults));
    readout.y = "y=" + runtime::FormatGeneral(SampledY(plot, Y, faults));
    if (!IsSampledPixel(X, Y, W, H)) {
        // Deliberate: see docs/behaviour.md, "English runtime texts".
        readout.z = "Out of range";
        return readout;
    }
    try {
        readout.z = "z=" + runtime::FormatGeneral(ValueAtPixel(plot, X, Y));
    } catch (const runtime::Exception& e) {
        readout.z = "z=" + e.Message();
    }
    return readout;
}

}  // namespace metopt::render
