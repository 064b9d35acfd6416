#pragma once
// The colours of a rectangle of an RGB32 picture as one GIF frame stores them: one index per
// pixel and a table of at most 256 colours. Used by the GIF writer.
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace metopt::platform {

// The most colours one frame's table holds.
constexpr std::size_t MaxFrameColours = 256;

// A rectangle of a picture, inside it.
struct PixelBox {
    int left;
    int top;
    int width;
    int height;
};

// One index per pixel of a box, row by row, and the colours (0xFFRRGGBB) they stand for.
struct IndexedPixels {
    std::vector<std::uint8_t> indices;
    std::vector<QRgb> colours;
};

// Indexes the box with its own colours, exactly, in order of first appearance. False when the box
// holds more than MaxFrameColours colours.
bool IndexExactly(const QImage& picture, const PixelBox& box, IndexedPixels& out);

// Maps the box to at most MaxFrameColours colours by median cut, each colour the mean of the
// pixels it stands for. False when giflib cannot (no memory, or 2^31 pixels or more).
bool IndexReduced(const QImage& picture, const PixelBox& box, IndexedPixels& out);

}  // namespace metopt::platform
