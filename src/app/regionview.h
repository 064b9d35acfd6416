#pragma once
// New views of the region for the mouse and the menu "Работа": zoomed about a pixel, moved by a
// drag, fitted to the last paths, and the views before them. Each is the region's fields as a user
// would type them: the bounds with the fewest digits that keep them within an eighth of a pixel,
// and the steps of the numbers rounded to 1, 2 or 5 times a power of ten, so that about as many
// numbers show as before.
#include <deque>
#include <optional>
#include <span>
#include <string>

#include "app/settings.h"
#include "core/minimizer.h"
#include "render/plot.h"

namespace metopt::app {

struct TRegionFields {
    std::string xb, xe, yb, ye, xs, ys;
    bool operator==(const TRegionFields&) const = default;
};
TRegionFields RegionFieldsOf(const TSettings& settings);
void SetRegionFields(TSettings& settings, const TRegionFields& fields);

// One notch of the mouse wheel.
constexpr double WheelZoomFactor = 1.25;

// The views from the picture's region (the plot's, after a map of an area of W x H); none before
// a map. A factor above 1 zooms in about pixel (X, Y), which keeps its point; a drag by (dx, dy)
// pixels moves the picture's content with the pointer.
std::optional<TRegionFields> ZoomedRegion(const TSettings& settings, const render::TPlot& plot,
                                          int X, int Y, int W, int H, double factor);
std::optional<TRegionFields> MovedRegion(const TSettings& settings, const render::TPlot& plot,
                                         int dx, int dy, int W, int H);
// The smallest region, a tenth of the paths' extent wider on each side and square in scale for
// an area of W x H, that holds every start and trace point of the paths; none without a finite
// point.
std::optional<TRegionFields> FittedRegion(const TSettings& settings,
                                          std::span<const core::TDescent* const> paths, int W,
                                          int H);

// The last views left behind, the newest last.
class TRegionHistory {
  public:
    static constexpr std::size_t Depth = 20;
    void Push(TRegionFields fields);
    std::optional<TRegionFields> Pop();
    bool Empty() const { return views_.empty(); }

  private:
    std::deque<TRegionFields> views_;
};

}  // namespace metopt::app
