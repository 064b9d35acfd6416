#include "platform/canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace metopt::platform {

namespace {

// Ellipses whose box is wider or taller than this are not drawn: their exact integer test would
// not fit 128 bits, and nothing in the program comes near it.
constexpr std::int64_t MaxEllipseExtent = std::int64_t{1} << 28;

// A GCC and Clang extension on x86-64, marked so that -Wpedantic accepts it.
__extension__ using Int128 = __int128;

// Largest m >= 0 with m * m <= q (q >= 0).
std::int64_t IntegerSqrt(Int128 q) {
    auto m = static_cast<std::int64_t>(std::sqrt(static_cast<long double>(q)));
    while (m > 0 && static_cast<Int128>(m) * m > q) {
        --m;
    }
    while (static_cast<Int128>(m + 1) * (m + 1) <= q) {
        ++m;
    }
    return m;
}

// Floor division for a positive divisor.
Int128 FloorDiv(Int128 a, Int128 b) {
    Int128 q = a / b;
    if (a % b != 0 && a < 0) {
        --q;
    }
    return q;
}

// A line from (x0, y0) walked along its major axis: step i moves i * majorSign on that axis from
// majorStart and about i * minor / major times minorSign on the other from minorStart; the
// surface is majorLimit by minorLimit pixels in these terms.
struct LineWalk {
    bool xMajor;
    std::int64_t major;
    std::int64_t minor;
    std::int64_t majorStart;
    std::int64_t minorStart;
    std::int64_t majorSign;
    std::int64_t minorSign;
    std::int64_t majorLimit;
    std::int64_t minorLimit;
};

LineWalk LineWalkOf(std::int64_t x0, std::int64_t y0, int x, int y, int width, int height) {
    const std::int64_t dx = static_cast<std::int64_t>(x) - x0;
    const std::int64_t dy = static_cast<std::int64_t>(y) - y0;
    const std::int64_t adx = dx < 0 ? -dx : dx;
    const std::int64_t ady = dy < 0 ? -dy : dy;
    const bool xMajor = adx >= ady;
    return LineWalk{xMajor,
                    xMajor ? adx : ady,
                    xMajor ? ady : adx,
                    xMajor ? x0 : y0,
                    xMajor ? y0 : x0,
                    (xMajor ? dx : dy) < 0 ? -1 : 1,
                    (xMajor ? dy : dx) < 0 ? -1 : 1,
                    xMajor ? width : height,
                    xMajor ? height : width};
}

// The steps i in [0, major) whose major coordinate lies on the surface, first..last (empty when
// first > last).
struct VisibleStepRange {
    std::int64_t first;
    std::int64_t last;
};

VisibleStepRange VisibleSteps(const LineWalk& walk) {
    VisibleStepRange steps{0, walk.major - 1};
    if (walk.majorSign > 0) {
        steps.first = std::max(steps.first, -walk.majorStart);
        steps.last = std::min(steps.last, walk.majorLimit - 1 - walk.majorStart);
    } else {
        steps.first = std::max(steps.first, walk.majorStart - (walk.majorLimit - 1));
        steps.last = std::min(steps.last, walk.majorStart);
    }
    return steps;
}

// An ellipse's box as its pixel test sees it: rows y1..y2-1, the width w, and the semi-axes a and
// b in quarter pixels.
struct EllipseBox {
    std::int64_t y1;
    std::int64_t y2;
    std::int64_t w;
    Int128 a;
    Int128 b;
};

// Twice the largest column offset from the centre on row y, or -1 when the row is empty.
std::int64_t SpanOf(const EllipseBox& box, std::int64_t y) {
    if (y < box.y1 || y >= box.y2) {
        return -1;
    }
    const Int128 dyQuarter = 2 * (2 * y - (box.y1 + box.y2 - 1));
    const Int128 room = box.b * box.b - dyQuarter * dyQuarter;
    if (room < 0) {
        return -1;
    }
    // (2 m)^2 b^2 <= a^2 room  <=>  m^2 <= a^2 room / (4 b^2)
    std::int64_t m = IntegerSqrt(box.a * box.a * room / (4 * box.b * box.b));
    if ((m & 1) != ((box.w - 1) & 1)) {
        --m;  // offsets of pixel centres have the parity of w - 1
    }
    return m;
}

}  // namespace

std::int32_t FromQRgb(QRgb rgb) {
    return qRed(rgb) + qGreen(rgb) * 256 + qBlue(rgb) * 65536;
}

