#include "render/graphparams.h"

#include "runtime/numparse.h"

namespace metopt::render {

namespace {

std::int32_t Narrow(std::int64_t n) {
    return static_cast<std::int32_t>(n);
}

// Deliberate: see docs/behaviour.md, "Lenient numbers".
void ReadReals(const GraphFieldTexts& fields, TGraphParams& params) {
    params.Xb = runtime::ParseNumber(fields.Xb);
    params.Yb = runtime::ParseNumber(fields.Yb);
    params.Xe = runtime::ParseNumber(fields.Xe);
    params.Ye = runtime::ParseNumber(fields.Ye);
    params.Xc = runtime::ParseNumber(fields.Xc);
    params.Yc = runtime::ParseNumber(fields.Yc);
    params.Xs = runtime::ParseNumber(fields.Xs);
    params.Ys = runtime::ParseNumber(fields.Ys);
}

// The plotting rectangle of an area at (left, top) of W x H: the sampled columns and rows, the
// right and bottom edges excluded.
void SetRectangle(TGraphParams& params, int left, int top, int W, int H) {
    const std::int64_t l = std::int64_t{left} + 1;
    const std::int64_t t = std::int64_t{top} + 1;
    params.Left = Narrow(l);
    params.Top = Narrow(t);
    params.Right = Narrow(l + (std::int64_t{W} - 1) - 1);
    params.Bottom = Narrow(t + (std::int64_t{H} - 1) - 1);
}

}  // namespace

void ReadGraphParams(TGraphParams& params, const GraphFieldTexts& fields, int left, int top, int W,
                     int H) {
    ReadReals(fields, params);
    // Both counts are read before either is stored, so a bad one leaves both as they were.
    // Deliberate: see docs/behaviour.md, "Strict counts".
    const std::int32_t sgXs = runtime::ParseInteger(fields.SgXs);
    const std::int32_t sgYs = runtime::ParseInteger(fields.SgYs);
    params.SgXs = sgXs;
    params.SgYs = sgYs;
    SetRectangle(params, left, top, W, H);
}

// Deliberate: see docs/behaviour.md, "Repaint never fails".
void RefreshGraphParams(TGraphParams& p, const GraphFieldTexts& fields, int left, int top, int W,
                        int H) {
    RefreshReal(p.Xb, fields.Xb);
    RefreshReal(p.Yb, fields.Yb);
    RefreshReal(p.Xe, fields.Xe);
    RefreshReal(p.Ye, fields.Ye);
    RefreshReal(p.Xc, fields.Xc);
    RefreshReal(p.Yc, fields.Yc);
    RefreshReal(p.Xs, fields.Xs);
    RefreshReal(p.Ys, fields.Ys);
    RefreshCount(p.SgXs, fields.SgXs);
    RefreshCount(p.SgYs, fields.SgYs);
    SetRectangle(p, left, top, W, H);
}

}  // namespace metopt::render
