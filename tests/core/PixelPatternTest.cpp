#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "imaging/PixelPattern.h"

TEST(PixelPattern, FillsExactlyTheRunForEveryLength) {
    // Lengths around every block size and both sides of the switch to doubling
    // copies; the bytes before and after the run stay untouched.
    const zb::PixelPattern colour(1, 2, 3);
    std::vector<int> counts;
    for (int count = -1; count <= 300; ++count) counts.push_back(count);
    for (int count : {511, 512, 513, 767, 768, 769, 5000}) counts.push_back(count);
    for (int count : counts) {
        std::vector<uint8_t> buf(3 * size_t(std::max(count, 0)) + 8, 0xEE);
        colour.fill(buf.data() + 4, count);
        for (size_t i = 0; i < buf.size(); ++i) {
            const ptrdiff_t at = ptrdiff_t(i) - 4;
            const bool inRun = at >= 0 && at < 3 * ptrdiff_t(count);
            ASSERT_EQ(buf[i], inRun ? uint8_t(1 + at % 3) : 0xEE) << "count " << count << " byte " << i;
        }
    }
}
