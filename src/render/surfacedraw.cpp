#include "render/surfacedraw.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "render/pixels.h"
#include "render/sampling.h"
#include "render/surfaceticks.h"
#include "render/trace.h"
#include "runtime/exceptions.h"

namespace metopt::render {

namespace {

using platform::Canvas;

// Lines take every such mesh line that about this many show across the box.
constexpr std::int32_t MeshLinesAcross = 24;
// A path lies this far above the surface, in the box's units, so that it is not lost in it.
constexpr double PathHair = 0.01;
constexpr int DotRadius = 2;
// The shading: the light falls from the upper left of the viewer; a quad turned away from it
// keeps this share of its colour.
constexpr double DarkestShade = 0.72;
// Mesh lines take this share of their quad's colour.
constexpr int MeshLineShade = 150;
constexpr int TickLength = 5;
constexpr int LabelGap = 8;
constexpr double PixelsPerTick = 50;
constexpr double ShortestLabelledEdge = 24;

// World points to the box's units.
class BoxScale {
  public:
    explicit BoxScale(const TSurfaceScene& scene)
        : region_(scene.mesh->region), zLow_(scene.zLow), zHigh_(scene.zHigh) {}
    double U(long double x) const { return Across(x, region_.Xb, region_.Xe); }
    double V(long double y) const { return Across(y, region_.Yb, region_.Ye); }
    // Heights beyond the range are held at the box's floor and lid.
    double W(long double z) const {
        if (!(zHigh_ > zLow_))
            return 0;
        const double w = Across(z, zLow_, zHigh_);
        return std::clamp(w, -1.0, 1.0) * BoxHalfHeight;
    }
    long double X(double u) const { return region_.Xb + (u + 1) / 2 * (region_.Xe - region_.Xb); }
    long double Y(double v) const { return region_.Yb + (v + 1) / 2 * (region_.Ye - region_.Yb); }

