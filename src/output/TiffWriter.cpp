#include "output/TiffWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "base/ParallelRows.h"

namespace zb {

namespace {

constexpr uint16_t kShort = 3, kLong = 4, kRational = 5, kAscii = 2;
constexpr int kDeflateLevel = 1; // large sheets: speed before the last percent of size
constexpr char kSoftware[] = "Zierbogen-Drucker";

void Put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

struct Entry {
    uint16_t tag, type;
    uint32_t count;
    std::vector<uint8_t> value; // little-endian, as stored
};

Entry Shorts(uint16_t tag, std::initializer_list<uint16_t> values) {
    Entry e{tag, kShort, uint32_t(values.size()), {}};
    for (uint16_t v : values) Put(e.value, v, 2);
    return e;
}

Entry Longs(uint16_t tag, const std::vector<uint32_t>& values) {
    Entry e{tag, kLong, uint32_t(values.size()), {}};
    for (uint32_t v : values) Put(e.value, v, 4);
    return e;
}

Entry Rational(uint16_t tag, double value) {
    Entry e{tag, kRational, 1, {}};
    Put(e.value, uint32_t(std::lround(value * 100)), 4);
    Put(e.value, 100, 4);
    return e;
}

// The directory at `offset` (even), its longer values right behind it.
std::vector<uint8_t> Directory(std::vector<Entry> entries, uint32_t offset) {
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
    std::vector<uint8_t> ifd, extra;
    const uint32_t extraAt = offset + 2 + uint32_t(entries.size()) * 12 + 4;
    Put(ifd, uint32_t(entries.size()), 2);
    for (const Entry& e : entries) {
        Put(ifd, e.tag, 2);
        Put(ifd, e.type, 2);
        Put(ifd, e.count, 4);
        if (e.value.size() <= 4) {
            ifd.insert(ifd.end(), e.value.begin(), e.value.end());
            ifd.resize(ifd.size() + 4 - e.value.size(), 0);
        } else {
            Put(ifd, extraAt + uint32_t(extra.size()), 4);
            extra.insert(extra.end(), e.value.begin(), e.value.end());
            if (extra.size() % 2) extra.push_back(0); // values start on a word boundary
        }
    }
    Put(ifd, 0, 4); // no further directory
    ifd.insert(ifd.end(), extra.begin(), extra.end());
    return ifd;
}

// The rows of one strip, each converted to RGB and differenced from the
// pixel on its left, deflated into one zlib stream. Empty when memory ran out.
std::vector<uint8_t> DeflateStrip(const uint8_t* const* rows, int count, int width) {
    const size_t rowBytes = size_t(width) * 3;
    z_stream zs{};
    if (deflateInit(&zs, kDeflateLevel) != Z_OK) return {};
    struct StreamEnd {
        z_stream& stream;
        ~StreamEnd() { deflateEnd(&stream); }
    } streamEnd{zs};
    std::vector<uint8_t> out(deflateBound(&zs, uLong(rowBytes * size_t(count))) + 64);
    std::vector<uint8_t> line(rowBytes);
    zs.next_out = out.data();
    zs.avail_out = uInt(out.size());
    for (int r = 0; r < count; ++r) {
        const uint8_t* src = rows[r];
        uint8_t left[3] = {0, 0, 0};
        for (int x = 0; x < width; ++x) {
            const uint8_t rgb[3] = {src[3 * x + 2], src[3 * x + 1], src[3 * x]};
            for (int c = 0; c < 3; ++c) {
                line[3 * size_t(x) + size_t(c)] = uint8_t(rgb[c] - left[c]);
                left[c] = rgb[c];
            }
        }
        zs.next_in = line.data();
        zs.avail_in = uInt(rowBytes);
        const int result = deflate(&zs, r + 1 < count ? Z_NO_FLUSH : Z_FINISH);
        // The output holds the bound for all input: deflate never runs short.
        if (result == Z_STREAM_ERROR || (r + 1 == count && result != Z_STREAM_END)) return {};
    }
    // Shrinks without resize(), whose growing branch the compiler cannot rule out.
    out.erase(out.begin() + ptrdiff_t(zs.total_out), out.end());
    return out;
}

} // namespace

TiffWriter::TiffWriter(QIODevice& device, int width, int height, double dpi)
    : RasterEncoder(device, width, height, dpi) {}

EncodeResult TiffWriter::Begin() {
    if (width_ <= 0 || height_ <= 0) return EncodeResult::Refused;
    // Little-endian, the magic 42, and the directory's offset, filled in last.
    const uint8_t header[8] = {'I', 'I', 42, 0, 0, 0, 0, 0};
    if (!device_.seek(0) || device_.write(reinterpret_cast<const char*>(header), 8) != 8) return EncodeResult::Refused;
    end_ = 8;
    return EncodeResult::Done;
}

EncodeResult TiffWriter::AddRows(RasterView band) {
    const size_t rowBytes = size_t(width_) * 3;
    std::vector<const uint8_t*> rows;
    rows.reserve(size_t(pendingRows_ + band.height));
    for (int r = 0; r < pendingRows_; ++r) rows.push_back(pending_.data() + rowBytes * size_t(r));
    for (int y = 0; y < band.height; ++y) rows.push_back(band.row(y));
    const bool last = rowsDone_ + band.height == height_;
    const int total = int(rows.size());
    const int strips = last ? (total + kRowsPerStrip - 1) / kRowsPerStrip : total / kRowsPerStrip;
    if (EncodeResult r = WriteStrips(rows, strips); r != EncodeResult::Done) return r;
    // Rows short of a whole strip wait for the next band.
    const int left = total - std::min(total, strips * kRowsPerStrip);
    std::vector<uint8_t> keep(rowBytes * size_t(left));
    for (int r = 0; r < left; ++r) std::memcpy(keep.data() + rowBytes * size_t(r), rows[size_t(total - left + r)], rowBytes);
    pending_.swap(keep);
    pendingRows_ = left;
    rowsDone_ += band.height;
    return EncodeResult::Done;
}

EncodeResult TiffWriter::WriteStrips(const std::vector<const uint8_t*>& rows, int count) {
    // A few strips per core at a time: a band of the whole sheet is not
    // held deflated before it is written.
    const int group = 2 * ParallelThreadCount();
    for (int first = 0; first < count; first += group) {
        const int n = std::min(group, count - first);
        if (EncodeResult r = WriteStripGroup(rows, first, n); r != EncodeResult::Done) return r;
    }
    return EncodeResult::Done;
}

EncodeResult TiffWriter::WriteStripGroup(const std::vector<const uint8_t*>& rows, int first, int count) {
    std::vector<std::vector<uint8_t>> data(static_cast<size_t>(count));
    auto rowsOf = [&](int s) { return std::min<int>(kRowsPerStrip, int(rows.size()) - s * kRowsPerStrip); };
    auto deflateStrips = [&](int s0, int s1) {
        for (int s = s0; s < s1; ++s) {
            // On a worker thread an exception would end the program.
            try {
                data[size_t(s)] = DeflateStrip(rows.data() + size_t(first + s) * kRowsPerStrip, rowsOf(first + s), width_);
            } catch (const std::bad_alloc&) {
                data[size_t(s)].clear();
            }
        }
    };
    ParallelRows(count, count > 1 ? int64_t(width_) * 3 * kRowsPerStrip * count : 0, deflateStrips);
    // The directory at the end needs room below 4 GB as well.
    const int64_t totalStrips = (int64_t(height_) + kRowsPerStrip - 1) / kRowsPerStrip;
    const int64_t directoryBytes = 512 + 8 * totalStrips;
    for (const std::vector<uint8_t>& strip : data) {
        if (strip.empty()) return EncodeResult::NoMemory;
        if (end_ + int64_t(strip.size()) + directoryBytes > int64_t{0xFFFFFFFF}) return EncodeResult::TooLarge;
        if (!device_.seek(end_) ||
            device_.write(reinterpret_cast<const char*>(strip.data()), qint64(strip.size())) != qint64(strip.size()))
            return EncodeResult::Refused;
        stripOffsets_.push_back(uint32_t(end_));
        stripBytes_.push_back(uint32_t(strip.size()));
        end_ += int64_t(strip.size());
    }
    return EncodeResult::Done;
}

EncodeResult TiffWriter::Finish() {
    if (rowsDone_ != height_ || pendingRows_ != 0) return EncodeResult::Refused;
    return WriteDirectory();
}

EncodeResult TiffWriter::WriteDirectory() {
    std::vector<Entry> entries = {
        Longs(256, {uint32_t(width_)}),
        Longs(257, {uint32_t(height_)}),
        Shorts(258, {8, 8, 8}),
        Shorts(259, {8}),        // Adobe Deflate
        Shorts(262, {2}),        // RGB
        Longs(273, stripOffsets_),
        Shorts(277, {3}),        // samples per pixel
        Longs(278, {uint32_t(kRowsPerStrip)}),
        Longs(279, stripBytes_),
        Shorts(284, {1}),        // samples interleaved
        Shorts(317, {2}),        // horizontal differencing
    };
    Entry software{305, kAscii, uint32_t(sizeof kSoftware), {}};
    software.value.assign(kSoftware, kSoftware + sizeof kSoftware);
    entries.push_back(std::move(software));
    if (dpi_ > 0) {
        entries.push_back(Rational(282, dpi_));
        entries.push_back(Rational(283, dpi_));
        entries.push_back(Shorts(296, {2})); // inches
    }
    const int64_t at = end_ + (end_ % 2);
    const std::vector<uint8_t> ifd = Directory(std::move(entries), uint32_t(at));
    if (at + int64_t(ifd.size()) > int64_t{0xFFFFFFFF}) return EncodeResult::TooLarge;
    const uint8_t zero = 0;
    if (at != end_ && (!device_.seek(end_) || device_.write(reinterpret_cast<const char*>(&zero), 1) != 1))
        return EncodeResult::Refused;
    if (!device_.seek(at) ||
        device_.write(reinterpret_cast<const char*>(ifd.data()), qint64(ifd.size())) != qint64(ifd.size()))
        return EncodeResult::Refused;
    end_ = at + int64_t(ifd.size());
    std::vector<uint8_t> pointer;
    Put(pointer, uint32_t(at), 4);
    if (!device_.seek(4) || device_.write(reinterpret_cast<const char*>(pointer.data()), 4) != 4)
        return EncodeResult::Refused;
    return EncodeResult::Done;
}

} // namespace zb
