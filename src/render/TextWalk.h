#pragma once
// A text layer's walk over its sheet, kept so that every band or tile of the
// sheet stamps the same copies without walking the cells and rendering the
// texts again: the rendered texts as runs of black pixels, and each copy that
// is drawn with its place and colour, in the order drawn.
//
// Ownership: plain values; a finished walk is shared read-only (TextWalkCache).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zb {

struct TextRun {
    int32_t x0; // first black pixel
    int32_t x1; // one past the last
};

// The black pixels of one rendered text as runs per row: what stamping needs,
// in a fraction of the bitmap's memory, and each copy then writes whole runs.
struct TextRuns {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rowStart; // runs of row j: [rowStart[j], rowStart[j + 1])
    std::vector<TextRun> runs;

    size_t Bytes() const { return rowStart.size() * sizeof(uint32_t) + runs.size() * sizeof(TextRun) + 64; }
};

struct TextStamp {
    int32_t x = 0, y = 0; // the copy's top-left corner on the sheet
    uint32_t text = 0;    // index into TextWalk::texts
    uint8_t blue = 0, green = 0, red = 0;
};

struct TextWalk {
    std::vector<TextRuns> texts;
    std::vector<TextStamp> stamps;
    uint32_t endSeed = 0; // the generator state after the walk's draws

    size_t Bytes() const {
        size_t bytes = stamps.size() * sizeof(TextStamp);
        for (const TextRuns& t : texts) bytes += t.Bytes();
        return bytes;
    }
};

} // namespace zb