  private:
    static double Across(long double t, long double lo, long double hi) {
        return static_cast<double>((t - lo) / (hi - lo) * 2 - 1);
    }
    core::TRegion region_;
    long double zLow_;
    long double zHigh_;
};

// The nearest pixel, in 64 bits as pixels.h takes it (which holds it within the canvas's int
// range); a coordinate that is not a number lies far off.
long long Nearest(double t) {
    constexpr double FarOff = 1e15;
    if (!(t >= -FarOff && t <= FarOff))
        return t > 0 ? static_cast<long long>(FarOff) : -static_cast<long long>(FarOff);
    return static_cast<long long>(std::floor(t + 0.5));
}

int Pixel(double t) {
    return ToPixel(Nearest(t));
}

// A line with both its ends.
void Line(Canvas& canvas, const TScreenPoint& a, const TScreenPoint& b, std::int32_t color) {
    canvas.SetPenColor(color);
    render::Line(canvas, Nearest(a.x), Nearest(a.y), Nearest(b.x), Nearest(b.y));
    canvas.SetPixel(Pixel(b.x), Pixel(b.y), color);
}

void Fill(Canvas& canvas, const TScreenPoint* corners, int count, std::int32_t color) {
    double xs[Canvas::MaxPolygonCorners];
    double ys[Canvas::MaxPolygonCorners];
    for (int k = 0; k < count; ++k) {
        xs[k] = corners[k].x;
        ys[k] = corners[k].y;
    }
    canvas.SetBrushColor(color);
    canvas.FillPolygon(xs, ys, count);
}

// Each of the colour's components times share / 256.
std::int32_t Scaled(std::int32_t color, int share) {
    const auto part = [&](int shift) { return ((color >> shift & 0xFF) * share >> 8) << shift; };
    return part(0) | part(8) | part(16);
}

// The length of (dx, dy) by the square root alone, which rounds the same on every system (the C
// libraries' hypot may not).
double Length(double dx, double dy) {
    return std::sqrt(dx * dx + dy * dy);
}

double Dot(const double* a, const double* b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// The box: its projection, the directions of its near sides, its axes' round numbers.
struct Box {
    const SurfaceProjection& projection;
    const BoxScale& scale;
    double uNear;
    double vNear;
    std::vector<double> xTicks, yTicks, zTicks;

    TScreenPoint At(double u, double v, double w) const { return projection.Project(u, v, w); }
};

double EdgeLength(const Box& box, double u0, double v0, double w0, double u1, double v1,
                  double w1) {
    const TScreenPoint a = box.At(u0, v0, w0);
    const TScreenPoint b = box.At(u1, v1, w1);
    return Length(b.x - a.x, b.y - a.y);
}

int TickCount(double edgeLength) {
    return std::clamp(static_cast<int>(edgeLength / PixelsPerTick), 3, 7);
}

// The floor and the two walls away from the viewer, with the lines of the round numbers.
void DrawPanes(Canvas& canvas, const Box& box) {
    const double h = BoxHalfHeight;
    const double uFar = -box.uNear;
    const double vFar = -box.vNear;
    const TScreenPoint floor[] = {box.At(-1, -1, -h), box.At(1, -1, -h), box.At(1, 1, -h),
                                  box.At(-1, 1, -h)};
    const TScreenPoint uWall[] = {box.At(uFar, -1, -h), box.At(uFar, 1, -h), box.At(uFar, 1, h),
                                  box.At(uFar, -1, h)};
    const TScreenPoint vWall[] = {box.At(-1, vFar, -h), box.At(1, vFar, -h), box.At(1, vFar, h),
                                  box.At(-1, vFar, h)};
    for (const TScreenPoint* pane : {floor, uWall, vWall})
        Fill(canvas, pane, 4, SurfacePaneColor);
    for (const double x : box.xTicks) {
        const double u = box.scale.U(x);
        Line(canvas, box.At(u, -1, -h), box.At(u, 1, -h), SurfacePaneGridColor);
        Line(canvas, box.At(u, vFar, -h), box.At(u, vFar, h), SurfacePaneGridColor);
    }
    for (const double y : box.yTicks) {
        const double v = box.scale.V(y);
        Line(canvas, box.At(-1, v, -h), box.At(1, v, -h), SurfacePaneGridColor);
        Line(canvas, box.At(uFar, v, -h), box.At(uFar, v, h), SurfacePaneGridColor);
    }
    for (const double z : box.zTicks) {
        const double w = box.scale.W(z);
        Line(canvas, box.At(uFar, -1, w), box.At(uFar, 1, w), SurfacePaneGridColor);
        Line(canvas, box.At(-1, vFar, w), box.At(1, vFar, w), SurfacePaneGridColor);
    }
    for (const TScreenPoint* pane : {floor, uWall, vWall}) {
        for (int k = 0; k < 4; ++k)
            Line(canvas, pane[k], pane[(k + 1) % 4], SurfaceBoxColor);
    }
}

// A text beside the anchor, on the side `out` points to.
void Label(Canvas& canvas, double x, double y, double outX, double outY, const std::string& text) {
    const int w = canvas.TextWidth(text);
    const int h = canvas.TextHeight(text);
    canvas.TextOut(Pixel(x - w / 2.0 + outX * w / 2.0), Pixel(y - h / 2.0 + outY * h / 2.0), text);
}

// One axis along the edge from `from` to `to` (box units), with its ticks at the values `ticks`
// of the coordinate `along`, their labels across the edge on the side `out` points to from the
// box's centre, and the axis's name beyond them.
struct Axis {
    const char* name;
    double from[3];
    double to[3];
    double out[3];
    const std::vector<double>* ticks;
    int along;  // the coordinate the ticks move
};

void DrawAxis(Canvas& canvas, const Box& box, const Axis& axis) {
    const TScreenPoint a = box.At(axis.from[0], axis.from[1], axis.from[2]);
    const TScreenPoint b = box.At(axis.to[0], axis.to[1], axis.to[2]);
    const double edgeLength = Length(b.x - a.x, b.y - a.y);
    if (!(edgeLength >= ShortestLabelledEdge))
        return;
    // The labels go across the edge on the picture, on the side away from the box: seen from
    // low, the side `out` names lies almost along the edge itself.
    double outX = -(b.y - a.y) / edgeLength;
    double outY = (b.x - a.x) / edgeLength;
    const TScreenPoint origin = box.At(0, 0, 0);
    const TScreenPoint outward = box.At(axis.out[0], axis.out[1], axis.out[2]);
    if (outX * (outward.x - origin.x) + outY * (outward.y - origin.y) < 0) {
        outX = -outX;
        outY = -outY;
    }
    const std::vector<double>& ticks = *axis.ticks;
    const double step = ticks.size() >= 2 ? ticks[1] - ticks[0] : 1;
    double farthest = 0;
    for (const double value : ticks) {
        double p[3] = {axis.from[0], axis.from[1], axis.from[2]};
        p[axis.along] = axis.along == 0   ? box.scale.U(value)
                        : axis.along == 1 ? box.scale.V(value)
                                          : box.scale.W(value);
        const TScreenPoint t = box.At(p[0], p[1], p[2]);
        const TScreenPoint end{t.x + outX * TickLength, t.y + outY * TickLength, 0};
        Line(canvas, t, end, SurfaceBoxColor);
        const std::string text = TickText(value, step);
        Label(canvas, end.x + outX * LabelGap / 2, end.y + outY * LabelGap / 2, outX, outY, text);
        farthest = std::max(farthest, std::fabs(outX) * canvas.TextWidth(text) +
                                          std::fabs(outY) * canvas.TextHeight(text));
    }
    const double reach = TickLength + LabelGap + farthest + LabelGap;
    Label(canvas, (a.x + b.x) / 2 + outX * reach, (a.y + b.y) / 2 + outY * reach, outX, outY,
          axis.name);
}

void DrawAxes(Canvas& canvas, const Box& box) {
    const double h = BoxHalfHeight;
    canvas.SetBrushColor(SurfaceBackground);
    canvas.SetFontColor(SurfaceTextColor);
    DrawAxis(canvas, box,
             {"x", {-1, box.vNear, -h}, {1, box.vNear, -h}, {0, box.vNear, 0}, &box.xTicks, 0});
    DrawAxis(canvas, box,
             {"y", {box.uNear, -1, -h}, {box.uNear, 1, -h}, {box.uNear, 0, 0}, &box.yTicks, 1});
    // The height on the vertical edge farthest to the left of the picture.
    double uz = -1;
    double vz = -1;
    double leftmost = 0;
    bool first = true;
    for (const double u : {-1.0, 1.0}) {
        for (const double v : {-1.0, 1.0}) {
            const double x = box.At(u, v, 0).x;
            if (first || x < leftmost) {
                uz = u;
                vz = v;
                leftmost = x;
                first = false;
            }
        }
    }
    DrawAxis(canvas, box, {"z", {uz, vz, -h}, {uz, vz, h}, {uz, vz, 0}, &box.zTicks, 2});
}

// A point in the box's units.
struct TBoxPoint {
    double u, v, w;
};

// A piece of a path that lies within one cell of the mesh, or one of its points, drawn right
// after that cell's quad.
struct PathPiece {
    std::size_t cell;
    TScreenPoint a;
    TScreenPoint b;
    const TSurfacePath* path;
    bool dot;
};

class MeshPainter {
  public:
    MeshPainter(const TSurfaceScene& scene, const SurfaceProjection& projection,
                const BoxScale& scale)
        : scene_(scene), mesh_(*scene.mesh), projection_(projection), scale_(scale) {
        ProjectNodes();
        OrderCells();
        SetLight();
        lineStride_ = std::max<std::int32_t>(1, std::max(mesh_.cols, mesh_.rows) / MeshLinesAcross);
    }

    void CollectPaths() {
        for (const TSurfacePath& path : scene_.paths)
            CollectPath(path);
        std::stable_sort(
            pieces_.begin(), pieces_.end(),
            [&](const PathPiece& p, const PathPiece& q) { return rank_[p.cell] < rank_[q.cell]; });
    }

    void Draw(Canvas& canvas) const {
        auto piece = pieces_.begin();
        for (const std::size_t cell : order_) {
            DrawQuad(canvas, cell);
            for (; piece != pieces_.end() && piece->cell == cell; ++piece)
                DrawPiece(canvas, *piece);
        }
    }

  private:
    std::size_t Node(std::int32_t i, std::int32_t j) const {
        return static_cast<std::size_t>(j) * static_cast<std::size_t>(mesh_.cols + 1) +
               static_cast<std::size_t>(i);
    }

    void ProjectNodes() {
        nodes_.resize(mesh_.heights.size());
        box_.resize(mesh_.heights.size());
        for (std::int32_t j = 0; j <= mesh_.rows; ++j) {
            for (std::int32_t i = 0; i <= mesh_.cols; ++i) {
                const std::size_t n = Node(i, j);
                const long double z = mesh_.heights[n];
                const double u = 2.0 * i / mesh_.cols - 1;
                const double v = 2.0 * j / mesh_.rows - 1;
                const double w = IsUndefined(z) ? 0 : scale_.W(z);
                box_[n] = {u, v, w};
                nodes_[n] = projection_.Project(u, v, w);
            }
        }
    }

    // The cells from the far one to the near one by the depth of their centres on the floor
    // plane: a cell can only be covered by cells nearer than it on every line of sight.
    void OrderCells() {
        const auto cells =
            static_cast<std::size_t>(mesh_.cols) * static_cast<std::size_t>(mesh_.rows);
        std::vector<double> depth(cells);
        order_.resize(cells);
        for (std::size_t c = 0; c < cells; ++c) {
            const auto i = static_cast<std::int32_t>(c % static_cast<std::size_t>(mesh_.cols));
            const auto j = static_cast<std::int32_t>(c / static_cast<std::size_t>(mesh_.cols));
            depth[c] = projection_.PlaneDepth(2.0 * (i + 0.5) / mesh_.cols - 1,
                                              2.0 * (j + 0.5) / mesh_.rows - 1);
            order_[c] = c;
        }
        std::sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
            return depth[a] != depth[b] ? depth[a] < depth[b] : a < b;
        });
        rank_.resize(cells);
        for (std::size_t k = 0; k < cells; ++k)
            rank_[order_[k]] = k;
    }

