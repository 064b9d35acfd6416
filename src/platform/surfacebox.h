#pragma once
// A picture that the pointer turns: OnPaint draws it on a canvas of the box's size when the window
// system asks for a repaint; a drag with the left button reports each move, the wheel its notches
// and a double-click its wish for the first view.
#include <QPoint>
#include <QWidget>
#include <functional>
#include <optional>

#include "platform/canvas.h"
#include "platform/eventguard.h"
#include "platform/wheelnotches.h"

namespace metopt::platform {

class SurfaceBox : public QWidget {
  public:
    explicit SurfaceBox(QWidget* parent);

    // The canvas as the last paint left it.
    const Canvas& Surface() const { return surface_; }

    std::function<void(Canvas& canvas)> OnPaint;
    // The pointer's move since the last report while the left button is held.
    std::function<void(int dx, int dy)> OnTurn;
    std::function<void(int notches)> OnZoom;
    std::function<void()> OnReset;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    Canvas surface_;
    PaintFailures paintFailures_;
    std::optional<QPoint> dragAt_;
    WheelNotches wheel_;
};

}  // namespace metopt::platform
