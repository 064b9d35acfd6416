#pragma once
// Reading pictures back in tests.
#include <cstdint>
#include <set>
#include <utility>

#include "platform/canvas.h"

namespace metopt::testsupport {

using PixelSet = std::set<std::pair<int, int>>;

// Every (x, y) of the canvas that holds the colour.
inline PixelSet PixelsOf(const platform::Canvas& canvas, std::int32_t color) {
    PixelSet pixels;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (canvas.GetPixel(x, y) == color)
                pixels.insert({x, y});
        }
    }
    return pixels;
}

}  // namespace metopt::testsupport
