#include "platform/paintbox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "platform/eventguard.h"

namespace metopt::platform {

PaintBox::PaintBox(QWidget* parent) : QWidget(parent), surface_(0, 0) {
    setMouseTracking(true);
    // The surface covers the whole box: Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

Canvas& PaintBox::Surface() {
    MatchSurfaceToSize();
    if (!inPaint_) {
        update();
    }
    return surface_;
}

void PaintBox::MatchSurfaceToSize() {
    if (surface_.Width() != width() || surface_.Height() != height()) {
        surface_.Resize(width(), height(), FromQRgb(palette().color(QPalette::Window).rgb()));
    }
}

PaintBox::DrawingScope::DrawingScope(PaintBox& box) : box_(box) {
    if (box_.drawingDepth_++ == 0) {
        box_.MatchSurfaceToSize();
        box_.shownWhileDrawing_ = box_.surface_.Image().copy();  // a deep copy: shares nothing
    }
}

PaintBox::DrawingScope::~DrawingScope() {
    if (--box_.drawingDepth_ == 0) {
        box_.shownWhileDrawing_ = QImage();
        box_.update();
    }
}

void PaintBox::paintEvent(QPaintEvent*) {
    if (drawingDepth_ > 0) {
        QPainter(this).drawImage(0, 0, shownWhileDrawing_);
        return;
    }
    MatchSurfaceToSize();
    inPaint_ = true;
    RunPaint(OnPaint, paintFailures_, *this);
    inPaint_ = false;
    QPainter painter(this);
    painter.drawImage(0, 0, surface_.Image());
}

void PaintBox::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (dragStart_ && OnDrag) {
        const QPoint offset = pos - *dragStart_;
        RunEvent([this, offset] { OnDrag(offset.x(), offset.y()); });
    }
    if (OnMouseMove)
        RunEvent([this, pos] { OnMouseMove(pos.x(), pos.y()); });
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const bool drag =
        event->button() == Qt::MiddleButton ||
        (event->button() == Qt::LeftButton && event->modifiers() == Qt::ControlModifier);
    if (drag && OnDragEnd) {
        dragStart_ = pos;
        return;
    }
    if (!OnLeftClick || event->button() != Qt::LeftButton || event->modifiers() != Qt::NoModifier) {
        QWidget::mousePressEvent(event);
        return;
    }
    RunEvent([this, pos] { OnLeftClick(pos.x(), pos.y()); });
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragStart_ || event->buttons() & (Qt::LeftButton | Qt::MiddleButton)) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QPoint offset = event->position().toPoint() - *dragStart_;
    dragStart_.reset();
    RunEvent([this, offset] { OnDragEnd(offset.x(), offset.y()); });
}

void PaintBox::wheelEvent(QWheelEvent* event) {
    if (!OnWheel) {
        QWidget::wheelEvent(event);
        return;
    }
    const int notches = wheel_.Add(event->angleDelta().y());
    const QPoint pos = event->position().toPoint();
    if (notches != 0)
        RunEvent([this, pos, notches] { OnWheel(pos.x(), pos.y(), notches); });
    event->accept();
}

void PaintBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    MatchSurfaceToSize();
}

}  // namespace metopt::platform
