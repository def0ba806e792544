#pragma once
// DrawDib's device on a QPainter: a widget, an image, a printer or a PDF file.
//
//   zb::QtPainterDibDevice device(painter, event->rect());
//   zb::DrawDib(device, x, y, w, h, dib, 0, 0, DibWidth(dib), DibHeight(dib), false, false);
//
// Coordinates are the painter's logical ones; its transform and clip apply.
// Rows are drawn straight from DrawDib's row buffer (wrapped, not copied).
// The device borrows the painter for its own lifetime and keeps nothing of the
// pictures it is given.
#include <QRect>
#include <string>

#include "imaging/DibDevice.h"

class QPainter;

namespace zb {

class QtPainterDibDevice : public DibDevice {
public:
    // `exposed`: the part this paint may change (for a widget, the paint
    // event's rectangle), in the painter's logical coordinates. Invalid or
    // empty: the whole device. The painter's clip narrows it further.
    explicit QtPainterDibDevice(QPainter& painter, const QRect& exposed = QRect());

    bool IsPrinter() const override { return printer_; }
    int ScreenBitsPerPixel() const override { return screenBits_; }
    DeviceRect VisibleRect() const override { return visible_; }
    // 32-bit rows draw onto the screen's backing store without conversion.
    int RowBitCount24() const override { return 32; }

    bool SetDibRows(int32_t x, int32_t y, const DibRows& rows) override;
    bool StretchDib(int32_t x, int32_t y, int32_t destW, int32_t destH, const TDibRecord& dib, int32_t srcX,
                    int32_t srcY, int32_t srcW, int32_t srcH) override;
    BltResult StretchBltDib(int32_t x, int32_t y, int32_t destW, int32_t destH, const TDibRecord& dib,
                            int32_t srcX, int32_t srcY, int32_t srcW, int32_t srcH) override;
    void ReportFailure(const std::string& message) override { failure_ = message; }

    // The last failure DrawDib reported (German); empty when there was none.
    // Callers with a window show it in a message box.
    const std::string& Failure() const { return failure_; }

private:
    QPainter& painter_;
    bool printer_ = false;
    int screenBits_ = 32;
    DeviceRect visible_;
    std::string failure_;
};

} // namespace zb