    void SetLight() {
        const double* r = projection_.Right();
        const double* u = projection_.Up();
        const double* t = projection_.ToViewer();
        for (int k = 0; k < 3; ++k)
            light_[k] = -0.35 * r[k] + 0.55 * u[k] + 0.76 * t[k];
        const double length = std::sqrt(Dot(light_, light_));
        for (double& component : light_)
            component /= length;
    }

    int Shade(std::size_t n00, std::size_t n10, std::size_t n11, std::size_t n01) const {
        double d1[3];
        double d2[3];
        for (std::size_t k = 0; k < 3; ++k) {
            d1[k] = box_[n11][k] - box_[n00][k];
            d2[k] = box_[n01][k] - box_[n10][k];
        }
        const double normal[3] = {d1[1] * d2[2] - d1[2] * d2[1], d1[2] * d2[0] - d1[0] * d2[2],
                                  d1[0] * d2[1] - d1[1] * d2[0]};
        const double length = std::sqrt(Dot(normal, normal));
        const double lit = length > 0 ? std::max(0.0, Dot(normal, light_) / length) : 1;
        return static_cast<int>(std::floor((DarkestShade + (1 - DarkestShade) * lit) * 256));
    }

    void DrawQuad(Canvas& canvas, std::size_t cell) const {
        const auto i = static_cast<std::int32_t>(cell % static_cast<std::size_t>(mesh_.cols));
        const auto j = static_cast<std::int32_t>(cell / static_cast<std::size_t>(mesh_.cols));
        const std::size_t n[4] = {Node(i, j), Node(i + 1, j), Node(i + 1, j + 1), Node(i, j + 1)};
        long double sum = 0;
        for (const std::size_t node : n) {
            if (IsUndefined(mesh_.heights[node]))
                return;  // a hole
            sum += mesh_.heights[node];
        }
        const std::int32_t color =
            Scaled(SurfaceColor(scene_, sum / 4), Shade(n[0], n[1], n[2], n[3]));
        const TScreenPoint corners[4] = {nodes_[n[0]], nodes_[n[1]], nodes_[n[2]], nodes_[n[3]]};
        Fill(canvas, corners, 4, color);
        const std::int32_t lineColor = Scaled(color, MeshLineShade);
        if (j % lineStride_ == 0)
            Line(canvas, corners[0], corners[1], lineColor);
        if ((i + 1) % lineStride_ == 0 || i + 1 == mesh_.cols)
            Line(canvas, corners[1], corners[2], lineColor);
        if ((j + 1) % lineStride_ == 0 || j + 1 == mesh_.rows)
            Line(canvas, corners[2], corners[3], lineColor);
        if (i % lineStride_ == 0)
            Line(canvas, corners[3], corners[0], lineColor);
    }

