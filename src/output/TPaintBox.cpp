#include "output/TPaintBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace zb {

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent) {}

void TPaintBox::paintEvent(QPaintEvent* event) {
    if (!OnPaint) return;
    QPainter painter(this);
    OnPaint(painter, event->rect());
}

void TPaintBox::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(event->position().toPoint(), event->button());
    event->accept();
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMove(event->position().toPoint(), event->buttons());
    event->accept();
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(event->position().toPoint(), event->button());
    event->accept();
}

} // namespace zb
