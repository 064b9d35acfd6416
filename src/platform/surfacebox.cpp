#include "platform/surfacebox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace metopt::platform {

SurfaceBox::SurfaceBox(QWidget* parent) : QWidget(parent), surface_(0, 0) {
    // The picture covers the whole box: Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfaceBox::paintEvent(QPaintEvent*) {
    if (surface_.Width() != width() || surface_.Height() != height())
        surface_.Resize(width(), height(), 0xFFFFFF);
    if (OnPaint)
        RunPaint([this] { OnPaint(surface_); }, paintFailures_, *this);
    QPainter(this).drawImage(0, 0, surface_.Image());
}

void SurfaceBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragAt_ = event->position().toPoint();
}

void SurfaceBox::mouseMoveEvent(QMouseEvent* event) {
    if (!dragAt_ || !(event->buttons() & Qt::LeftButton)) {
        dragAt_.reset();
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    const QPoint move = pos - *dragAt_;
    dragAt_ = pos;
    if (OnTurn && !move.isNull())
        RunEvent([this, move] { OnTurn(move.x(), move.y()); });
}

void SurfaceBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragAt_.reset();
    QWidget::mouseReleaseEvent(event);
}

void SurfaceBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !OnReset) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    RunEvent([this] { OnReset(); });
}

void SurfaceBox::wheelEvent(QWheelEvent* event) {
    const int notches = wheel_.Add(event->angleDelta().y());
    if (notches != 0 && OnZoom)
        RunEvent([this, notches] { OnZoom(notches); });
    event->accept();
}

}  // namespace metopt::platform
