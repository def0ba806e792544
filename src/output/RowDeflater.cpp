#include "output/RowDeflater.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "base/ParallelRows.h"

namespace zb {

namespace {

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
        line[0] = 2; // "Up"
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

RowDeflater::Result RowDeflater::Add(RasterView band, bool last, const Sink& sink) {
    if (band.empty()) return Result::Done;
    const int pieceCount = std::clamp(band.height / 256, 1, 2 * ParallelThreadCount());
    const uint8_t* above = above_.empty() ? nullptr : above_.data();
    std::vector<Piece> pieces(static_cast<size_t>(pieceCount));
    for (int p = 0; p < pieceCount; ++p) {
        pieces[size_t(p)].y0 = int(int64_t(band.height) * p / pieceCount);
        pieces[size_t(p)].y1 = int(int64_t(band.height) * (p + 1) / pieceCount);
    }
    const int64_t bytes = int64_t(band.width) * 3 * band.height;
    ParallelRows(pieceCount, pieceCount > 1 ? bytes : 0, [&](int p0, int p1) {
        for (int p = p0; p < p1; ++p) Compress(band, above, pieces[size_t(p)], last && p + 1 == pieceCount);
    });
    for (const Piece& p : pieces) {
        if (!p.ok) return Result::NoMemory;
        adler_ = adler32_combine(adler_, p.adler, z_off_t(p.length));
        filteredBytes_ += p.length;
    }
    for (const Piece& p : pieces)
        if (!p.data.empty() && !sink(p.data.data(), p.data.size())) return Result::Refused;
    above_.resize(size_t(band.width) * 3);
    RgbRow(band.row(band.height - 1), band.width, above_.data());
    return Result::Done;
}

std::vector<uint8_t> RowDeflater::Trailer() const {
    const uint32_t a = uint32_t(adler_);
    return {uint8_t(a >> 24), uint8_t(a >> 16), uint8_t(a >> 8), uint8_t(a)};
}

} // namespace zb
