#include "viewer/PaintBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include "workspace/ViewNavigation.h"

namespace zb {

PaintBox::PaintBox(QWidget* parent, Fill fill) : QWidget(parent) {
    if (fill == Fill::ByOwner) setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::PanWithin(QScrollArea* area, ViewNavigation* navigation) {
    panArea_ = area;
    navigation_ = navigation;
}

void PaintBox::paintEvent(QPaintEvent* event) {
    if (!onPaint) return;
    QPainter painter(this);
    onPaint(painter, event->rect());
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
    if (navigation_) {
        const QPoint at = event->position().toPoint();
        navigation_->Press(at.x(), at.y());
    }
    if (onMousePress) onMousePress(event);
}

void PaintBox::mouseMoveEvent(QMouseEvent* event) {
    if (navigation_ && panArea_ && navigation_->Dragging()) {
        const QPoint at = event->position().toPoint();
        QScrollBar* h = panArea_->horizontalScrollBar();
        QScrollBar* v = panArea_->verticalScrollBar();
        const ScrollPoint p =
            navigation_->DragTo({h->value(), width(), h->maximum()}, {v->value(), height(), v->maximum()}, at.x(), at.y());
        h->setValue(p.x);
        v->setValue(p.y);
    }
    if (onMouseMove) onMouseMove(event);
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event) {
    if (navigation_) navigation_->Release();
    if (onMouseRelease) onMouseRelease(event);
}

void PaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (onDoubleClick) onDoubleClick(event);
    else QWidget::mouseDoubleClickEvent(event);
}

} // namespace zb
