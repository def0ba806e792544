#include <gtest/gtest.h>

#include "FakePictureDecoder.h"
#include "imaging/PictureImport.h"

using namespace zb;
using zb::test::FakePictureDecoder;
using zb::test::MakeDecoded;

namespace {

uint32_t TableColour(const TDibRecord& dib, uint32_t index) {
    const TRgbQuad q = DibColorTable(dib)[index];
    return RGBColor(q.rgbRed, q.rgbGreen, q.rgbBlue);
}
uint32_t LogColour(const TDibRecord& dib, uint32_t index) {
    const TPaletteEntry e = dib.LogPalette.palPalEntry[index];
    return RGBColor(e.peRed, e.peGreen, e.peBlue);
}

// A picture's colour at top-down (x, y), whatever its depth.
uint32_t ColourAt(const TDibRecord& dib, int x, int yTop) {
    const int y = DibHeight(dib) - 1 - yTop;
    const uint32_t v = getpixel(dib, x, y);
    return DibBitCount(dib) == 24 ? v : TableColour(dib, v);
}

} // namespace

TEST(DibFromDecoded, TrueColourRowsGoBottomUpIntoPaddedRows) {
    auto colour = [](int x, int y) { return RGBColor(uint8_t(x * 40), uint8_t(y * 60), uint8_t(x + y)); };
    const DecodedPicture decoded = MakeDecoded(5, 3, 24, {}, colour);
    DibPicture dib;
    ASSERT_TRUE(DibFromDecoded(dib, decoded));
    EXPECT_EQ(DibBitCount(dib), 24);
    EXPECT_EQ(dib.dib().BytesPerLine, 16);
    EXPECT_EQ(dib.dib().Info->biSizeImage, 48u);
    EXPECT_EQ(dib.dib().HasPalette, 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(ColourAt(dib, x, y), colour(x, y)) << x << "," << y;
    // Stored row 0 is the picture's bottom row.
    EXPECT_EQ(getpixel(dib, 0, 0), colour(0, 2));
}

TEST(DibFromDecoded, IndexedPicturesCarryTheirTableInBothPlaces) {
    for (int bits : {4, 8}) {
        SCOPED_TRACE(bits);
        const std::vector<uint32_t> palette = {RGBColor(10, 20, 30), RGBColor(200, 100, 0), RGBColor(1, 2, 3)};
        auto index = [](int x, int y) { return uint32_t((x + 2 * y) % 3); };
        const DecodedPicture decoded = MakeDecoded(9, 4, bits, palette, index);
        DibPicture dib;
        ASSERT_TRUE(DibFromDecoded(dib, decoded));
        EXPECT_EQ(DibBitCount(dib), bits);
        EXPECT_EQ(dib.dib().HasPalette, 1);
        EXPECT_EQ(dib.dib().LogPalette.palNumEntries, 1 << bits);
        for (uint32_t i = 0; i < 3; ++i) {
            EXPECT_EQ(TableColour(dib, i), palette[i]);
            EXPECT_EQ(LogColour(dib, i), palette[i]);
        }
        // Entries the decoder did not name are black.
        EXPECT_EQ(LogColour(dib, 3), 0u);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 9; ++x)
                EXPECT_EQ(getpixel(dib, x, 3 - y), index(x, y)) << x << "," << y;
    }
}

TEST(DibFromDecoded, TwoColourPicturesGetTheirDarkerColourAtIndexZero) {
    // White at index 0, as in PBM files: stored swapped, every bit inverted,
    // so the picture looks the same and black stays black after ConvertDib.
    auto index = [](int x, int y) { return uint32_t((x * y) % 2); };
    const DecodedPicture whiteFirst = MakeDecoded(11, 3, 1, {RGBColor(255, 255, 255), RGBColor(0, 0, 0)}, index);
    DibPicture dib;
    ASSERT_TRUE(DibFromDecoded(dib, whiteFirst));
    EXPECT_EQ(LogColour(dib, 0), RGBColor(0, 0, 0));
    EXPECT_EQ(TableColour(dib, 1), RGBColor(255, 255, 255));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 11; ++x) {
            EXPECT_EQ(ColourAt(dib, x, y), index(x, y) ? RGBColor(0, 0, 0) : RGBColor(255, 255, 255));
            EXPECT_EQ(getpixel(dib, x, 2 - y), 1 - index(x, y));
        }
    dib.reset();

    // Already dark first: stored as delivered.
    const DecodedPicture redYellow = MakeDecoded(11, 3, 1, {RGBColor(255, 0, 0), RGBColor(255, 255, 0)}, index);
    ASSERT_TRUE(DibFromDecoded(dib, redYellow));
    EXPECT_EQ(LogColour(dib, 0), RGBColor(255, 0, 0));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 11; ++x) EXPECT_EQ(getpixel(dib, x, 2 - y), index(x, y));
}

