#include "platform/convergencechart.h"

#include <QMouseEvent>
#include <QRubberBand>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace metopt::platform {

namespace {

// At most about this many labels on the y axis: a wide range takes a label every few decades.
constexpr double MaxLabels = 8;
// The floor when the one given is not a positive number, and the highest one taken.
constexpr double DefaultFloor = 1e-20;
constexpr double HighestFloor = 1e300;
// The narrowest zoom: so wide a k range, y ranges so many decades (a factor 1.0001).
constexpr double MinKSpan = 1e-3;
const double MinDecades = std::log10(1.0001);

using Range = ConvergenceChart::Range;

// `range` moved, its width kept, to lie within `whole` (which is at least as wide).
Range Within(Range range, Range whole) {
    const double span = range.high - range.low;
    if (range.low < whole.low)
        return {whole.low, whole.low + span};
    if (range.high > whole.high)
        return {whole.high - span, whole.high};
    return range;
}

// `range` zoomed by `factor` about `at`, which keeps its place: no narrower than `minSpan`, no
// wider than `whole` and within it.
Range ZoomedAbout(Range range, double at, double factor, double minSpan, Range whole) {
    const double span = range.high - range.low;
    const double zoomed = std::clamp(span / factor, minSpan, whole.high - whole.low);
    const double low = at - (at - range.low) * (zoomed / span);
    return Within({low, low + zoomed}, whole);
}

// [from, to] (in either order) widened about its middle to at least `minSpan`, within `whole`.
Range Spanned(double from, double to, double minSpan, Range whole) {
    Range range{std::min(from, to), std::max(from, to)};
    if (range.high - range.low < minSpan) {
        const double middle = (range.low + range.high) / 2;
        range = {middle - minSpan / 2, middle + minSpan / 2};
    }
    return Within(range, whole);
}

Range Log10(Range range) {
    return {std::log10(range.low), std::log10(range.high)};
}

Range Pow10(Range range) {
    return {std::pow(10.0, range.low), std::pow(10.0, range.high)};
}

}  // namespace

void ConvergenceChart::Show(const QString& yTitle, const std::vector<Line>& lines, double floor) {
    if (!(floor > 0) || !std::isfinite(floor))
        floor = DefaultFloor;
    floor = std::min(floor, HighestFloor);
    yTitle_ = yTitle;
    shown_.clear();
    double top = floor;
    for (const Line& line : lines) {
        ShownLine shown{line.name, line.color, {}};
        shown.points.reserve(line.values.size());
        for (std::size_t k = 0; k < line.values.size(); ++k) {
            const double v =
                std::isfinite(line.values[k]) ? std::max(line.values[k], floor) : floor;
            shown.points.emplace_back(static_cast<double>(k + 1), v);
            top = std::max(top, v);
        }
        shown_.push_back(std::move(shown));
    }
    floor_ = floor;
    ceiling_ = std::min(top * 10, std::numeric_limits<double>::max());
    kShown_ = WholeKRange();
    yShown_ = WholeYRange();
    Redraw();
}

double ConvergenceChart::LabelBase() const {
    return LabelBaseOf(yShown_);
}

double ConvergenceChart::LabelBaseOf(Range y) {
    const double decades = std::log10(y.high / y.low);
    return std::pow(10.0, std::max(1.0, std::ceil(decades / MaxLabels)));
}

ConvergenceChart::Range ConvergenceChart::WholeKRange() const {
    std::size_t longest = 2;
    for (const ShownLine& line : shown_)
        longest = std::max(longest, line.points.size());
    return {1, static_cast<double>(longest)};
}

void ConvergenceChart::SetShown(Range k, Range y) {
    kShown_ = k;
    yShown_ = y;
    ShowRanges();
}

