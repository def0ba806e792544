#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "imaging/ConvertDib.h"

using namespace zb;

namespace {

// An indexed picture whose LogPalette and info table hold `palette`.
DibPicture MakeIndexed(int w, int h, int bits, const std::vector<uint32_t>& palette) {
    DibPicture dib(w, h, bits);
    for (size_t i = 0; i < palette.size(); ++i) {
        const uint32_t c = palette[i];
        dib.dib().LogPalette.palPalEntry[i] = {RedOf(c), GreenOf(c), BlueOf(c), 0};
        DibColorTable(dib)[i] = {BlueOf(c), GreenOf(c), RedOf(c), 0};
    }
    return dib;
}

// The rule written out pixel by pixel with the record accessors.
uint32_t ExpectedColour(const TDibRecord& source, int x, int y) {
    const uint32_t index = getpixel(source, x, y);
    if (DibBitCount(source) == 1) return index == 0 ? RGBColor(0, 0, 0) : RGBColor(255, 255, 255);
    const TPaletteEntry& e = source.LogPalette.palPalEntry[index];
    return RGBColor(e.peRed, e.peGreen, e.peBlue);
}

bool RowPaddingZero(const TDibRecord& dib) {
    const int used = DibWidth(dib) * 3;
    for (int y = 0; y < DibHeight(dib); ++y)
        for (int i = used; i < dib.BytesPerLine; ++i)
            if (dib.Bits[y * dib.BytesPerLine + i] != 0) return false;
    return true;
}

} // namespace

TEST(ConvertDib, RedAndYellowTwoColourPictureComesOutBlackAndWhite) {
    DibPicture dib = MakeIndexed(13, 3, 1, {RGBColor(255, 0, 0), RGBColor(255, 255, 0)});
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 13; ++x) setpixel(dib.dib(), x, y, (x + y) % 2);
    ASSERT_TRUE(ConvertDib(dib, 24));
    ASSERT_EQ(DibBitCount(dib), 24);
    EXPECT_EQ(dib.dib().BytesPerLine, 40);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 13; ++x)
            EXPECT_EQ(getpixel(dib, x, y), (x + y) % 2 ? RGBColor(255, 255, 255) : RGBColor(0, 0, 0)) << x << "," << y;
    EXPECT_TRUE(RowPaddingZero(dib));
}

TEST(ConvertDib, IndexedPicturesTakeExactlyTheirLogPaletteColours) {
    // The info block's table is deliberately different: LogPalette rules.
    DibPicture dib = MakeIndexed(7, 2, 4, {});
    for (int i = 0; i < 16; ++i) {
        dib.dib().LogPalette.palPalEntry[i] = {uint8_t(i * 16), uint8_t(255 - i), uint8_t(i), 0};
        DibColorTable(dib)[i] = {1, 2, 3, 0};
    }
    // Nibble order: the left pixel of each byte is the high nibble.
    uint8_t* row0 = dib.dib().Bits;
    row0[0] = 0x12;
    row0[1] = 0x34;
    row0[2] = 0x56;
    row0[3] = 0x7F; // x = 6 uses the high nibble; the low one lies past the width
    ASSERT_TRUE(ConvertDib(dib, 24));
    for (int x = 0; x < 7; ++x) {
        const int index = x + 1;
        EXPECT_EQ(getpixel(dib, x, 0), RGBColor(uint8_t(index * 16), uint8_t(255 - index), uint8_t(index))) << x;
    }
}

TEST(ConvertDib, MatchesThePixelRuleOnRandomPicturesOfOddSizes) {
    for (uint32_t seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        const int bits = std::vector<int>{1, 4, 8}[seed % 3];
        const int w = 1 + int(rng() % 41);
        const int h = 1 + int(rng() % 9);
        std::vector<uint32_t> palette(size_t(1) << bits);
        for (auto& c : palette) c = rng() & 0xFFFFFF;
        DibPicture source = MakeIndexed(w, h, bits, palette);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) setpixel(source.dib(), x, y, rng() % palette.size());
        DibPicture converted(w, h, bits, source.dib().Info, int(palette.size()));
        converted.dib().LogPalette = source.dib().LogPalette;
        std::memcpy(converted.dib().Bits, source.dib().Bits, size_t(source.dib().BytesPerLine) * size_t(h));

        ASSERT_TRUE(ConvertDib(converted, 24));
        ASSERT_EQ(DibWidth(converted), w);
        ASSERT_EQ(DibHeight(converted), h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(getpixel(converted, x, y), ExpectedColour(source, x, y)) << "bits " << bits << " at " << x << "," << y;
        EXPECT_TRUE(RowPaddingZero(converted));
    }
}

TEST(ConvertDib, LeavesTrueColourOtherDepthsAndEmptyRecordsAlone) {
    DibPicture rgb(5, 5, 24);
    uint8_t* bits = rgb.dib().Bits;
    EXPECT_TRUE(ConvertDib(rgb, 24));
    EXPECT_EQ(rgb.dib().Bits, bits);
    rgb.reset();

    for (int depth : {16, 32}) {
        DibPicture other(5, 5, depth);
        uint8_t* before = other.dib().Bits;
        EXPECT_FALSE(ConvertDib(other, 24)) << depth;
        EXPECT_EQ(other.dib().Bits, before);
        EXPECT_EQ(DibBitCount(other), depth);
    }

    DibPicture none;
    EXPECT_FALSE(ConvertDib(none, 24));
    EXPECT_EQ(none.dib().Bits, nullptr);
}

TEST(ConvertDib, KeepsThePictureWhenTheTrueColourCopyCannotBeMade) {
    // 1 bit fits (about 90 MB); 24 bits would exceed the largest pixel block.
    DibPicture dib = MakeIndexed(65536, 11000, 1, {RGBColor(0, 0, 0), RGBColor(255, 255, 255)});
    ASSERT_NE(dib.dib().Bits, nullptr);
    setpixel(dib.dib(), 3, 4, 1);
    uint8_t* bits = dib.dib().Bits;
    EXPECT_FALSE(ConvertDib(dib, 24));
    EXPECT_EQ(dib.dib().Bits, bits);
    EXPECT_EQ(DibBitCount(dib), 1);
    EXPECT_EQ(getpixel(dib, 3, 4), 1u);
}