QFont Canvas::DefaultFont() {
    // The window's 8 pt at 96 dpi is 11 pixels; labels use only the text and box colours.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

Canvas::Canvas(int width, int height, std::int32_t fillColor) : font_(DefaultFont()) {
    Resize(width, height, fillColor);
}

void Canvas::Resize(int width, int height, std::int32_t fillColor) {
    image_ = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    Fill(fillColor);
}

void Canvas::Fill(std::int32_t color) {
    if (!image_.isNull()) {
        image_.fill(ToQRgb(color));
    }
}

void Canvas::SetPixel(int x, int y, std::int32_t color) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) {
        return;
    }
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = ToQRgb(color);
}

std::int32_t Canvas::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) {
        return InvalidColor;
    }
    return FromQRgb(reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x]);
}

void Canvas::HLine(int x1, int x2, int y, std::int32_t color) {
    if (y < 0 || y >= Height()) {
        return;
    }
    const int from = std::max(x1, 0);
    const int to = std::min(x2, Width() - 1);
    if (from > to) {
        return;
    }
    QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
    std::fill(row + from, row + to + 1, ToQRgb(color));
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x2 <= x1 || y2 <= y1) {
        return;
    }
    const int right = x2 - 1;
    const int bottom = y2 - 1;
    const int firstRow = std::max(y1, 0);
    const int lastRow = std::min(bottom, Height() - 1);
    for (int y = firstRow; y <= lastRow; ++y) {
        if (y == y1 || y == bottom) {
            HLine(x1, right, y, pen_);
            continue;
        }
        HLine(x1, x1, y, pen_);
        if (right - 1 >= x1 + 1) {
            HLine(x1 + 1, right - 1, y, brush_);
        }
        HLine(right, right, y, pen_);
    }
}

void Canvas::FillPolygon(const double* xs, const double* ys, int corners) {
    if (corners < 3 || corners > MaxPolygonCorners)
        return;
    double top = ys[0];
    double bottom = ys[0];
    for (int i = 0; i < corners; ++i) {
        if (!std::isfinite(xs[i]) || !std::isfinite(ys[i]))
            return;
        top = std::min(top, ys[i]);
        bottom = std::max(bottom, ys[i]);
    }
    // The rows whose centres lie between the top and the bottom, within the surface.
    const double firstRow = std::max(std::ceil(top - 0.5), 0.0);
    const double lastRow = std::min(std::ceil(bottom - 0.5) - 1, static_cast<double>(Height() - 1));
    for (double row = firstRow; row <= lastRow; ++row) {
        const double centre = row + 0.5;
        double crossings[MaxPolygonCorners];
        int count = 0;
        for (int i = 0, j = corners - 1; i < corners; j = i++) {
            // An edge counts where its upper end is at or above the centre and its lower end below.
            if ((ys[i] <= centre) != (ys[j] <= centre))
                crossings[count++] = xs[j] + (centre - ys[j]) * (xs[i] - xs[j]) / (ys[i] - ys[j]);
        }
        std::sort(crossings, crossings + count);
        for (int k = 0; k + 1 < count; k += 2) {
            // The pixels whose centres lie in [left, right).
            const double from = std::max(std::ceil(crossings[k] - 0.5), -1.0);
            const double to =
                std::min(std::ceil(crossings[k + 1] - 0.5) - 1, static_cast<double>(Width()));
            if (from <= to)
                HLine(static_cast<int>(from), static_cast<int>(to), static_cast<int>(row), brush_);
        }
    }
}

void Canvas::MoveTo(int x, int y) {
    penX_ = x;
    penY_ = y;
}

// Bresenham from the current position: the pixel at step i along the major axis is offset on the
// minor axis by i * minor / major rounded to nearest, halves towards the start. Only the steps
// whose major coordinate lies on the surface are visited, so a line of any length costs at most
// one pass over the surface and never writes outside it.
void Canvas::LineTo(int x, int y) {
    const std::int64_t x0 = penX_;
    const std::int64_t y0 = penY_;
    penX_ = x;
    penY_ = y;

    const LineWalk walk = LineWalkOf(x0, y0, x, y, Width(), Height());
    if (walk.major == 0) {
        return;  // the only pixel is the end pixel
    }
    const VisibleStepRange steps = VisibleSteps(walk);
    for (std::int64_t i = steps.first; i <= steps.last; ++i) {
        // round(i * minor / major), halves down: ceil((2 i minor - major) / (2 major)).
        const Int128 twice = 2 * static_cast<Int128>(i) * walk.minor - walk.major;
        const Int128 offset = -FloorDiv(-twice, 2 * static_cast<Int128>(walk.major));
        const std::int64_t majorPos = walk.majorStart + walk.majorSign * i;
        const Int128 minorPos = walk.minorStart + walk.minorSign * offset;
        if (minorPos < 0 || minorPos >= walk.minorLimit) {
            continue;
        }
        const int px =
            static_cast<int>(walk.xMajor ? majorPos : static_cast<std::int64_t>(minorPos));
        const int py =
            static_cast<int>(walk.xMajor ? static_cast<std::int64_t>(minorPos) : majorPos);
        SetPixel(px, py, pen_);
    }
}