TEST(DibFromDecoded, RefusesBadInputWithAMessageAndNoStorage) {
    struct Case {
        const char* what;
        DecodedPicture picture;
        std::string message;
    };
    std::vector<Case> cases;
    {
        DecodedPicture failed;
        failed.error = "Die Datei ist beschädigt oder keine gültige Grafik.";
        cases.push_back({"decoder failure", failed, failed.error});
    }
    {
        DecodedPicture silent; // neither pixels nor message
        cases.push_back({"empty result", silent, kPictureUnknownErrorMessage});
    }
    {
        DecodedPicture zero = MakeDecoded(4, 4, 24, {}, [](int, int) { return 0u; });
        zero.width = 0;
        cases.push_back({"zero width", zero, "Die Grafik hat keine gültige Größe (0 × 4 Bildpunkte)."});
    }
    {
        // No pixels behind it: refused by size before anything is allocated.
        DecodedPicture huge;
        huge.width = 100000;
        huge.height = 100000;
        huge.bitCount = 24;
        huge.stride = 300000;
        cases.push_back({"absurd size", huge, "Die Grafik ist zu groß (100000 × 100000 Bildpunkte)."});
    }
    {
        DecodedPicture depth = MakeDecoded(4, 4, 24, {}, [](int, int) { return 0u; });
        depth.bitCount = 16;
        cases.push_back({"16 bits", depth, "Grafiken mit 16 Bit je Bildpunkt werden nicht unterstützt."});
    }
    {
        DecodedPicture shortData = MakeDecoded(4, 4, 24, {}, [](int, int) { return 0u; }, 0);
        shortData.pixels.pop_back();
        cases.push_back({"short pixel buffer", shortData, kPictureDataMessage});
    }
    {
        DecodedPicture narrow = MakeDecoded(4, 4, 8, {}, [](int, int) { return 0u; }, 0);
        narrow.stride = 3;
        cases.push_back({"stride below row", narrow, kPictureDataMessage});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DibPicture dib;
        EXPECT_FALSE(DibFromDecoded(dib, c.picture));
        EXPECT_EQ(dib.dib().Bits, nullptr);
        EXPECT_EQ(dib.dib().Storage, 0u);
        EXPECT_EQ(dib.dib().Info, nullptr);
        EXPECT_EQ(DibMessage(dib), c.message);
    }
}

TEST(OpenDib, ReadsThroughTheDecoderAndReportsItsMessage) {
    FakePictureDecoder decoder;
    decoder.pictures["bild.gif"] = MakeDecoded(3, 2, 8, {RGBColor(1, 2, 3), RGBColor(4, 5, 6)},
                                               [](int x, int) { return uint32_t(x % 2); });
    DibPicture dib;
    ASSERT_TRUE(OpenDib(dib, "/irgendwo/bild.gif", decoder));
    EXPECT_EQ(DibBitCount(dib), 8);
    dib.reset();

    EXPECT_FALSE(OpenDib(dib, "/irgendwo/fehlt.png", decoder));
    EXPECT_EQ(dib.dib().Bits, nullptr);
    EXPECT_EQ(DibMessage(dib), zb::test::kFakeUnknownMessage);

    // The in-memory path goes the same way (the fake takes the bytes as a name).
    const std::string name = "bild.gif";
    ASSERT_TRUE(OpenDibBytes(dib, reinterpret_cast<const uint8_t*>(name.data()), name.size(), decoder));
    dib.reset();

    // The way pictures enter a design: straight to 24 bits, palette colours kept.
    ASSERT_TRUE(OpenPicture24(dib, "bild.gif", decoder));
    EXPECT_EQ(DibBitCount(dib), 24);
    EXPECT_EQ(ColourAt(dib, 0, 0), RGBColor(1, 2, 3));
    EXPECT_EQ(ColourAt(dib, 1, 1), RGBColor(4, 5, 6));
    dib.reset();
    EXPECT_FALSE(OpenPicture24(dib, "fehlt.png", decoder));
    EXPECT_EQ(DibMessage(dib), zb::test::kFakeUnknownMessage);
}

TEST(GetDIBOpenFilter, ListsEveryFormatOnceAndAllFilesLast) {
    FakePictureDecoder decoder;
    EXPECT_EQ(GetDIBOpenFilter(decoder), "Alle Dateien (*)");
    decoder.formats = {{"PNG-Grafik", {"png"}}, {"JPEG-Foto", {"jpg", "jpeg"}}, {"Leer", {}}};
    EXPECT_EQ(GetDIBOpenFilter(decoder),
              "Alle Grafikdateien (*.png *.jpg *.jpeg);;PNG-Grafik (*.png);;JPEG-Foto (*.jpg *.jpeg);;"
              "Alle Dateien (*)");
}
