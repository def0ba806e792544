#pragma once
// While a DevicePixelScope lives, its painter draws in the screen's device
// pixels: a raster composed at DevicePpi lands one pixel to one pixel, however
// the desktop scales (the painter's scale is undone, not resampled).
//
// Ownership: borrows the painter, restores it when it goes.
#include <QRect>
#include <QSize>

#include "workspace/DeviceScale.h"

class QPainter;
class QWidget;

namespace zb {

// Device pixels per logical pixel of the widget's screen.
double PixelRatio(const QWidget* widget);
// The screen's pixels per inch where the widget is shown.
int ScreenPpiOf(const QWidget* widget);
// The logical size of a surface on `widget`'s screen showing `device` pixels.
QSize SurfaceSizeFor(RasterSize device, const QWidget* widget);

class DevicePixelScope {
public:
    // `exposed`: the part of the widget to paint, in its logical pixels.
    DevicePixelScope(QPainter& painter, const QWidget* widget, const QRect& exposed);
    ~DevicePixelScope();
    DevicePixelScope(const DevicePixelScope&) = delete;
    DevicePixelScope& operator=(const DevicePixelScope&) = delete;

    // The exposed part in device pixels.
    const QRect& Exposed() const { return exposed_; }
    double Ratio() const { return ratio_; }

private:
    QPainter& painter_;
    double ratio_;
    QRect exposed_;
};

} // namespace zb
