#pragma once
// A PNG writer for large sheets, fed band by band: the rows of each band are
// deflated on all cores (RowDeflater) and written as IDAT chunks at once,
// straight from the rows, without a copy of the band. 24-bit RGB, the
// resolution recorded in a pHYs chunk.
//
// Ownership: borrows the device for its lifetime; keeps only the last row
// of the previous band (the "Up" filter's row above).
#include <QIODevice>

#include "output/RasterEncoder.h"
#include "output/RowDeflater.h"

namespace zb {

class PngWriter : public RasterEncoder {
public:
    // dpi > 0 records the resolution.
    PngWriter(QIODevice& device, int width, int height, double dpi);

    EncodeResult Begin() override;
    EncodeResult AddRows(RasterView rows) override;
    EncodeResult Finish() override;

private:
    RowDeflater deflater_; // one stream over all bands
};

// Writes a whole raster as a PNG into `device`. False when memory ran out or
// the device refused a write.
bool WritePng(RasterView raster, QIODevice& device, double dpi);

} // namespace zb
