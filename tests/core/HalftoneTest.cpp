#include <gtest/gtest.h>

#include <cmath>

#include "imaging/Halftone.h"

using namespace zb;

namespace {

DibPicture Flat24(int w, int h, uint32_t colour) {
    DibPicture dib(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) setpixel(dib.dib(), x, y, colour);
    return dib;
}

uint32_t PaletteColour(const TDibRecord& dib, int x, int y) {
    const TPaletteEntry e = dib.LogPalette.palPalEntry[getpixel(dib, x, y)];
    return RGBColor(e.peRed, e.peGreen, e.peBlue);
}

// Every pixel an index of the colour cube, table and LogPalette agreeing.
void ExpectValidHalftone(const TDibRecord& dib, int w, int h) {
    ASSERT_NE(dib.Bits, nullptr);
    EXPECT_EQ(DibBitCount(dib), 8);
    EXPECT_EQ(DibWidth(dib), w);
    EXPECT_EQ(DibHeight(dib), h);
    EXPECT_EQ(dib.BytesPerLine, (w + 3) / 4 * 4);
    EXPECT_EQ(dib.HasPalette, 1);
    for (int i = 0; i < 216; ++i) {
        const TRgbQuad q = DibColorTable(dib)[i];
        const TPaletteEntry e = dib.LogPalette.palPalEntry[i];
        ASSERT_EQ(e.peRed, 51 * (i / 36));
        ASSERT_EQ(e.peGreen, 51 * (i / 6 % 6));
        ASSERT_EQ(e.peBlue, 51 * (i % 6));
        ASSERT_EQ(RGBColor(q.rgbRed, q.rgbGreen, q.rgbBlue), RGBColor(e.peRed, e.peGreen, e.peBlue));
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_LT(getpixel(dib, x, y), 216u);
}

} // namespace

TEST(Halftone, CubeColoursStayExactAndOtherColoursKeepTheirAverage) {
    DibPicture out;
    DibPicture onCube = Flat24(19, 11, RGBColor(51, 102, 255));
    ASSERT_TRUE(DIBHalftoneDIB(out, onCube));
    ExpectValidHalftone(out, 19, 11);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 19; ++x) ASSERT_EQ(getpixel(out, x, y), uint32_t(HalftoneCubeIndex(1, 2, 5)));
    onCube.reset();

    for (uint32_t colour : {RGBColor(100, 150, 200), RGBColor(1, 254, 128), RGBColor(30, 30, 30)}) {
        SCOPED_TRACE(colour);
        DibPicture flat = Flat24(16, 16, colour);
        ASSERT_TRUE(DIBHalftoneDIB(out, flat));
        ExpectValidHalftone(out, 16, 16);
        double sum[3] = {0, 0, 0};
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const uint32_t c = PaletteColour(out, x, y);
                sum[0] += RedOf(c);
                sum[1] += GreenOf(c);
                sum[2] += BlueOf(c);
            }
        EXPECT_NEAR(sum[0] / 256, RedOf(colour), 1.0);
        EXPECT_NEAR(sum[1] / 256, GreenOf(colour), 1.0);
        EXPECT_NEAR(sum[2] / 256, BlueOf(colour), 1.0);
    }
}

TEST(Halftone, ResamplingKeepsTheQuadrantsInPlace) {
    // Top-left red, top-right green, bottom-left blue, bottom-right white;
    // stored rows are bottom-up, so "top" is the high stored rows.
    const uint32_t tl = RGBColor(255, 0, 0), tr = RGBColor(0, 255, 0);
    const uint32_t bl = RGBColor(0, 0, 255), br = RGBColor(255, 255, 255);
    DibPicture source(6, 4, 24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) setpixel(source.dib(), x, y, y >= 2 ? (x < 3 ? tl : tr) : (x < 3 ? bl : br));
    for (auto [w, h] : {std::pair{6, 4}, std::pair{17, 9}, std::pair{2, 2}, std::pair{3, 1}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        DibPicture out;
        ASSERT_TRUE(DIBHalftoneDIBXY(out, source, w, h));
        ExpectValidHalftone(out, w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int sx = (2 * x + 1) * 6 / (2 * w);
                const int syTop = (2 * (h - 1 - y) + 1) * 4 / (2 * h);
                const uint32_t want = syTop < 2 ? (sx < 3 ? tl : tr) : (sx < 3 ? bl : br);
                ASSERT_EQ(PaletteColour(out, x, y), want) << x << "," << y;
            }
    }
}

TEST(Halftone, IndexedSourcesUseTheirPaletteColours) {
    for (int bits : {1, 4, 8}) {
        SCOPED_TRACE(bits);
        DibPicture source(9, 3, bits);
        source.dib().LogPalette.palPalEntry[0] = {0, 51, 102, 0};
        source.dib().LogPalette.palPalEntry[1] = {255, 204, 153, 0};
        for (int x = 0; x < 9; ++x) setpixel(source.dib(), x, 1, x % 2);
        DibPicture out;
        ASSERT_TRUE(DIBHalftoneDIB(out, source));
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(PaletteColour(out, x, 1), x % 2 ? RGBColor(255, 204, 153) : RGBColor(0, 51, 102)) << x;
    }
}

TEST(Halftone, RefusesMissingSourcesAndBadSizes) {
    DibPicture out;
    DibPicture none;
    EXPECT_FALSE(DIBHalftoneDIB(out, none));
    EXPECT_EQ(out.dib().Bits, nullptr);
    DibPicture source = Flat24(4, 4, 0);
    EXPECT_FALSE(DIBHalftoneDIBXY(out, source, 0, 5));
    EXPECT_FALSE(DIBHalftoneDIBXY(out, source, 5, -1));
    EXPECT_EQ(out.dib().Bits, nullptr);
}
