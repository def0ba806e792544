#pragma once
// One zlib stream of a 24-bit raster's rows as PNG and PDF pictures store
// them: each row turned to RGB, led by the filter byte of the "Up" filter
// (each byte minus the byte above it), deflated at level 1. The rows come
// band by band, top down; each band is deflated in pieces on all cores, every
// piece ending on a byte boundary, so the pieces of all bands join into one
// stream and can be written as soon as their band is done.
//
// Ownership: keeps only the last row of the previous band (the row above the
// next band) and the running checksum; bands are borrowed for the call.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "base/RasterView.h"

namespace zb {

class RowDeflater {
public:
    // Takes a piece of the stream; false stops the writing.
    using Sink = std::function<bool(const uint8_t* data, size_t size)>;

    enum class Result { Done, NoMemory, Refused };

    // The stream's two-byte header (deflate, 32K window, level "fastest").
    static constexpr uint8_t kHeader[2] = {0x78, 0x01};

    // Deflates the next band and hands its pieces to `sink` in order. `last`
    // marks the band with the picture's last row: it closes the deflate stream.
    Result Add(RasterView band, bool last, const Sink& sink);

    // The stream's closing checksum (of every filtered row), after the last band.
    std::vector<uint8_t> Trailer() const;

    // Bytes of filtered rows (a filter byte and three per pixel) so far.
    uint64_t FilteredBytes() const { return filteredBytes_; }

private:
    unsigned long adler_ = 1;
    uint64_t filteredBytes_ = 0;
    std::vector<uint8_t> above_; // RGB of the last row deflated, empty before the first
};

} // namespace zb
