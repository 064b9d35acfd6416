#include "render/surfaceview.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "runtime/fpu.h"

namespace metopt::render {

namespace {

constexpr double DegreesPerPixel = 0.5;
constexpr double WheelZoomStep = 1.15;
// The share of the picture's smaller side the box's unit takes at zoom 1: the box fits with room
// for its labels at every angle.
constexpr double UnitShare = 0.27;

// Sine and cosine of an angle in degrees by the x87 instructions, the same digits on every
// system.
double SinDegrees(double degrees) {
    return static_cast<double>(
        runtime::Sin(static_cast<long double>(degrees) * std::numbers::pi_v<long double> / 180));
}
double CosDegrees(double degrees) {
    return static_cast<double>(
        runtime::Cos(static_cast<long double>(degrees) * std::numbers::pi_v<long double> / 180));
}

double WrappedAzimuth(double azimuth) {
    const double turns = std::floor((azimuth + 180) / 360);
    return azimuth - turns * 360;
}

}  // namespace

TSurfaceView ViewAt(const TSurfaceView& view, double azimuth, double elevation) {
    TSurfaceView next = view;
    if (std::isfinite(azimuth))
        next.azimuth = WrappedAzimuth(azimuth);
    if (std::isfinite(elevation))
        next.elevation = std::clamp(elevation, MinElevation, MaxElevation);
    return next;
}

TSurfaceView RotatedView(const TSurfaceView& view, int dx, int dy) {
    return ViewAt(view, view.azimuth - dx * DegreesPerPixel, view.elevation + dy * DegreesPerPixel);
}

TSurfaceView ZoomedView(const TSurfaceView& view, int notches) {
    TSurfaceView next = view;
    // Step by step, held within the bounds at each, so that any count ends at a bound.
    for (int k = 0; k < notches && next.zoom < MaxZoom; ++k)
        next.zoom = std::min(next.zoom * WheelZoomStep, MaxZoom);
    for (int k = 0; k > notches && next.zoom > MinZoom; --k)
        next.zoom = std::max(next.zoom / WheelZoomStep, MinZoom);
    return next;
}

SurfaceProjection::SurfaceProjection(const TSurfaceView& view, int width, int height) {
    const double sa = SinDegrees(view.azimuth);
    const double ca = CosDegrees(view.azimuth);
    const double se = SinDegrees(view.elevation);
    const double ce = CosDegrees(view.elevation);
    right_[0] = -sa;
    right_[1] = ca;
    right_[2] = 0;
    up_[0] = -se * ca;
    up_[1] = -se * sa;
    up_[2] = ce;
    toViewer_[0] = ce * ca;
    toViewer_[1] = ce * sa;
    toViewer_[2] = se;
    scale_ = view.zoom * UnitShare * std::min(width, height);
    centreX_ = width / 2.0;
    centreY_ = height / 2.0;
}

TScreenPoint SurfaceProjection::Project(double u, double v, double w) const {
    const double across = u * right_[0] + v * right_[1];
    const double upward = u * up_[0] + v * up_[1] + w * up_[2];
    return {centreX_ + scale_ * across, centreY_ - scale_ * upward,
            u * toViewer_[0] + v * toViewer_[1] + w * toViewer_[2]};
}

}  // namespace metopt::render
