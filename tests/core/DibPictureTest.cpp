#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "base/DibPicture.h"

using zb::DibPicture;

namespace {

// A 24-bit picture whose first pixel carries `marker`, so moves can be followed.
DibPicture Marked(int w, int h, uint32_t marker) {
    DibPicture picture(w, h, 24);
    zb::setpixel(picture.dib(), 0, 0, marker);
    return picture;
}

uint32_t MarkerOf(const DibPicture& picture) { return zb::getpixel(picture, 0, 0); }

} // namespace

TEST(DibPicture, NewPicturesAreZeroedOrEmptyWhenRefused) {
    const struct {
        int w, h, bits;
        bool made;
        int bytesPerLine;
    } cases[] = {
        {5, 3, 24, true, 16}, {9, 2, 1, true, 4}, {3, 1, 8, true, 4}, {0, 4, 24, false, 0},
        {4, -1, 24, false, 0}, {4, 4, 7, false, 0}, {65536, 65536, 24, false, 0}, // above kMaxDibBytes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + "x" + std::to_string(c.bits));
        const DibPicture picture(c.w, c.h, c.bits);
        EXPECT_EQ(!picture.empty(), c.made);
        EXPECT_EQ(picture.dib().Storage != 0, c.made);
        EXPECT_EQ(picture.dib().BytesPerLine, c.bytesPerLine);
        if (!c.made) continue;
        EXPECT_EQ(zb::DibWidth(picture), c.w);
        EXPECT_EQ(zb::DibBitCount(picture), c.bits);
        for (int i = 0; i < c.bytesPerLine * c.h; ++i) ASSERT_EQ(picture.dib().Bits[i], 0) << i;
        EXPECT_EQ(picture.view().empty(), c.bits != 24);
    }
}

// Under the sanitizer build a lost or twice-freed picture fails this test.
TEST(DibPicture, MovesHandOverCopiesShareUntilWritten) {
    DibPicture a = Marked(4, 4, 0x112233);
    const uint8_t* bits = a.dib().Bits;
    DibPicture b(std::move(a));
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(a.dib().Info, nullptr);
    EXPECT_EQ(b.dib().Bits, bits);

    DibPicture c = Marked(2, 2, 0x445566);
    c = std::move(b); // c's own picture is freed
    EXPECT_TRUE(b.empty());
    EXPECT_EQ(MarkerOf(c), 0x112233u);
    DibPicture& self = c;
    c = std::move(self);
    EXPECT_EQ(c.dib().Bits, bits);

    // A copy shares the pixels until one of the two is written: the writer
    // gets pixels of its own, the other keeps what it had.
    DibPicture copy = c;
    EXPECT_EQ(std::as_const(copy).dib().Bits, bits);
    zb::setpixel(copy.dib(), 0, 0, 0x778899);
    EXPECT_NE(std::as_const(copy).dib().Bits, bits);
    EXPECT_EQ(MarkerOf(copy), 0x778899u);
    EXPECT_EQ(MarkerOf(c), 0x112233u);
    EXPECT_EQ(c.dib().Bits, bits); // no longer shared: written in place

    zb::SetDibMessage(c.dib(), "weg");
    c.reset();
    EXPECT_TRUE(c.empty());
    EXPECT_EQ(zb::DibMessage(c), "");
}
