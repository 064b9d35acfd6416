#pragma once
// A drawing surface over a QImage (RGB32) with exactly the operations the program draws with.
// Colours are packed as R + G*256 + B*65536. Lines, rectangles and ellipses are our own integer
// rasterisation (pixel-exact and testable); only text goes through QPainter.
#include <QFont>
#include <QImage>
#include <cstdint>
#include <string>

namespace metopt::platform {

class Canvas {
  public:
    // An off-screen image of the given size, filled with fillColor.
    Canvas(int width, int height, std::int32_t fillColor = 0);

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }

    // New size; the old pixels are dropped and the surface is filled with fillColor.
    void Resize(int width, int height, std::int32_t fillColor);
    void Fill(std::int32_t color);

    void SetPenColor(std::int32_t color) { pen_ = color; }
    void SetBrushColor(std::int32_t color) { brush_ = color; }
    void SetFontColor(std::int32_t color) { fontColor_ = color; }
    std::int32_t PenColor() const { return pen_; }
    std::int32_t BrushColor() const { return brush_; }
    std::int32_t FontColor() const { return fontColor_; }

    // Outline with the pen, inside filled with the brush; right and bottom edges (x2, y2) excluded.
    void Rectangle(int x1, int y1, int x2, int y2);
    // Ellipse inscribed in the box (x1, y1)-(x2, y2), right and bottom excluded: outline with the
    // pen, inside with the brush. A 9x9 box gives a symmetric circle nine pixels across.
    void Ellipse(int x1, int y1, int x2, int y2);
    // A one-pixel line from the current position to (x, y) with the pen, end pixel not set; the
    // current position becomes (x, y).
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // A convex or concave polygon filled with the brush, no outline: every pixel whose centre
    // (x + 0.5, y + 0.5) lies inside it by the even-odd rule, the corners given in pixels with
    // fractions. Polygons of more than MaxPolygonCorners corners, or with a corner that is not
    // finite, are not drawn.
    static constexpr int MaxPolygonCorners = 16;
    void FillPolygon(const double* xs, const double* ys, int corners);

    // Pixels outside the surface are ignored by SetPixel and read as InvalidColor by GetPixel.
    static constexpr std::int32_t InvalidColor = -1;
    void SetPixel(int x, int y, std::int32_t color);
    std::int32_t GetPixel(int x, int y) const;

    // Text with its top-left corner at (x, y) in the font colour, on an opaque box of the brush
    // colour; and a text's extent in the canvas's font.
    void TextOut(int x, int y, const std::string& text);
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;
    void SetFont(const QFont& font) { font_ = font; }
    const QFont& Font() const { return font_; }

    // Copies the rectangle (x, y, w, h) of source onto the same rectangle here, pixel for pixel,
    // clipped to both surfaces.
    void CopyRect(const Canvas& source, int x, int y, int w, int h);

    const QImage& Image() const { return image_; }
    QImage& Image() { return image_; }

    // The window's 8 pt design font.
    static QFont DefaultFont();

  private:
    void HLine(int x1, int x2, int y, std::int32_t color);  // x1..x2 inclusive, clipped

    QImage image_;
    QFont font_;
    std::int32_t pen_ = 0;
    std::int32_t brush_ = 0xFFFFFF;
    std::int32_t fontColor_ = 0;
    int penX_ = 0;
    int penY_ = 0;
};

// Packed colour <-> QRgb; the first inline, as the fill converts every pixel's colour.
inline QRgb ToQRgb(std::int32_t color) {
    const auto packed = static_cast<std::uint32_t>(color);
    return qRgb(static_cast<int>(packed & 0xFFu), static_cast<int>((packed >> 8) & 0xFFu),
                static_cast<int>((packed >> 16) & 0xFFu));
}
std::int32_t FromQRgb(QRgb rgb);

}  // namespace metopt::platform
