#pragma once
// A drawing surface on the window: it owns a Canvas of its own size, runs OnPaint when the window
// system asks for a repaint, then shows the surface. Drawing on Surface() outside a paint
// schedules the surface to be shown.
#include <QPoint>
#include <QWidget>
#include <functional>
#include <optional>

#include "platform/canvas.h"
#include "platform/eventguard.h"
#include "platform/wheelnotches.h"

namespace metopt::platform {

class PaintBox : public QWidget {
  public:
    explicit PaintBox(QWidget* parent);

    // The canvas, of the box's current size (a new size starts in the window's background).
    Canvas& Surface();

    // While a command draws on the surface (from several threads at times), a repaint that the
    // command's own status texts bring must neither run OnPaint nor read the surface: it shows the
    // picture as it stood when the command began. The scopes nest; the last end shows the surface.
    class DrawingScope {
      public:
        explicit DrawingScope(PaintBox& box);
        ~DrawingScope();
        DrawingScope(const DrawingScope&) = delete;
        DrawingScope& operator=(const DrawingScope&) = delete;

      private:
        PaintBox& box_;
    };

    std::function<void()> OnPaint;
    std::function<void(int x, int y)> OnMouseMove;
    // A press of the left button alone.
    std::function<void(int x, int y)> OnLeftClick;
    // Whole notches of the mouse wheel (positive turned away from the user), the pointer at (x, y).
    std::function<void(int x, int y, int notches)> OnWheel;
    // A drag with the middle button, or with the left one and Ctrl: the pointer's offset from where
    // it began, while it moves and when the button is released.
    std::function<void(int dx, int dy)> OnDrag;
    std::function<void(int dx, int dy)> OnDragEnd;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void MatchSurfaceToSize();

    Canvas surface_;
    PaintFailures paintFailures_;
    bool inPaint_ = false;
    int drawingDepth_ = 0;
    QImage shownWhileDrawing_;
    std::optional<QPoint> dragStart_;
    WheelNotches wheel_;
};

}  // namespace metopt::platform
