#include "render/startmarker.h"

#include "render/pixels.h"

namespace metopt::render {

namespace {

constexpr std::int32_t White = 0xFFFFFF;

// The pixels whose squared distance d2 from the centre has inner2 < d2 <= outer2.
void Annulus(platform::Canvas& canvas, long long column, long long row, int inner, int outer,
             std::int32_t color) {
    for (int dy = -outer; dy <= outer; ++dy) {
        for (int dx = -outer; dx <= outer; ++dx) {
            const int d2 = dx * dx + dy * dy;
            if (d2 > inner * inner && d2 <= outer * outer)
                canvas.SetPixel(ToPixel(column + dx), ToPixel(row + dy), color);
        }
    }
}

}  // namespace

void DrawStartRing(platform::Canvas& canvas, long long column, long long row, std::int32_t color,
                   bool edge) {
    if (edge)
        Annulus(canvas, column, row, 4, 8, White);
    Annulus(canvas, column, row, 5, 7, color);
}

}  // namespace metopt::render
