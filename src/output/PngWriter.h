#pragma once
// A PNG writer for large sheets, fed band by band: the rows of each band are
// deflated in pieces on all cores (each piece ends on a byte boundary, so the
// pieces of all bands join into one zlib stream) and written as IDAT chunks
// at once, straight from the rows, without a copy of the band. 24-bit RGB,
// every row with the "Up" filter, zlib level 1, the resolution recorded in a
// pHYs chunk.
//
// Ownership: borrows the device for its lifetime; keeps only the last row
// of the previous band (the "Up" filter's row above).
#include <QIODevice>
#include <cstdint>
#include <vector>

#include "output/RasterEncoder.h"

namespace zb {

class PngWriter : public RasterEncoder {
public:
    // dpi > 0 records the resolution.
    PngWriter(QIODevice& device, int width, int height, double dpi);

    EncodeResult Begin() override;
    EncodeResult AddRows(RasterView rows) override;
    EncodeResult Finish() override;

private:
    unsigned long adler_ = 1;     // of all filtered rows so far
    std::vector<uint8_t> above_;  // RGB of the last row written, empty before the first
};

// Writes a whole raster as a PNG into `device`. False when memory ran out or
// the device refused a write.
bool WritePng(RasterView raster, QIODevice& device, double dpi);

} // namespace zb
