#include "output/PngWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <system_error>
#include <vector>

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

struct Piece {
    int y0 = 0, y1 = 0;
    std::vector<uint8_t> data; // raw deflate, ending on a byte boundary
    uLong adler = 1;           // of the piece's uncompressed bytes
    uLong length = 0;
    bool ok = false;
};

// Filters and deflates rows [y0, y1). The last piece finishes the stream.
void CompressRows(RasterView raster, Piece& piece, bool last) {
    const size_t rgbBytes = size_t(raster.width) * 3;
    std::vector<uint8_t> line(rgbBytes + 1), previous(rgbBytes, 0), current(rgbBytes);
    z_stream zs{};
    if (deflateInit2(&zs, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return;
    // Released however the piece ends, a vector that cannot grow included.
    struct StreamEnd {
        z_stream& stream;
        ~StreamEnd() { deflateEnd(&stream); }
    } streamEnd{zs};
    auto rgbRow = [&](int y, std::vector<uint8_t>& out) {
        const uint8_t* src = raster.row(y);
        for (int x = 0; x < raster.width; ++x) {
            out[3 * size_t(x)] = src[3 * x + 2];
            out[3 * size_t(x) + 1] = src[3 * x + 1];
            out[3 * size_t(x) + 2] = src[3 * x];
        }
    };
    if (piece.y0 > 0) rgbRow(piece.y0 - 1, previous);
    piece.data.resize(deflateBound(&zs, uLong(line.size())) + 64);
    size_t used = 0;
    bool failed = false;
    for (int y = piece.y0; y < piece.y1 && !failed; ++y) {
        rgbRow(y, current);
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
    if (piece.y0 == piece.y1 && last) {
        // An empty last piece still closes the stream.
        zs.next_in = nullptr;
        zs.avail_in = 0;
        zs.next_out = piece.data.data();
        zs.avail_out = uInt(piece.data.size());
        failed = deflate(&zs, Z_FINISH) != Z_STREAM_END;
        used = size_t(zs.next_out - piece.data.data());
    }
    piece.data.resize(used);
    piece.ok = !failed;
}

// The pieces are compressed on worker threads, where an exception would end
// the program: memory running short marks the piece as failed instead.
void Compress(RasterView raster, Piece& piece, bool last) {
    piece.ok = false;
    try {
        CompressRows(raster, piece, last);
    } catch (const std::bad_alloc&) {
        piece.data = {};
        piece.ok = false;
    }
}

} // namespace

bool WritePng(RasterView raster, QIODevice& device, double dpi) {
    if (raster.empty()) return false;
    const int pieceCount = std::clamp(raster.height / 256, 1, 2 * ParallelThreadCount());
    std::vector<Piece> pieces;
    try {
        pieces.resize(size_t(pieceCount));
        for (int p = 0; p < pieceCount; ++p) {
            pieces[size_t(p)].y0 = int(int64_t(raster.height) * p / pieceCount);
            pieces[size_t(p)].y1 = int(int64_t(raster.height) * (p + 1) / pieceCount);
        }
        const int64_t bytes = int64_t(raster.width) * 3 * raster.height;
        auto run = [&](int p0, int p1) {
            for (int p = p0; p < p1; ++p) Compress(raster, pieces[size_t(p)], p + 1 == pieceCount);
        };
        try {
            ParallelRows(pieceCount, pieceCount > 1 ? bytes : 0, run);
        } catch (const std::system_error&) {
            for (Piece& p : pieces)
                if (!p.ok) Compress(raster, p, &p == &pieces.back());
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    uLong adler = 1;
    for (const Piece& p : pieces) {
        if (!p.ok) return false;
        adler = adler32_combine(adler, p.adler, z_off_t(p.length));
    }

    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (device.write(reinterpret_cast<const char*>(kSignature), 8) != 8) return false;
    std::vector<uint8_t> header;
    PutBigEndian(header, uint32_t(raster.width));
    PutBigEndian(header, uint32_t(raster.height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, no interlace
    if (!WriteChunk(device, "IHDR", header.data(), header.size())) return false;
    if (dpi > 0) {
        std::vector<uint8_t> phys;
        const uint32_t perMetre = uint32_t(std::lround(dpi / 0.0254));
        PutBigEndian(phys, perMetre);
        PutBigEndian(phys, perMetre);
        phys.push_back(1); // metres
        if (!WriteChunk(device, "pHYs", phys.data(), phys.size())) return false;
    }
    // One zlib stream: its two-byte header (deflate, 32K window, level "fastest"),
    // the pieces, and the checksum of everything, over as many IDAT chunks.
    const uint8_t zlibHeader[2] = {0x78, 0x01};
    if (!WriteChunk(device, "IDAT", zlibHeader, 2)) return false;
    for (const Piece& p : pieces)
        if (!p.data.empty() && !WriteChunk(device, "IDAT", p.data.data(), p.data.size())) return false;
    std::vector<uint8_t> checksum;
    PutBigEndian(checksum, uint32_t(adler));
    if (!WriteChunk(device, "IDAT", checksum.data(), 4)) return false;
    return WriteChunk(device, "IEND", nullptr, 0);
}

} // namespace zb