void ConvergenceChart::ZoomAbout(QPointF at, double factor) {
    const QRectF plot = PlotArea();
    if (plot.isEmpty() || !(factor > 0) || !std::isfinite(factor) || !std::isfinite(at.x()) ||
        !std::isfinite(at.y()))
        return;
    const double across = std::clamp((at.x() - plot.left()) / plot.width(), 0.0, 1.0);
    const double up = std::clamp((plot.bottom() - at.y()) / plot.height(), 0.0, 1.0);
    const Range logY = Log10(yShown_);
    const double k = kShown_.low + across * (kShown_.high - kShown_.low);
    const double decade = logY.low + up * (logY.high - logY.low);
    SetShown(ZoomedAbout(kShown_, k, factor, MinKSpan, WholeKRange()),
             Pow10(ZoomedAbout(logY, decade, factor, MinDecades, Log10(WholeYRange()))));
}

void ConvergenceChart::ZoomTo(const QRectF& pixels) {
    const QRectF plot = PlotArea();
    const QRectF r = pixels.normalized();
    if (plot.isEmpty() || !std::isfinite(r.left()) || !std::isfinite(r.right()) ||
        !std::isfinite(r.top()) || !std::isfinite(r.bottom()))
        return;
    const auto across = [&](double x) {
        return std::clamp((x - plot.left()) / plot.width(), 0.0, 1.0);
    };
    const auto up = [&](double y) {
        return std::clamp((plot.bottom() - y) / plot.height(), 0.0, 1.0);
    };
    const double kSpan = kShown_.high - kShown_.low;
    const Range logY = Log10(yShown_);
    const double decades = logY.high - logY.low;
    SetShown(Spanned(kShown_.low + across(r.left()) * kSpan,
                     kShown_.low + across(r.right()) * kSpan, MinKSpan, kShown_),
             Pow10(Spanned(logY.low + up(r.bottom()) * decades, logY.low + up(r.top()) * decades,
                           MinDecades, logY)));
}

void ConvergenceChart::ResetZoom() {
    SetShown(WholeKRange(), WholeYRange());
}

double ConvergenceChart::KTickStep(Range k, double pixels, double labelWidth) {
    // Each label with room on both sides, so that neighbours never touch.
    const double slot = std::max(labelWidth, 0.0) + 20;
    const double fits = pixels > 0 && std::isfinite(pixels) ? std::max(1.0, pixels / slot) : 1;
    const auto ticks = [&](double step) {
        return std::floor(k.high / step) - std::ceil(k.low / step) + 1;
    };
    // 1, 2, 5, 10, 20, ...: a step wider than the range leaves at most one tick.
    for (double magnitude = 1;; magnitude *= 10) {
        for (const double nice : {1.0, 2.0, 5.0}) {
            if (ticks(nice * magnitude) <= fits || nice * magnitude > k.high - k.low)
                return nice * magnitude;
        }
    }
}

void ConvergenceChart::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0) {
        event->ignore();
        return;
    }
    ZoomAbout(event->position(), std::pow(WheelZoom, notches));
    event->accept();
}

void ConvergenceChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragStart_ = event->position().toPoint();
    dragging_ = true;
}

void ConvergenceChart::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    const QPoint moved = at - dragStart_;
    if (std::max(std::abs(moved.x()), std::abs(moved.y())) < MinimumDrag)
        return;
    if (band_ == nullptr)
        band_ = new QRubberBand(QRubberBand::Rectangle, this);
    band_->setGeometry(QRect(dragStart_, at).normalized());
    band_->raise();
    band_->show();
}

void ConvergenceChart::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    if (band_ != nullptr)
        band_->hide();
    const QPointF at = event->position();
    const QPointF moved = at - QPointF(dragStart_);
    if (std::max(std::abs(moved.x()), std::abs(moved.y())) >= MinimumDrag)
        ZoomTo(QRectF(QPointF(dragStart_), at));
}

void ConvergenceChart::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    dragging_ = false;
    ResetZoom();
}

}  // namespace metopt::platform
