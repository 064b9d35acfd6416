#pragma once
// The graphics parameters: the region, the centre, the steps and the counts of the grid, and the
// plotting rectangle, read from the fields.
#include <cstdint>

#include "render/fieldtexts.h"

namespace metopt::render {

struct TGraphParams {
    long double Xb = 0, Yb = 0, Xe = 0, Ye = 0;
    long double Xc = 0, Yc = 0, Xs = 0, Ys = 0;
    std::int32_t SgXs = 0, SgYs = 0;
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};
// Fills `params`; the area is at (left, top) with size W x H. Raises EConvertError for a count
// field that is not an integer (the reals read before it keep their new values).
void ReadGraphParams(TGraphParams& params, const GraphFieldTexts& fields, int left, int top, int W,
                     int H);
// The same, but a count field that is not an integer keeps the last good counts and raises
// nothing (the refresh every repaint performs).
void RefreshGraphParams(TGraphParams& params, const GraphFieldTexts& fields, int left, int top,
                        int W, int H);

}  // namespace metopt::render
