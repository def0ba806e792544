#pragma once
// The drawing surface DrawDib paints on: a window, an image or a printer page.
// The core only sees this interface; the platform layer implements it with
// Qt, tests with a recording fake.
//
// Coordinates are device units with y growing downwards. Nothing handed to a
// device call is kept after the call returns: the device must draw (or copy)
// the pixels before it returns, since the caller reuses its buffers.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/TDibRecord.h"

namespace zb {

// A rectangle of device units; right and bottom are exclusive.
struct DeviceRect {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
};

// A band of destination rows, top row first. `stride` runs from one row to the
// next one down and may be negative (rows of a DIB lie bottom-up).
struct DibRows {
    const uint8_t* top = nullptr;
    ptrdiff_t stride = 0;
    int32_t width = 0;
    int32_t height = 0;
    int bitCount = 24;
    // Colour table of 1-, 4- and 8-bit rows (2^bitCount entries), else nullptr.
    const TRgbQuad* colors = nullptr;
};

// What the last resort of DrawDib (a device bitmap of the whole picture,
// stretched onto the device) reports.
enum class BltResult {
    Ok,
    NoBitmap,      // the device bitmap could not be made
    NoSetDibits,   // the picture could not be put into it
    NoStretchBlt,  // it could not be stretched onto the device
};

class DibDevice {
public:
    virtual ~DibDevice() = default;

    // True for printers: they get every picture through StretchDib.
    virtual bool IsPrinter() const = 0;
    // Colour depth of the display; at 8 or fewer a 24-bit picture may be
    // halftoned first.
    virtual int ScreenBitsPerPixel() const = 0;
    // The part of the device that can change in this paint. Rows and columns
    // outside it are neither rendered nor sent.
    virtual DeviceRect VisibleRect() const = 0;

    // Draws the rows one device pixel per pixel with their top-left corner at
    // (x, y). Returns false when the device cannot take rows of this kind.
    virtual bool SetDibRows(int32_t x, int32_t y, const DibRows& rows) = 0;

    // Draws the source rectangle of `dib` scaled to the destination rectangle,
    // nearest neighbour. srcY is the lowest row of the rectangle in storage
    // order (0 = the picture's bottom row). Returns false on failure.
    virtual bool StretchDib(int32_t x, int32_t y, int32_t destW, int32_t destH, const TDibRecord& dib,
                            int32_t srcX, int32_t srcY, int32_t srcW, int32_t srcH) = 0;

    // How the device likes the rows of 24-bit pictures: 24 (blue, green, red)
    // or 32 (blue, green, red, 255), which many screens take without
    // converting.
    virtual int RowBitCount24() const { return 24; }

    // Whether SetDibRows may be used as the first fallback of a failed
    // StretchDib.
    virtual bool CanSetDibRows() const { return true; }

    // Last resort: the whole picture into a bitmap of the device's own kind,
    // stretched from there. The rectangle is given as in StretchDib.
    virtual BltResult StretchBltDib(int32_t x, int32_t y, int32_t destW, int32_t destH, const TDibRecord& dib,
                                    int32_t srcX, int32_t srcY, int32_t srcW, int32_t srcH) = 0;

    // A failure the user is to be told about, in German.
    virtual void ReportFailure(const std::string& message) = 0;
};

} // namespace zb