// A pixel belongs to the ellipse when its centre lies inside the ellipse centred in the box whose
// semi-axes reach a quarter pixel beyond the outermost pixel centres. All lengths are counted in
// quarter pixels, so the test is exact integer arithmetic and symmetric both ways. Outline pixels
// are the ends of each row's span and those not covered by the row above or below.
void Canvas::Ellipse(int x1, int y1, int x2, int y2) {
    const std::int64_t w = static_cast<std::int64_t>(x2) - x1;
    const std::int64_t h = static_cast<std::int64_t>(y2) - y1;
    if (w <= 0 || h <= 0 || w > MaxEllipseExtent || h > MaxEllipseExtent) {
        return;
    }
    const EllipseBox box{y1, y2, w, 2 * w - 1, 2 * h - 1};
    const std::int64_t centreSum = static_cast<std::int64_t>(x1) + x2 - 1;  // twice the centre

    const std::int64_t firstRow = std::max<std::int64_t>(y1, 0);
    const std::int64_t lastRow = std::min<std::int64_t>(y2 - 1, Height() - 1);
    for (std::int64_t y = firstRow; y <= lastRow; ++y) {
        const std::int64_t m = SpanOf(box, y);
        if (m < 0) {
            continue;
        }
        const std::int64_t left = (centreSum - m) / 2;
        const std::int64_t right = (centreSum + m) / 2;
        const std::int64_t inner = std::min({m - 2, SpanOf(box, y - 1), SpanOf(box, y + 1)});
        // Every span lies inside the box, so its ends fit an int.
        HLine(static_cast<int>(left), static_cast<int>(right), static_cast<int>(y), pen_);
        if (inner >= 0) {
            HLine(static_cast<int>((centreSum - inner) / 2),
                  static_cast<int>((centreSum + inner) / 2), static_cast<int>(y), brush_);
        }
    }
}

void Canvas::TextOut(int x, int y, const std::string& text) {
    if (image_.isNull()) {
        return;
    }
    const QString qtext = QString::fromStdString(text);
    const QFontMetrics metrics(font_);
    const int width = metrics.horizontalAdvance(qtext);
    const int height = metrics.height();
    // A box wholly off the surface draws nothing; the rest stays in a range Qt can work in.
    if (x >= Width() || y >= Height() || static_cast<std::int64_t>(x) + width <= 0 ||
        static_cast<std::int64_t>(y) + height <= 0) {
        return;
    }
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font_);
    painter.fillRect(x, y, width, height, QColor::fromRgb(ToQRgb(brush_)));
    painter.setPen(QColor::fromRgb(ToQRgb(fontColor_)));
    painter.drawText(x, y + metrics.ascent(), qtext);
}

int Canvas::TextWidth(const std::string& text) const {
    return QFontMetrics(font_).horizontalAdvance(QString::fromStdString(text));
}

int Canvas::TextHeight(const std::string& /*text*/) const {
    return QFontMetrics(font_).height();
}

void Canvas::CopyRect(const Canvas& source, int x, int y, int w, int h) {
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min(
        {static_cast<std::int64_t>(x) + w, std::int64_t{Width()}, std::int64_t{source.Width()}});
    const std::int64_t bottom = std::min(
        {static_cast<std::int64_t>(y) + h, std::int64_t{Height()}, std::int64_t{source.Height()}});
    if (left >= right || top >= bottom) {
        return;
    }
    if (&source == this) {
        return;  // the same rectangle onto itself changes nothing
    }
    for (std::int64_t row = top; row < bottom; ++row) {
        const QRgb* from =
            reinterpret_cast<const QRgb*>(source.image_.constScanLine(static_cast<int>(row)));
        QRgb* to = reinterpret_cast<QRgb*>(image_.scanLine(static_cast<int>(row)));
        std::copy(from + left, from + right, to + left);
    }
}

}  // namespace metopt::platform
