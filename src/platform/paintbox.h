#pragma once
// A drawing surface on the window: it owns a Canvas of its own size, runs OnPaint when the window
// system asks for a repaint, then shows the surface. Drawing on Surface() outside a paint
// schedules the surface to be shown.
#include <QWidget>
#include <functional>

#include "platform/canvas.h"

namespace metopt::platform {

class PaintBox : public QWidget {
  public:
    explicit PaintBox(QWidget* parent);

    // The canvas, of the box's current size (a new size starts in the window's background).
    Canvas& Surface();

    std::function<void()> OnPaint;
    std::function<void(int x, int y)> OnMouseMove;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void MatchSurfaceToSize();

    Canvas surface_;
    bool inPaint_ = false;
};

}  // namespace metopt::platform
