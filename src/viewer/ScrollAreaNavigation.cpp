#include "viewer/ScrollAreaNavigation.h"

#include <QScrollArea>
#include <QScrollBar>

#include "workspace/ViewNavigation.h"

namespace zb {

void WheelScrollArea(QScrollArea* box, int notches) {
    if (!box) return;
    QScrollBar* bar = box->verticalScrollBar();
    bar->setValue(WheelScroll({bar->value(), box->widget() ? box->widget()->height() : 0, bar->maximum()}, notches));
}

void ZoomScrollAreaAbout(QScrollArea* box, QPoint viewportPos, const std::function<void()>& zoom) {
    if (!box || !box->widget()) {
        zoom();
        return;
    }
    QScrollBar* h = box->horizontalScrollBar();
    QScrollBar* v = box->verticalScrollBar();
    const QSize before = box->widget()->size();
    const int sx = h->value(), sy = v->value();
    zoom();
    const QSize after = box->widget()->size();
    h->setValue(ScrollForZoomAbout(sx, viewportPos.x(), before.width(), after.width()));
    v->setValue(ScrollForZoomAbout(sy, viewportPos.y(), before.height(), after.height()));
}

} // namespace zb
