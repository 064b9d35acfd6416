#pragma once
// The coordinates, the scan, the graphics parameters and the kept samples back to their start.

namespace metopt::render {

// VisibleRegion, MapCols, MapRows, ZMin, ZMax, ZRangeValid, MinCol, MinRow and GraphParams back
// to their start values, the kept samples released (tests).
void ResetViewport();

}  // namespace metopt::render
