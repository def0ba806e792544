#include <gtest/gtest.h>

#include <vector>

#include "imaging/PixelPattern.h"

TEST(PixelPattern, FillsExactlyTheRunForEveryLength) {
    // Lengths around every block size; the bytes before and after stay untouched.
    const zb::PixelPattern colour(1, 2, 3);
    for (int count = -1; count <= 100; ++count) {
        std::vector<uint8_t> buf(3 * 100 + 8, 0xEE);
        colour.fill(buf.data() + 4, count);
        for (size_t i = 0; i < buf.size(); ++i) {
            const ptrdiff_t at = ptrdiff_t(i) - 4;
            const bool inRun = at >= 0 && at < 3 * ptrdiff_t(count);
            ASSERT_EQ(buf[i], inRun ? uint8_t(1 + at % 3) : 0xEE) << "count " << count << " byte " << i;
        }
    }
}