    void DrawPiece(Canvas& canvas, const PathPiece& piece) const {
        if (!piece.dot) {
            Line(canvas, piece.a, piece.b, piece.path->lineColor);
            return;
        }
        const int x = Pixel(piece.a.x);
        const int y = Pixel(piece.a.y);
        canvas.SetPenColor(piece.path->lineColor);
        canvas.SetBrushColor(piece.path->dotColor);
        canvas.Ellipse(x - DotRadius, y - DotRadius, x + DotRadius + 1, y + DotRadius + 1);
    }

    // The cell under a point of the box, if it lies within the region.
    bool CellAt(double u, double v, std::size_t& cell) const {
        if (!(u >= -1 && u <= 1 && v >= -1 && v <= 1))
            return false;
        const auto i = std::min<std::int32_t>(static_cast<std::int32_t>((u + 1) / 2 * mesh_.cols),
                                              mesh_.cols - 1);
        const auto j = std::min<std::int32_t>(static_cast<std::int32_t>((v + 1) / 2 * mesh_.rows),
                                              mesh_.rows - 1);
        cell = static_cast<std::size_t>(j) * static_cast<std::size_t>(mesh_.cols) +
               static_cast<std::size_t>(i);
        return true;
    }

    void CollectPath(const TSurfacePath& path) {
        TBoxPoint previous{};
        bool hasPrevious = false;
        for (const TSurfacePoint& point : path.points) {
            if (IsUndefined(point.z)) {
                hasPrevious = false;
                continue;
            }
            const TBoxPoint here{scale_.U(point.x), scale_.V(point.y),
                                 scale_.W(point.z) + PathHair};
            if (hasPrevious)
                CollectSegment(path, previous, here);
            std::size_t cell = 0;
            if (CellAt(here.u, here.v, cell)) {
                const TScreenPoint p = projection_.Project(here.u, here.v, here.w);
                pieces_.push_back({cell, p, p, &path, true});
            }
            previous = here;
            hasPrevious = true;
        }
    }

