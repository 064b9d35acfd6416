#include "ui/artwork.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace metopt::ui {

namespace {

// The artwork's ten height colours, lowest to highest: the map colours of the program's palette
// file.
constexpr std::array<QRgb, 10> HeightColours = {
    qRgb(68, 1, 84),    qRgb(72, 40, 120),  qRgb(62, 74, 137),  qRgb(49, 104, 142),
    qRgb(38, 130, 142), qRgb(31, 158, 137), qRgb(53, 183, 121), qRgb(109, 205, 89),
    qRgb(180, 222, 44), qRgb(253, 231, 37)};

QRgb HeightColour(double t) {
    const int index = std::clamp(static_cast<int>(t * 9.99), 0, 9);
    return HeightColours[static_cast<std::size_t>(index)];
}

// sin(r)/r with its limit 1 at the origin.
double Ripple(double x, double y) {
    const double r = std::sqrt(x * x + y * y);
    return r < 1e-9 ? 1.0 : std::sin(r) / r;
}

// A discrete height map of f over [-span, span]^2 into the image.
template <typename Function>
void PaintHeightMap(QImage& image, double span, double lo, double hi, Function f) {
    for (int row = 0; row < image.height(); ++row) {
        for (int col = 0; col < image.width(); ++col) {
            const double x = (2.0 * col / (image.width() - 1) - 1.0) * span;
            const double y = (1.0 - 2.0 * row / (image.height() - 1)) * span;
            image.setPixel(col, row, HeightColour((f(x, y) - lo) / (hi - lo)));
        }
    }
}

QPixmap Framed(QImage image) {
    QPainter painter(&image);
    painter.setPen(QColor(64, 64, 64));
    painter.drawRect(0, 0, image.width() - 1, image.height() - 1);
    return QPixmap::fromImage(image);
}

QImage Transparent16() {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QPixmap Greyed(const QPixmap& pixmap) {
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int grey = 128 + qGray(p) / 3;
            image.setPixel(x, y, qRgba(grey, grey, grey, qAlpha(p)));
        }
    }
    return QPixmap::fromImage(image);
}

}  // namespace

QIcon MapGlyph() {
    QImage image(16, 16, QImage::Format_ARGB32);
    // A bowl x*x + y*y: rings of colour around the lowest point.
    PaintHeightMap(image, 1.0, 0.0, 2.0, [](double x, double y) { return x * x + y * y; });
    return QIcon(Framed(image));
}

QIcon LevelLinesGlyph() {
    QImage image = Transparent16();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const std::array<QColor, 3> rings = {QColor(24, 72, 168), QColor(40, 140, 60),
                                         QColor(200, 104, 40)};
    for (int i = 0; i < 3; ++i) {
        painter.setPen(QPen(rings[static_cast<std::size_t>(i)], 1.2));
        const double rx = 2.5 + 2.5 * i;
        const double ry = 1.8 + 2.0 * i;
        painter.drawEllipse(QPointF(8.0, 8.0), rx, ry);
    }
    return QIcon(QPixmap::fromImage(image));
}

QIcon DescentGlyph() {
    QImage image = Transparent16();
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        // A zig-zag path down to the minimum, as steepest descent walks.
        painter.setPen(QPen(QColor(160, 24, 24), 1.4));
        const QPointF path[] = {{1.5, 1.5}, {10, 4}, {5, 8.5}, {11, 10}, {8.5, 12.5}};
        painter.drawPolyline(path, 5);
        painter.setBrush(QColor(240, 200, 40));
        painter.setPen(QPen(QColor(96, 32, 0), 1.0));
        painter.drawEllipse(QPointF(11.0, 12.5), 3.0, 3.0);
    }
    const QPixmap normal = QPixmap::fromImage(image);
    QIcon icon(normal);
    icon.addPixmap(Greyed(normal), QIcon::Disabled);
    return icon;
}

QPixmap PanelPicture() {
    QImage image(136, 172, QImage::Format_RGB32);
    // Keep the picture's proportions: the map covers x in [-10, 10], y in [-12.6, 12.6].
    const double spanX = 10.0;
    const double spanY = spanX * 171.0 / 135.0;
    for (int row = 0; row < image.height(); ++row) {
        for (int col = 0; col < image.width(); ++col) {
            const double x = (2.0 * col / 135.0 - 1.0) * spanX;
            const double y = (1.0 - 2.0 * row / 171.0) * spanY;
            // The lowest ring lies near -0.22, the peak is 1.
            image.setPixel(col, row, HeightColour((Ripple(x, y) + 0.22) / 1.22));
        }
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto toPixel = [&](double x, double y) {
        return QPointF((x / spanX + 1.0) * 135.0 / 2.0, (1.0 - y / spanY) * 171.0 / 2.0);
    };
    // A descent from a ring's slope into the trough around the peak (the minimum of sin(r)/r lies
    // on the circle r = 4.49).
    const std::array<std::array<double, 2>, 6> trace = {
        {{-8.5, 9.0}, {-6.8, 6.2}, {-4.9, 5.5}, {-4.0, 3.9}, {-3.4, 3.2}, {-3.2, 3.15}}};
    painter.setPen(QPen(QColor(255, 255, 255), 1.0));
    for (std::size_t i = 1; i < trace.size(); ++i) {
        painter.drawLine(toPixel(trace[i - 1][0], trace[i - 1][1]),
                         toPixel(trace[i][0], trace[i][1]));
    }
    painter.setBrush(QColor(255, 64, 64));
    painter.setPen(QPen(QColor(255, 255, 255), 1.0));
    for (const auto& point : trace) {
        painter.drawEllipse(toPixel(point[0], point[1]), 2.5, 2.5);
    }
    painter.end();
    return Framed(image);
}

}  // namespace metopt::ui
