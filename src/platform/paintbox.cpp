#include "platform/paintbox.h"

#include <QMouseEvent>
#include <QPainter>

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
    if (!OnMouseMove) {
        return;
    }
    const QPoint pos = event->position().toPoint();
    RunEvent([this, pos] { OnMouseMove(pos.x(), pos.y()); });
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
    if (!OnLeftClick || event->button() != Qt::LeftButton || event->modifiers() != Qt::NoModifier) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    RunEvent([this, pos] { OnLeftClick(pos.x(), pos.y()); });
}

void PaintBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    MatchSurfaceToSize();
}

}  // namespace metopt::platform
