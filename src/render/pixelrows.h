#pragma once
// Pixel writes into a canvas from the threads of a row pass, and the rows such a pass drew ahead
// put back when it stops or fails.
#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/canvas.h"
#include "render/rowteam.h"

namespace metopt::render {

// Pixel writes into a canvas from several threads at once: each thread writes its own rows. Made
// on the calling thread, which makes the canvas's picture its own first. Writes outside the
// canvas are ignored, as Canvas::SetPixel ignores them.
class PixelRows {
  public:
    explicit PixelRows(platform::Canvas& canvas);
    // Inline: the fill writes every pixel through it.
    void Set(int x, int y, std::int32_t color) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_)
            return;
        reinterpret_cast<QRgb*>(bits_ + y * bytesPerLine_)[x] = platform::ToQRgb(color);
    }

  private:
    unsigned char* bits_ = nullptr;
    std::ptrdiff_t bytesPerLine_ = 0;
    int width_ = 0;
    int height_ = 0;
};

// The colour a pixel (col, row) had before a pass drew it.
using ColorBefore = std::function<std::int32_t(std::int32_t col, std::int32_t row)>;

// RunRowPass for a pass that draws columns 1..cols of its rows through `pixels`. When it stops
// before a row or raises, and `threads` > 1, the rows after the last one it visited, which other
// threads may have drawn ahead, get `before`'s colours back, as a pass done row by row leaves
// them; then it returns or raises as RunRowPass does.
std::int32_t RunDrawingPass(std::int32_t rows, unsigned threads, const RowPass& pass,
                            const PixelRows& pixels, std::int32_t cols, const ColorBefore& before);

}  // namespace metopt::render
