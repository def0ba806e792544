#include "output/BmpWriter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace zb {

namespace {

constexpr int64_t kHeaderBytes = 14 + 40; // file header, BITMAPINFOHEADER

// Rows copied into one write: a few megabytes, however wide the sheet.
constexpr int64_t kSliceBytes = int64_t{8} << 20;

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

} // namespace

BmpWriter::BmpWriter(QIODevice& device, int width, int height, double dpi)
    : RasterEncoder(device, width, height, dpi), stride_((int64_t(width) * 3 + 3) & ~int64_t{3}) {}

EncodeResult BmpWriter::Begin() {
    if (width_ <= 0 || height_ <= 0) return EncodeResult::Refused;
    const int64_t fileSize = kHeaderBytes + stride_ * height_;
    if (fileSize > int64_t{0xFFFFFFFF}) return EncodeResult::TooLarge;
    const uint32_t perMetre = dpi_ > 0 ? uint32_t(std::lround(dpi_ / 0.0254)) : 0;
    std::vector<uint8_t> h{'B', 'M'};
    PutLittleEndian(h, uint32_t(fileSize), 4);
    PutLittleEndian(h, 0, 4);                              // reserved
    PutLittleEndian(h, uint32_t(kHeaderBytes), 4);         // where the pixels start
    PutLittleEndian(h, 40, 4);                             // BITMAPINFOHEADER
    PutLittleEndian(h, uint32_t(width_), 4);
    PutLittleEndian(h, uint32_t(height_), 4);              // positive: bottom-up
    PutLittleEndian(h, 1, 2);                              // planes
    PutLittleEndian(h, 24, 2);                             // bits per pixel
    PutLittleEndian(h, 0, 4);                              // BI_RGB, uncompressed
    PutLittleEndian(h, uint32_t(stride_ * height_), 4);
    PutLittleEndian(h, perMetre, 4);
    PutLittleEndian(h, perMetre, 4);
    PutLittleEndian(h, 0, 4);                              // colours used
    PutLittleEndian(h, 0, 4);                              // important colours
    if (!device_.seek(0)) return EncodeResult::Refused;
    return device_.write(reinterpret_cast<const char*>(h.data()), qint64(h.size())) == qint64(h.size())
               ? EncodeResult::Done
               : EncodeResult::Refused;
}

EncodeResult BmpWriter::AddRows(RasterView band) {
    const int sliceRows = int(std::clamp<int64_t>(kSliceBytes / stride_, 1, band.height));
    std::vector<uint8_t> slice(size_t(stride_) * size_t(sliceRows), 0);
    for (int y0 = 0; y0 < band.height; y0 += sliceRows) {
        const int y1 = std::min(band.height, y0 + sliceRows);
        // Stored bottom-up: the slice's lowest row comes first in the file.
        for (int y = y0; y < y1; ++y)
            std::memcpy(slice.data() + size_t(stride_) * size_t(y1 - 1 - y), band.row(y), size_t(width_) * 3);
        const int lowestStored = height_ - 1 - (rowsDone_ + y1 - 1);
        const qint64 bytes = qint64(stride_) * (y1 - y0);
        if (!device_.seek(kHeaderBytes + stride_ * lowestStored) ||
            device_.write(reinterpret_cast<const char*>(slice.data()), bytes) != bytes)
            return EncodeResult::Refused;
    }
    rowsDone_ += band.height;
    return EncodeResult::Done;
}

EncodeResult BmpWriter::Finish() { return rowsDone_ == height_ ? EncodeResult::Done : EncodeResult::Refused; }

} // namespace zb
