#pragma once
// The encoder of one picture format, fed a raster's rows from the top down in
// bands of any height, so that a large sheet never has to be held at once.
// Encoders write into a device they borrow; the device's own write errors are
// asked by the caller (see DescriptorDevice), an encoder only reports what it
// found itself.
//
// Ownership: an encoder borrows its device for its lifetime.
#include <QIODevice>

#include "base/RasterView.h"

namespace zb {

enum class EncodeResult {
    Done,
    NoMemory,  // an allocation failed; nothing of worth was written
    Refused,   // the encoder gave up for a reason of its own
    TooLarge,  // the picture exceeds what the format can hold
};

class RasterEncoder {
public:
    virtual ~RasterEncoder() = default;
    // Writes what comes before the first row (headers).
    virtual EncodeResult Begin() = 0;
    // The next rows, top-down; rows.width is the picture's width and the
    // rows are borrowed for the call only.
    virtual EncodeResult AddRows(RasterView rows) = 0;
    // Completes the file after the last row.
    virtual EncodeResult Finish() = 0;

protected:
    // dpi > 0 is the resolution to record.
    RasterEncoder(QIODevice& device, int width, int height, double dpi)
        : device_(device), width_(width), height_(height), dpi_(dpi) {}

    QIODevice& device_;
    const int width_, height_;
    double dpi_;
    int rowsDone_ = 0; // rows the encoder took so far
};

} // namespace zb
