#pragma once
// A TIFF writer fed band by band: baseline RGB, 8 bits a sample, strips of
// 64 rows, each a zlib stream of horizontally differenced rows (compression
// "Adobe Deflate" with predictor 2, lossless). Complete strips are deflated
// on all cores as the bands come; the directory goes at the end of the file
// and the header's pointer to it is written last.
//
// Ownership: borrows the device (random access) for its lifetime; holds the
// rows of one unfinished strip and the offsets of the strips written.
#include <QIODevice>
#include <cstdint>
#include <vector>

#include "output/RasterEncoder.h"

namespace zb {

class TiffWriter : public RasterEncoder {
public:
    static constexpr int kRowsPerStrip = 64;

    // dpi > 0 records the resolution in dots per inch.
    TiffWriter(QIODevice& device, int width, int height, double dpi);

    EncodeResult Begin() override;
    // TooLarge once the file would pass the 4 GB its offsets can address.
    EncodeResult AddRows(RasterView rows) override;
    EncodeResult Finish() override;

private:
    // Deflates and writes strips of `rows` (pointers to raster rows, kRowsPerStrip
    // a strip, the last possibly fewer), `count` of them.
    EncodeResult WriteStrips(const std::vector<const uint8_t*>& rows, int count);
    // Strips first .. first + count - 1 of `rows`, deflated side by side.
    EncodeResult WriteStripGroup(const std::vector<const uint8_t*>& rows, int first, int count);
    EncodeResult WriteDirectory();

    int64_t end_ = 0;                   // bytes written so far
    std::vector<uint8_t> pending_;      // RGB rows of the strip not yet complete
    int pendingRows_ = 0;
    std::vector<uint32_t> stripOffsets_, stripBytes_;
};

} // namespace zb
