#include "output/PngWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "base/ParallelRows.h"

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
bool WriteData(QIODevice& device, const std::vector<uint8_t>& data) {
    constexpr size_t kMaxChunk = size_t{1} << 30;
    for (size_t at = 0; at < data.size(); at += kMaxChunk)
        if (!WriteChunk(device, "IDAT", data.data() + at, std::min(kMaxChunk, data.size() - at))) return false;
    return true;
}

struct Piece {
    int y0 = 0, y1 = 0;         // rows of the band
    std::vector<uint8_t> data;  // raw deflate, ending on a byte boundary
    uLong adler = 1;            // of the piece's uncompressed bytes
    uLong length = 0;
    bool ok = false;
};

void RgbRow(const uint8_t* src, int width, uint8_t* out) {
    for (int x = 0; x < width; ++x) {
        out[3 * size_t(x)] = src[3 * x + 2];
        out[3 * size_t(x) + 1] = src[3 * x + 1];
        out[3 * size_t(x) + 2] = src[3 * x];
    }
}

// Filters and deflates rows [y0, y1) of the band. `above` is the row over
// the band's first row (null for the picture's top row, zeros then). The
// last piece of the picture finishes the stream.
void CompressRows(RasterView band, const uint8_t* above, Piece& piece, bool last) {
    const size_t rgbBytes = size_t(band.width) * 3;
    std::vector<uint8_t> line(rgbBytes + 1), previous(rgbBytes, 0), current(rgbBytes);
    z_stream zs{};
    if (deflateInit2(&zs, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return;
    // Released however the piece ends, a vector that cannot grow included.
    struct StreamEnd {
        z_stream& stream;
        ~StreamEnd() { deflateEnd(&stream); }
    } streamEnd{zs};
    if (piece.y0 > 0)
        RgbRow(band.row(piece.y0 - 1), band.width, previous.data());
    else if (above)
        std::memcpy(previous.data(), above, rgbBytes);
    piece.data.resize(deflateBound(&zs, uLong(line.size())) + 64);
    size_t used = 0;
    bool failed = false;
    for (int y = piece.y0; y < piece.y1 && !failed; ++y) {
        RgbRow(band.row(y), band.width, current.data());
        line[0] = 2; // "Up": each byte minus the byte above it
        for (size_t i = 0; i < rgbBytes; ++i) line[i + 1] = uint8_t(current[i] - previous[i]);
        std::swap(current, previous);
        piece.adler = adler32(piece.adler, line.data(), uInt(line.size()));
        piece.length += uLong(line.size());
        zs.next_in = line.data();
        zs.avail_in = uInt(line.size());
        const int flush = y + 1 < piece.y1 ? Z_NO_FLUSH : (last ? Z_FINISH : Z_FULL_FLUSH);
        for (;;) {
            if (piece.data.size() - used < 1024) piece.data.resize(piece.data.size() * 2 + 4096);
            zs.next_out = piece.data.data() + used;
            zs.avail_out = uInt(std::min<size_t>(piece.data.size() - used, 1u << 30));
            const int r = deflate(&zs, flush);
            used = size_t(zs.next_out - piece.data.data());
            if (r == Z_STREAM_ERROR) {
                failed = true;
                break;
            }
            if (flush == Z_FINISH ? r == Z_STREAM_END : (zs.avail_in == 0 && zs.avail_out > 0)) break;
        }
    }
    piece.data.resize(used);
    piece.ok = !failed;
}

// The pieces are compressed on worker threads, where an exception would end
// the program: memory running short marks the piece as failed instead.
void Compress(RasterView band, const uint8_t* above, Piece& piece, bool last) {
    piece.ok = false;
    try {
        CompressRows(band, above, piece, last);
    } catch (const std::bad_alloc&) {
        piece.data = {};
        piece.ok = false;
    }
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
    const uint8_t zlibHeader[2] = {0x78, 0x01};
    return WriteChunk(device_, "IDAT", zlibHeader, 2) ? EncodeResult::Done : EncodeResult::Refused;
}

EncodeResult PngWriter::AddRows(RasterView band) {
    if (band.empty()) return EncodeResult::Done;
    // The band that holds the picture's last row closes the deflate stream.
    const bool lastBand = rowsDone_ + band.height == height_;
    const int pieceCount = std::clamp(band.height / 256, 1, 2 * ParallelThreadCount());
    const uint8_t* above = above_.empty() ? nullptr : above_.data();
    std::vector<Piece> pieces(static_cast<size_t>(pieceCount));
    for (int p = 0; p < pieceCount; ++p) {
        pieces[size_t(p)].y0 = int(int64_t(band.height) * p / pieceCount);
        pieces[size_t(p)].y1 = int(int64_t(band.height) * (p + 1) / pieceCount);
    }
    const int64_t bytes = int64_t(band.width) * 3 * band.height;
    auto isLast = [&](int p) { return lastBand && p + 1 == pieceCount; };
    auto run = [&](int p0, int p1) {
        for (int p = p0; p < p1; ++p) Compress(band, above, pieces[size_t(p)], isLast(p));
    };
    ParallelRows(pieceCount, pieceCount > 1 ? bytes : 0, run);
    for (const Piece& p : pieces) {
        if (!p.ok) return EncodeResult::NoMemory;
        adler_ = adler32_combine(adler_, p.adler, z_off_t(p.length));
    }
    for (const Piece& p : pieces)
        if (!WriteData(device_, p.data)) return EncodeResult::Refused;
    above_.resize(size_t(band.width) * 3);
    RgbRow(band.row(band.height - 1), band.width, above_.data());
    rowsDone_ += band.height;
    return EncodeResult::Done;
}

EncodeResult PngWriter::Finish() {
    if (rowsDone_ != height_) return EncodeResult::Refused;
    std::vector<uint8_t> checksum;
    PutBigEndian(checksum, uint32_t(adler_));
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