    // The segment in pieces no longer than a cell, each with the cell of its nearer end.
    void CollectSegment(const TSurfacePath& path, const TBoxPoint& a, const TBoxPoint& b) {
        const double cellsAcross =
            std::max(std::fabs(b.u - a.u) * mesh_.cols / 2, std::fabs(b.v - a.v) * mesh_.rows / 2);
        const double limit = 2.0 * std::max(mesh_.cols, mesh_.rows);
        const int count = static_cast<int>(std::ceil(std::clamp(cellsAcross, 1.0, limit)));
        TBoxPoint from = a;
        for (int k = 1; k <= count; ++k) {
            const double t = static_cast<double>(k) / count;
            const TBoxPoint to{a.u + (b.u - a.u) * t, a.v + (b.v - a.v) * t, a.w + (b.w - a.w) * t};
            const bool toIsNearer =
                projection_.PlaneDepth(to.u, to.v) >= projection_.PlaneDepth(from.u, from.v);
            std::size_t fromCell = 0;
            std::size_t toCell = 0;
            if (CellAt(from.u, from.v, fromCell) && CellAt(to.u, to.v, toCell)) {
                pieces_.push_back({toIsNearer ? toCell : fromCell,
                                   projection_.Project(from.u, from.v, from.w),
                                   projection_.Project(to.u, to.v, to.w), &path, false});
            }
            from = to;
        }
    }

