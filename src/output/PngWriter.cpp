#include "output/PngWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

namespace zb {

namespace {

void PutBigEndian(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

bool WriteChunk(QIODevice& device, const char type[4], const uint8_t* data, size_t size) {
    std::vector<uint8_t> head;
    PutBigEndian(head, uint32_t(size));
    head.insert(head.end(), type, type + 4);
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    // crc32 takes at most 4 GB at a time; chunks here are far smaller.
    if (size) crc = crc32(crc, data, uInt(size));
    std::vector<uint8_t> tail;
    PutBigEndian(tail, uint32_t(crc));
    return device.write(reinterpret_cast<const char*>(head.data()), qint64(head.size())) == qint64(head.size()) &&
           (size == 0 || device.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size)) &&
           device.write(reinterpret_cast<const char*>(tail.data()), 4) == 4;
}

// IDAT chunks of at most 1 GB: a chunk's length must stay below 2^31.
bool WriteData(QIODevice& device, const uint8_t* data, size_t size) {
    constexpr size_t kMaxChunk = size_t{1} << 30;
    for (size_t at = 0; at < size; at += kMaxChunk)
        if (!WriteChunk(device, "IDAT", data + at, std::min(kMaxChunk, size - at))) return false;
    return true;
}

} // namespace

PngWriter::PngWriter(QIODevice& device, int width, int height, double dpi)
    : RasterEncoder(device, width, height, dpi) {}

EncodeResult PngWriter::Begin() {
    if (width_ <= 0 || height_ <= 0) return EncodeResult::Refused;
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (device_.write(reinterpret_cast<const char*>(kSignature), 8) != 8) return EncodeResult::Refused;
    std::vector<uint8_t> header;
    PutBigEndian(header, uint32_t(width_));
    PutBigEndian(header, uint32_t(height_));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, no interlace
    if (!WriteChunk(device_, "IHDR", header.data(), header.size())) return EncodeResult::Refused;
    if (dpi_ > 0) {
        std::vector<uint8_t> phys;
        const uint32_t perMetre = uint32_t(std::lround(dpi_ / 0.0254));
        PutBigEndian(phys, perMetre);
        PutBigEndian(phys, perMetre);
        phys.push_back(1); // metres
        if (!WriteChunk(device_, "pHYs", phys.data(), phys.size())) return EncodeResult::Refused;
    }
    // One zlib stream over all bands: its two-byte header (deflate, 32K
    // window, level "fastest"), the pieces as they come, and at the end the
    // checksum of everything.
    return WriteChunk(device_, "IDAT", RowDeflater::kHeader, 2) ? EncodeResult::Done : EncodeResult::Refused;
}

EncodeResult PngWriter::AddRows(RasterView band) {
    if (band.empty()) return EncodeResult::Done;
    const bool lastBand = rowsDone_ + band.height == height_;
    const auto written = deflater_.Add(band, lastBand, [&](const uint8_t* data, size_t size) {
        return WriteData(device_, data, size);
    });
    if (written == RowDeflater::Result::NoMemory) return EncodeResult::NoMemory;
    if (written == RowDeflater::Result::Refused) return EncodeResult::Refused;
    rowsDone_ += band.height;
    return EncodeResult::Done;
}

EncodeResult PngWriter::Finish() {
    if (rowsDone_ != height_) return EncodeResult::Refused;
    const std::vector<uint8_t> checksum = deflater_.Trailer();
    if (!WriteChunk(device_, "IDAT", checksum.data(), 4)) return EncodeResult::Refused;
    return WriteChunk(device_, "IEND", nullptr, 0) ? EncodeResult::Done : EncodeResult::Refused;
}

bool WritePng(RasterView raster, QIODevice& device, double dpi) {
    if (raster.empty()) return false;
    try {
        PngWriter writer(device, raster.width, raster.height, dpi);
        return writer.Begin() == EncodeResult::Done && writer.AddRows(raster) == EncodeResult::Done &&
               writer.Finish() == EncodeResult::Done;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace zb
