#include "viewer/DevicePixelScope.h"

#include <QPainter>
#include <QWidget>

namespace zb {

double PixelRatio(const QWidget* widget) { return widget ? widget->devicePixelRatioF() : 1.0; }

int ScreenPpiOf(const QWidget* widget) { return DevicePpi(widget->logicalDpiX(), PixelRatio(widget)); }

QSize SurfaceSizeFor(RasterSize device, const QWidget* widget) {
    const RasterSize logical = LogicalSize(device, PixelRatio(widget));
    return {logical.width, logical.height};
}

DevicePixelScope::DevicePixelScope(QPainter& painter, const QWidget* widget, const QRect& exposed)
    : painter_(painter), ratio_(PixelRatio(widget)) {
    painter_.save();
    painter_.scale(1.0 / ratio_, 1.0 / ratio_);
    const PixelRect r = DeviceRect({exposed.x(), exposed.y(), exposed.width(), exposed.height()}, ratio_);
    exposed_ = QRect(r.x, r.y, r.width, r.height);
}

DevicePixelScope::~DevicePixelScope() { painter_.restore(); }

} // namespace zb