    const TSurfaceScene& scene_;
    const TSurfaceMesh& mesh_;
    const SurfaceProjection& projection_;
    const BoxScale& scale_;
    std::vector<TScreenPoint> nodes_;
    std::vector<std::array<double, 3>> box_;
    std::vector<std::size_t> order_;
    std::vector<std::size_t> rank_;
    std::vector<PathPiece> pieces_;
    double light_[3] = {0, 0, 1};
    std::int32_t lineStride_ = 1;
};

void DrawMinimum(Canvas& canvas, const TSurfaceScene& scene, const SurfaceProjection& projection,
                 const BoxScale& scale) {
    if (!scene.minimum)
        return;
    const TScreenPoint p = projection.Project(scale.U(scene.minimum->x), scale.V(scene.minimum->y),
                                              scale.W(scene.minimum->z) + PathHair);
    DrawMinMarkerAt(canvas, *scene.Palette, Nearest(p.x), Nearest(p.y));
}

}  // namespace

std::int32_t SurfaceColor(const TSurfaceScene& scene, long double z) {
    const palette::TPalette& Palette = *scene.Palette;
    if (!(scene.zHigh > scene.zLow))
        return Palette[0].Color;
    try {
        if (scene.fill == FillMode::Gradient && scene.gradientCount >= 2)
            return GradientColor(Palette, z, scene.zLow, scene.zHigh, scene.gradientCount);
        return DiscreteColor(Palette, z, scene.zLow, scene.zHigh);
    } catch (const runtime::Exception&) {
        return Palette[0].Color;
    }
}

void DrawSurface(Canvas& canvas, const TSurfaceScene& scene, const TSurfaceView& view) {
    canvas.Fill(SurfaceBackground);
    if (!scene.mesh || scene.mesh->cols < 1 || scene.mesh->rows < 1 || !scene.Palette)
        return;
    const SurfaceProjection projection(view, canvas.Width(), canvas.Height());
    const BoxScale scale(scene);
    const double* toViewer = projection.ToViewer();
    Box box{projection, scale, toViewer[0] > 0 ? 1.0 : -1.0, toViewer[1] > 0 ? 1.0 : -1.0, {},
            {},         {}};
    const double h = BoxHalfHeight;
    const core::TRegion& region = scene.mesh->region;
    box.xTicks = RoundTicks(static_cast<double>(region.Xb), static_cast<double>(region.Xe),
                            TickCount(EdgeLength(box, -1, box.vNear, -h, 1, box.vNear, -h)));
    box.yTicks = RoundTicks(static_cast<double>(region.Yb), static_cast<double>(region.Ye),
                            TickCount(EdgeLength(box, box.uNear, -1, -h, box.uNear, 1, -h)));
    box.zTicks = RoundTicks(static_cast<double>(scene.zLow), static_cast<double>(scene.zHigh),
                            TickCount(EdgeLength(box, -1, -1, -h, -1, -1, h)));
    DrawPanes(canvas, box);
    MeshPainter painter(scene, projection, scale);
    painter.CollectPaths();
    painter.Draw(canvas);
    DrawMinimum(canvas, scene, projection, scale);
    DrawAxes(canvas, box);
}

}  // namespace metopt::render
