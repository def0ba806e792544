#include "platform/QtPainterDibDevice.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QScreen>
#include <cmath>

#include "platform/QtDibImage.h"

namespace zb {

using platform::WrapDibRows;
using platform::WrapDibStoredRows;

namespace {

// Logical size of the paint device: images and pixmaps count physical pixels.
QRectF DeviceArea(const QPaintDevice& device) {
    qreal w = device.width();
    qreal h = device.height();
    const int type = device.devType();
    if (type == QInternal::Image || type == QInternal::Pixmap) {
        const qreal ratio = device.devicePixelRatioF();
        if (ratio > 0) {
            w /= ratio;
            h /= ratio;
        }
    }
    return QRectF(0, 0, w, h);
}

} // namespace

QtPainterDibDevice::QtPainterDibDevice(QPainter& painter, const QRect& exposed) : painter_(painter) {
    QPaintDevice* device = painter.device();
    const QPaintEngine* engine = painter.paintEngine();
    printer_ = (device && device->devType() == QInternal::Printer) ||
               (engine && engine->type() == QPaintEngine::Pdf);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) screenBits_ = screen->depth();

    // Visible part in logical coordinates: the device (through the inverse of
    // the painter's transform), the exposed rectangle and the clip.
    QRectF area;
    if (device) {
        bool invertible = false;
        const QTransform inverse = painter.worldTransform().inverted(&invertible);
        area = invertible ? inverse.mapRect(DeviceArea(*device)) : DeviceArea(*device);
    }
    if (exposed.isValid() && !exposed.isEmpty()) area = area.isNull() ? QRectF(exposed) : area & QRectF(exposed);
    if (painter.hasClipping()) area &= painter.clipBoundingRect();
    if (area.isEmpty()) {
        visible_ = DeviceRect{};
    } else {
        visible_ = DeviceRect{int64_t(std::floor(area.left())), int64_t(std::floor(area.top())),
                              int64_t(std::ceil(area.right())), int64_t(std::ceil(area.bottom()))};
    }
}

bool QtPainterDibDevice::SetDibRows(int32_t x, int32_t y, const DibRows& rows) {
    if (!painter_.isActive() || !rows.top || rows.width <= 0 || rows.height <= 0) return false;
    if (rows.stride > 0) {
        const QImage image = WrapDibRows(rows);
        if (image.isNull()) return false;
        painter_.drawImage(QPoint(x, y), image);
        return true;
    }
    // Bottom-up rows: one row at a time, each wrapped where it lies.
    for (int32_t r = 0; r < rows.height; ++r) {
        DibRows one = rows;
        one.top = rows.top + ptrdiff_t(r) * rows.stride;
        one.stride = -rows.stride;
        one.height = 1;
        const QImage image = WrapDibRows(one);
        if (image.isNull()) return false;
        painter_.drawImage(QPoint(x, y + r), image);
    }
    return true;
}

bool QtPainterDibDevice::StretchDib(int32_t x, int32_t y, int32_t destW, int32_t destH, const TDibRecord& dib,
                                    int32_t srcX, int32_t srcY, int32_t srcW, int32_t srcH) {
    if (!painter_.isActive() || destW <= 0 || destH <= 0 || srcW <= 0 || srcH <= 0) return false;
    const QImage stored = WrapDibStoredRows(dib);
    if (stored.isNull()) return false;
    // Image row r is stored row r (the picture upside down), so the source
    // rectangle is taken as it stands and drawn through a vertical flip.
    painter_.save();
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_.translate(x, qreal(y) + destH);
    painter_.scale(1, -1);
    painter_.drawImage(QRectF(0, 0, destW, destH), stored, QRectF(srcX, srcY, srcW, srcH));
    painter_.restore();
    return true;
}

BltResult QtPainterDibDevice::StretchBltDib(int32_t x, int32_t y, int32_t destW, int32_t destH,
                                            const TDibRecord& dib, int32_t srcX, int32_t srcY, int32_t srcW,
                                            int32_t srcH) {
    const int w = DibWidth(dib), h = DibHeight(dib);
    QImage bitmap(w, h, QImage::Format_RGB32);
    if (bitmap.isNull()) return BltResult::NoBitmap;
    const QImage picture = platform::DibToImage(dib);
    if (picture.isNull()) return BltResult::NoSetDibits;
    {
        QPainter fill(&bitmap);
        fill.drawImage(0, 0, picture);
    }
    if (!painter_.isActive()) return BltResult::NoStretchBlt;
    // The bitmap is top-down: the rectangle's top row is h - srcY - srcH.
    painter_.drawImage(QRectF(x, y, destW, destH), bitmap, QRectF(srcX, h - srcY - srcH, srcW, srcH));
    return BltResult::Ok;
}

} // namespace zb
