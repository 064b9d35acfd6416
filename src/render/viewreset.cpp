#include "render/viewreset.h"

#include "core/region.h"
#include "render/coordinates.h"
#include "render/graphparams.h"
#include "render/sampling.h"
#include "render/valuescan.h"

namespace metopt::render {

void ResetViewport() {
    VisibleRegion = core::TRegion{};
    ZMin = 0;
    ZMax = 0;
    ZRangeValid = false;
    MinCol = 0;
    MinRow = 0;
    MapCols = 0;
    MapRows = 0;
    GraphParams = TGraphParams{};
    ReleaseKeptSamples();
}

}  // namespace metopt::render
