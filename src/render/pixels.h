#pragma once
// Pixel positions worked out in 64 bits, and lines between them. A position beyond the int range
// lies far off any canvas either way, so it is clamped before it reaches the Canvas.
#include <algorithm>
#include <climits>

#include "platform/canvas.h"

namespace metopt::render {

inline int ToPixel(long long position) {
    return static_cast<int>(std::clamp<long long>(position, INT_MIN, INT_MAX));
}

// A line from (x1, y1) to (x2, y2) with the canvas's pen, end pixel not set.
inline void Line(platform::Canvas& canvas, long long x1, long long y1, long long x2, long long y2) {
    canvas.MoveTo(ToPixel(x1), ToPixel(y1));
    canvas.LineTo(ToPixel(x2), ToPixel(y2));
}

}  // namespace metopt::render
