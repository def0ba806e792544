#include "app/PaintBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace zb {

PaintBox::PaintBox(QWidget* parent) : QWidget(parent) {
    // Every pixel is painted by the owner; no background fill first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::paintEvent(QPaintEvent* event) {
    if (!onPaint) return;
    QPainter painter(this);
    onPaint(painter, event->rect());
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
    if (onMousePress) onMousePress(event);
}

void PaintBox::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) onMouseMove(event);
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event) {
    if (onMouseRelease) onMouseRelease(event);
}

void PaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (onDoubleClick) onDoubleClick(event);
    else QWidget::mouseDoubleClickEvent(event);
}

} // namespace zb
