#include <gtest/gtest.h>

#include <array>
#include <random>
#include <utility>

#include "RecordingDibDevice.h"
#include "base/DibPicture.h"
#include "imaging/DrawDib.h"

using namespace zb;
using zb::test::RecordingDibDevice;

namespace {

// A picture whose every pixel tells where it came from (24 bits), or random
// indices into a random colour table (1, 4 and 8 bits). Printed seed: 7.
DibPicture MakePicture(int w, int h, int bits) {
    DibPicture dib(w, h, bits);
    std::mt19937 rng(7);
    if (bits >= 24) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) setpixel(dib.dib(), x, y, RGBColor(uint8_t(x), uint8_t(y), uint8_t(x >> 8 ^ y >> 4)));
        return dib;
    }
    const int entries = DibTableSize(bits);
    for (int i = 0; i < entries; ++i) {
        DibColorTable(dib)[i] = TRgbQuad{uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), 0};
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) setpixel(dib.dib(), x, y, uint32_t(rng()) % uint32_t(entries));
    return dib;
}

// The picture's colour at column x, row y counted from the top.
uint32_t ColourAt(const TDibRecord& dib, int x, int yFromTop) {
    const int y = DibHeight(dib) - 1 - yFromTop;
    if (DibBitCount(dib) >= 24) return getpixel(dib, x, y);
    const TRgbQuad q = DibColorTable(dib)[getpixel(dib, x, y)];
    return RGBColor(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

} // namespace

TEST(DrawDibClip, CutsTheSourceRightBottomTopLeftWithHalvesToEven) {
    struct Case {
        const char* what;
        DibDrawRect in;
        DibDrawRect out;
    };
    const int32_t W = 10, H = 10;
    const Case cases[] = {
        {"inside: unchanged", {3, 4, 30, 20, 0, 0, 10, 10}, {3, 4, 30, 20, 0, 0, 10, 10}},
        {"right edge", {0, 0, 30, 30, 5, 0, 10, 10}, {0, 0, 15, 30, 5, 0, 5, 10}},
        {"right edge, 2.5 to 2", {0, 0, 5, 10, 5, 0, 10, 10}, {0, 0, 2, 10, 5, 0, 5, 10}},
        {"right edge, 3.5 to 4", {0, 0, 7, 10, 5, 0, 10, 10}, {0, 0, 4, 10, 5, 0, 5, 10}},
        {"below the bottom: the destination's bottom is cut", {0, 100, 10, 25, 0, -2, 10, 10},
         {0, 100, 10, 20, 0, 0, 10, 8}},
        {"beyond the top: Y moves down by the cut", {0, 100, 10, 25, 0, 4, 10, 10}, {0, 110, 10, 15, 0, 4, 10, 6}},
        {"beyond the top, 2.5 to 2", {0, 100, 10, 5, 0, 5, 10, 10}, {0, 103, 10, 2, 0, 5, 10, 5}},
        {"left edge, 17.5 to 18", {50, 0, 25, 10, -3, 0, 10, 10}, {57, 0, 18, 10, 0, 0, 7, 10}},
        {"left and right at once", {0, 0, 40, 10, -5, 0, 20, 10}, {10, 0, 20, 10, 0, 0, 10, 10}},
        {"no source width: untouched", {0, 0, 40, 10, 0, 0, 0, 10}, {0, 0, 40, 10, 0, 0, 0, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DibDrawRect got = ClipDibSource(c.in, W, H);
        EXPECT_EQ(got.x, c.out.x);
        EXPECT_EQ(got.y, c.out.y);
        EXPECT_EQ(got.destW, c.out.destW);
        EXPECT_EQ(got.destH, c.out.destH);
        EXPECT_EQ(got.srcX, c.out.srcX);
        EXPECT_EQ(got.srcY, c.out.srcY);
        EXPECT_EQ(got.srcW, c.out.srcW);
        EXPECT_EQ(got.srcH, c.out.srcH);
    }
    // 450090 x 5000 does not fit 32 bits.
    const DibDrawRect wide = ClipDibSource({0, 0, 450090, 90, 0, 0, 5001, 1}, 5000, 1);
    EXPECT_EQ(wide.destW, 450000);
    EXPECT_EQ(wide.srcW, 5000);
}

TEST(DrawDibRows, EnlargingSends96RowsAndGathersEachSourceRowOnce) {
    // Picture depth, and the depth the device wants rows of 24-bit pictures in.
    for (auto [bits, rowBits] : {std::pair{24, 24}, std::pair{24, 32}, std::pair{8, 8}}) {
        SCOPED_TRACE(testing::Message() << bits << " bits as " << rowBits);
        const DibPicture pic = MakePicture(8, 32, bits);
        RecordingDibDevice dev;
        dev.rowBits24 = rowBits;
        const DibRowStats stats =
            bits == 24 ? DrawDibRows24(dev, 5, 7, 8, 96, pic.dib(), 0, 0, 8, 32) : DrawDibRows8(dev, 5, 7, 8, 96, pic.dib(), 0, 0, 8, 32);
        EXPECT_EQ(stats.rowsSent, 96);
        EXPECT_EQ(dev.RowsSent(), 96);
        EXPECT_EQ(stats.rowsCopied, 32);
        for (const auto& call : dev.rowCalls) EXPECT_EQ(call.bitCount, rowBits);
        for (int k = 0; k < 96; ++k)
            for (int x = 0; x < 8; ++x) ASSERT_EQ((dev.canvas[{5 + x, 7 + k}]), ColourAt(pic.dib(), x, k / 3)) << k;
    }
}

TEST(DrawDib, OneToOneReproducesThePictureExactly) {
    for (auto [bits, rowBits] : {std::pair{24, 24}, std::pair{24, 32}, std::pair{8, 8}}) {
        SCOPED_TRACE(testing::Message() << bits << " bits as " << rowBits);
        // 13 columns: the rows carry padding.
        const DibPicture pic = MakePicture(13, 70, bits);
        RecordingDibDevice dev;
        dev.rowBits24 = rowBits;
        DrawDib(dev, 2, 3, 13, 70, pic.dib(), 0, 0, 13, 70, false, false);
        ASSERT_EQ(dev.canvas.size(), size_t(13 * 70));
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 13; ++x) ASSERT_EQ((dev.canvas[{2 + x, 3 + y}]), ColourAt(pic.dib(), x, y));
        EXPECT_TRUE(dev.stretchCalls.empty());
    }
}

TEST(DrawDib, RectangleBeyondTheTopLandsLowerAndBeyondTheRightNarrower) {
    const DibPicture pic = MakePicture(10, 10, 24);
    RecordingDibDevice dev;
    // Source rows 4 .. 13 in storage order; 10 .. 13 do not exist.
    DrawDib(dev, 0, 100, 20, 20, pic.dib(), 5, 4, 10, 10, false, false);
    // 5 columns and 6 rows remain, at twice the size, 8 rows lower.
    int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
    for (const auto& [pos, colour] : dev.canvas) {
        minX = std::min(minX, pos.first);
        maxX = std::max(maxX, pos.first);
        minY = std::min(minY, pos.second);
        maxY = std::max(maxY, pos.second);
    }
    EXPECT_EQ(minX, 0);
    EXPECT_EQ(maxX, 9);
    EXPECT_EQ(minY, 108);
    EXPECT_EQ(maxY, 119);
    // Top-left of the destination: the picture's row 0 from the top, column 5.
    EXPECT_EQ((dev.canvas[{0, 108}]), ColourAt(pic.dib(), 5, 0));
    EXPECT_EQ((dev.canvas[{9, 119}]), ColourAt(pic.dib(), 9, 5));
}

TEST(DrawDib, ChoosesRowsOrStretchingByDepthAndDevice) {
    struct Case {
        int bits;
        bool printer;
        bool rows;
    };
    const Case cases[] = {
        {24, false, true}, {8, false, true},  {4, false, false}, {1, false, false},
        {24, true, false}, {8, true, false},  {4, true, false},  {32, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, printer " << c.printer);
        const DibPicture pic = MakePicture(9, 6, c.bits);
        ASSERT_NE(pic.dib().Bits, nullptr);
        RecordingDibDevice dev;
        dev.printer = c.printer;
        DrawDib(dev, 1, 2, 18, 12, pic.dib(), 0, 0, 9, 6, false, true);
        EXPECT_EQ(!dev.rowCalls.empty(), c.rows);
        ASSERT_EQ(dev.stretchCalls.size(), c.rows ? 0u : 1u);
        if (!c.rows) {
            const auto& s = dev.stretchCalls[0];
            EXPECT_EQ(s.bitCount, c.bits);
            EXPECT_EQ((std::array{s.x, s.y, s.destW, s.destH, s.srcX, s.srcY, s.srcW, s.srcH}),
                      (std::array{1, 2, 18, 12, 0, 0, 9, 6}));
        }
    }
}

TEST(DrawDib, FailedStretchFallsBackToRowsThenToTheDeviceBitmap) {
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        const DibPicture pic = MakePicture(5, 4, bits);
        RecordingDibDevice dev;
        dev.printer = true;
        dev.stretchWorks = false;
        DrawDib(dev, 10, 20, 9, 7, pic.dib(), 0, 0, 5, 4, false, false);
        ASSERT_EQ(dev.rowCalls.size(), 1u);
        EXPECT_EQ(dev.rowCalls[0].bitCount, bits);
        EXPECT_TRUE(dev.bltCalls.empty());
        // Corners land on corners; column i of 9 takes 4 * i div 8.
        for (int k = 0; k < 7; ++k)
            for (int i = 0; i < 9; ++i) {
                // Stored row j = 6 - k takes source row 3 * j div 6.
                const int j = 6 - k;
                const int sy = 3 * j / 6;
                ASSERT_EQ((dev.canvas[{10 + i, 20 + k}]), ColourAt(pic.dib(), 4 * i / 8, 3 - sy)) << i << "," << k;
            }
    }

    // One pixel wide and high: the rectangle's first column and row.
    const DibPicture pic = MakePicture(5, 4, 24);
    RecordingDibDevice one;
    one.stretchWorks = false;
    one.printer = true;
    DrawDib(one, 0, 0, 1, 1, pic.dib(), 2, 1, 3, 3, false, false);
    ASSERT_EQ(one.canvas.size(), 1u);
    EXPECT_EQ((one.canvas[{0, 0}]), getpixel(pic.dib(), 2, 1));

    // Without rows for the device the bitmap is stretched; its failures are told.
    const std::pair<BltResult, const char*> blts[] = {{BltResult::Ok, nullptr},
                                                       {BltResult::NoBitmap, kNoBitmapMessage},
                                                       {BltResult::NoSetDibits, kNoSetDibitsMessage},
                                                       {BltResult::NoStretchBlt, kNoStretchBltMessage}};
    for (const auto& [result, message] : blts) {
        RecordingDibDevice dev;
        dev.printer = true;
        dev.stretchWorks = false;
        dev.rowsWork = false;
        dev.bltResult = result;
        DrawDib(dev, 0, 0, 8, 8, pic.dib(), 0, 0, 5, 4, false, false);
        EXPECT_EQ(dev.bltCalls.size(), 1u);
        if (message) {
            ASSERT_EQ(dev.failures.size(), 1u);
            EXPECT_EQ(dev.failures[0], message);
        } else {
            EXPECT_TRUE(dev.failures.empty());
        }
    }
}

TEST(DrawDib, HalftonesOnlyWhenAllowedOnALowColourDisplay) {
    const DibPicture pic = MakePicture(40, 30, 24);
    {
        RecordingDibDevice dev;
        dev.screenBits = 8;
        DrawDib(dev, 0, 0, 20, 15, pic.dib(), 0, 0, 40, 30, true, false);
        ASSERT_EQ(dev.stretchCalls.size(), 1u);
        const auto& s = dev.stretchCalls[0];
        // Shrinking: the halftoned copy already has the destination size.
        EXPECT_EQ(s.bitCount, 8);
        EXPECT_EQ((std::array{s.dibW, s.dibH, s.srcW, s.srcH, s.destW, s.destH}), (std::array{20, 15, 20, 15, 20, 15}));
    }
    {
        RecordingDibDevice dev;
        dev.screenBits = 8;
        DrawDib(dev, 0, 0, 80, 60, pic.dib(), 0, 0, 40, 30, true, false);
        ASSERT_EQ(dev.stretchCalls.size(), 1u);
        EXPECT_EQ(dev.stretchCalls[0].bitCount, 8);
        EXPECT_EQ(dev.stretchCalls[0].dibW, 40);
    }
    {
        RecordingDibDevice dev;
        dev.screenBits = 8;
        DrawDib(dev, 0, 0, 80, 60, pic.dib(), 0, 0, 40, 30, false, false);
        EXPECT_TRUE(dev.stretchCalls.empty());
        EXPECT_EQ(dev.RowsSent(), 60);
    }
}

TEST(DrawDib, OnlyVisibleRowsAndColumnsAreRenderedAndSent) {
    const DibPicture pic = MakePicture(600, 400, 24);
    RecordingDibDevice dev;
    dev.visible = {100, 50, 300, 80};
    // 250 %: 1500 x 1000 at (-40, -20).
    const DibRowStats stats = DrawDibRows24(dev, -40, -20, 1500, 1000, pic.dib(), 0, 0, 600, 400);
    EXPECT_EQ(stats.rowsSent, 30);
    EXPECT_LE(stats.rowsCopied, 13);
    for (const auto& call : dev.rowCalls) {
        EXPECT_EQ(call.x, 100);
        EXPECT_EQ(call.width, 200);
    }
    EXPECT_EQ(dev.canvas.size(), size_t(200 * 30));
    // Device (100, 50) is destination (140, 70): picture column 56, row 28.
    EXPECT_EQ((dev.canvas[{100, 50}]), ColourAt(pic.dib(), 56, 28));
}

TEST(DrawDib, WidePictureAtHighZoomNeverReadsOutsideThePicture) {
    // 5000 x 2 at 9000 %: 5000 * 449999 does not fit 32 bits.
    for (int64_t i : {int64_t{0}, int64_t{47721}, int64_t{47722}, int64_t{449999}}) {
        const int64_t c = DibSourceColumn(0, 5000, 450000, i);
        EXPECT_EQ(c, i / 90);
    }
    const DibPicture pic = MakePicture(5000, 2, 24);
    RecordingDibDevice dev;
    dev.paint = false;
    DrawDib(dev, 0, 0, 450000, 180, pic.dib(), 0, 0, 5000, 2, true, false);
    EXPECT_EQ(dev.RowsSent(), 180);

    // The last columns, painted: every pixel is column i div 90 of the picture.
    RecordingDibDevice tail;
    tail.rowBits24 = 32;
    tail.visible = {449000, 85, 450000, 95};
    DrawDib(tail, 0, 0, 450000, 180, pic.dib(), 0, 0, 5000, 2, true, false);
    ASSERT_EQ(tail.canvas.size(), size_t(1000 * 10));
    for (const auto& [pos, colour] : tail.canvas) {
        ASSERT_EQ(colour, ColourAt(pic.dib(), int(pos.first / 90), int(pos.second / 90))) << pos.first;
    }
}
