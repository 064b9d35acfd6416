#pragma once
// The view of the surface: where it is looked at from (azimuth and elevation, in degrees) and how
// near, and the parallel projection of the surface's box onto a picture. The box is
// [-1, 1] × [-1, 1] × [-BoxHalfHeight, BoxHalfHeight] in its own units: x and y across the region,
// z across the range of the values.
#include <cstdint>

namespace metopt::render {

constexpr double DefaultAzimuth = -60;
constexpr double DefaultElevation = 30;
constexpr double MinElevation = 5;
constexpr double MaxElevation = 90;
constexpr double MinZoom = 0.25;
constexpr double MaxZoom = 8;
constexpr double BoxHalfHeight = 0.75;

struct TSurfaceView {
    double azimuth = DefaultAzimuth;
    double elevation = DefaultElevation;
    double zoom = 1;
    bool operator==(const TSurfaceView&) const = default;
};

// The view with azimuth and elevation as given: the azimuth brought into [-180, 180), the
// elevation held within MinElevation..MaxElevation (a value that is not finite keeps the view's).
TSurfaceView ViewAt(const TSurfaceView& view, double azimuth, double elevation);
// The view after a drag by (dx, dy) pixels, as if the box were held by the pointer: to the right
// turns its front to the right, down tips its top towards the viewer (a higher elevation); half a
// degree a pixel.
TSurfaceView RotatedView(const TSurfaceView& view, int dx, int dy);
// The view after `notches` notches of the wheel, forward nearer, within MinZoom..MaxZoom.
TSurfaceView ZoomedView(const TSurfaceView& view, int notches);

// A point of the picture, with its depth: larger is nearer the viewer.
struct TScreenPoint {
    double x = 0;
    double y = 0;
    double depth = 0;
};

// The projection of the box onto a picture of width × height: the box's centre at the picture's
// centre, the x and y of the box's own units to the right and up on the picture.
class SurfaceProjection {
  public:
    SurfaceProjection(const TSurfaceView& view, int width, int height);
    TScreenPoint Project(double u, double v, double w) const;
    // The depth of a point of the box's floor plane seen along the view, without its height:
    // what orders the cells of the mesh from far to near.
    double PlaneDepth(double u, double v) const { return u * toViewer_[0] + v * toViewer_[1]; }
    // The unit vectors of the picture's right, up and towards the viewer, in box units.
    const double* Right() const { return right_; }
    const double* Up() const { return up_; }
    const double* ToViewer() const { return toViewer_; }

  private:
    double right_[3];
    double up_[3];
    double toViewer_[3];
    double scale_;
    double centreX_;
    double centreY_;
};

}  // namespace metopt::render
