#include "platform/gifpalette.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <limits>
#include <unordered_map>

namespace metopt::platform {

namespace {

constexpr QRgb RgbMask = 0x00FFFFFFu;  // RGB32 pixels: the top byte holds no colour

std::size_t Area(const PixelBox& box) {
    return static_cast<std::size_t>(box.width) * static_cast<std::size_t>(box.height);
}

const QRgb* BoxRow(const QImage& picture, const PixelBox& box, int y) {
    return reinterpret_cast<const QRgb*>(picture.constScanLine(y)) + box.left;
}

using Planes = std::array<std::vector<GifByteType>, 3>;  // red, green, blue of each pixel

Planes SplitPlanes(const QImage& picture, const PixelBox& box) {
    Planes planes;
    for (auto& plane : planes) {
        plane.resize(Area(box));
    }
    std::size_t i = 0;
    for (int y = box.top; y < box.top + box.height; ++y) {
        const QRgb* row = BoxRow(picture, box, y);
        for (int x = 0; x < box.width; ++x, ++i) {
            planes[0][i] = static_cast<GifByteType>(qRed(row[x]));
            planes[1][i] = static_cast<GifByteType>(qGreen(row[x]));
            planes[2][i] = static_cast<GifByteType>(qBlue(row[x]));
        }
    }
    return planes;
}

int Mean(std::uint64_t sum, std::uint64_t count) {
    return static_cast<int>((sum + count / 2) / count);
}

// giflib's quantizer builds its table from colours cut to five bits a primary (white comes out
// as 248, 248, 248). Each entry becomes the mean of the pixels mapped to it instead.
std::vector<QRgb> MeanColours(const Planes& planes, const std::vector<std::uint8_t>& indices,
                              std::size_t tableSize) {
    struct Sum {
        std::array<std::uint64_t, 3> primary{};
        std::uint64_t count = 0;
    };
    std::vector<Sum> sums(MaxFrameColours);  // every index is a byte
    for (std::size_t i = 0; i < indices.size(); ++i) {
        Sum& sum = sums[indices[i]];
        for (std::size_t p = 0; p < planes.size(); ++p) {
            sum.primary[p] += planes[p][i];
        }
        ++sum.count;
    }
    const std::uint8_t highest = *std::max_element(indices.begin(), indices.end());
    std::vector<QRgb> colours(std::max(tableSize, std::size_t{highest} + 1), qRgb(0, 0, 0));
    for (std::size_t k = 0; k < colours.size(); ++k) {
        const Sum& sum = sums[k];
        if (sum.count > 0) {
            colours[k] = qRgb(Mean(sum.primary[0], sum.count), Mean(sum.primary[1], sum.count),
                              Mean(sum.primary[2], sum.count));
        }
    }
    return colours;
}

}  // namespace

bool IndexExactly(const QImage& picture, const PixelBox& box, IndexedPixels& out) {
    std::unordered_map<QRgb, std::uint8_t> lookup;
    lookup.reserve(2 * MaxFrameColours);
    out.colours.clear();
    out.indices.resize(Area(box));
    std::size_t i = 0;
    QRgb last = ~RgbMask;  // no masked pixel has this value
    std::uint8_t lastIndex = 0;
    for (int y = box.top; y < box.top + box.height; ++y) {
        const QRgb* row = BoxRow(picture, box, y);
        for (int x = 0; x < box.width; ++x) {
            const QRgb colour = row[x] & RgbMask;
            if (colour != last) {
                // The index a colour beyond the last one would get is never used: we stop there.
                const auto [entry, added] =
                    lookup.try_emplace(colour, static_cast<std::uint8_t>(out.colours.size()));
                if (added && out.colours.size() == MaxFrameColours) {
                    return false;
                }
                if (added) {
                    out.colours.push_back(colour | ~RgbMask);
                }
                last = colour;
                lastIndex = entry->second;
            }
            out.indices[i++] = lastIndex;
        }
    }
    return true;
}

bool IndexReduced(const QImage& picture, const PixelBox& box, IndexedPixels& out) {
    if (Area(box) > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return false;  // giflib counts the pixels in an int
    }
    Planes planes = SplitPlanes(picture, box);
    std::vector<GifColorType> table(MaxFrameColours, GifColorType{0, 0, 0});
    int count = static_cast<int>(MaxFrameColours);
    out.indices.resize(Area(box));
    if (GifQuantizeBuffer(static_cast<unsigned>(box.width), static_cast<unsigned>(box.height),
                          &count, planes[0].data(), planes[1].data(), planes[2].data(),
                          out.indices.data(), table.data()) == GIF_ERROR) {
        return false;
    }
    out.colours = MeanColours(planes, out.indices, static_cast<std::size_t>(count));
    return true;
}

}  // namespace metopt::platform
