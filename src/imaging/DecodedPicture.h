#pragma once
// A picture as a decoder delivers it, before it becomes a DIB record: plain
// bytes and a few facts, no platform types.
//
// Ownership: the struct owns its pixel and palette vectors; OpenDib copies
// them into a DIB record and the decoded picture can then go.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zb {

struct DecodedPicture {
    int width = 0;
    int height = 0;
    // 1, 4 or 8: indices into `palette`; 24: true colour. 0 after a failure.
    int bitCount = 0;
    // Rows top-down, `stride` bytes apart (at least the packed row length).
    // 1 bit: leftmost pixel in the highest bit; 4 bits: leftmost pixel in the
    // high nibble; 24 bits: bytes blue, green, red, as in a 24-bit DIB, so
    // rows copy straight across.
    std::vector<uint8_t> pixels;
    ptrdiff_t stride = 0;
    // Colour references (red in the lowest byte) for indexed pictures; may be
    // shorter than 2^bitCount, missing entries count as black.
    std::vector<uint32_t> palette;
    // Bits per pixel as the file stores them (16 for a 16-bit grey PNG, 8 for
    // an 8-bit GIF); 0 when unknown.
    int storedBits = 0;
    std::string format;         // short format name for reports, e.g. "PNG"
    bool flattenedAlpha = false; // transparency was composited over white
    // German text for the user when decoding failed; empty on success.
    std::string error;

    bool ok() const { return error.empty() && bitCount != 0; }
};

} // namespace zb
