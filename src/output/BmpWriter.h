#pragma once
// A 24-bit BMP writer fed band by band. BMP stores its rows bottom-up, but
// its size is known from the start: the headers go first, and each band's
// rows are written at their own place counted from the end of the file, so
// the bands may come top-down and no more than a slice of one is copied.
//
// Ownership: borrows the device (random access) for its lifetime.
#include <QIODevice>
#include <cstdint>

#include "output/RasterEncoder.h"

namespace zb {

class BmpWriter : public RasterEncoder {
public:
    // dpi > 0 records pixels per metre.
    BmpWriter(QIODevice& device, int width, int height, double dpi);

    // TooLarge when the file would exceed the 4 GB a BMP can describe.
    EncodeResult Begin() override;
    EncodeResult AddRows(RasterView rows) override;
    EncodeResult Finish() override;

private:
    int64_t stride_;  // bytes per stored row, padded to four
};

} // namespace zb
