#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>
#include <sys/stat.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include "DesignFileTestUtil.h"
#include "TestRaster.h"
#include "document/DesignFile.h"
#include "document/LittleEndian.h"
#include "model/LayerStack.h"
#include "render/Compositor.h"

using namespace zb;
using namespace zb::test;

namespace {

// A design whose layers use every picture depth the format carries, odd widths
// (padded rows), unusual settings, and texts with bytes from 0x80 up.
std::unique_ptr<Design> RichDesign(uint32_t seed) {
    auto d = std::make_unique<Design>();
    struct Pic { int w, h, bits; };
    const Pic pics[] = {{7, 5, 24}, {5, 3, 8}, {13, 4, 4}, {17, 3, 1}, {3, 2, 32}, {5, 2, 16}};
    uint32_t k = 0;
    for (const Pic& p : pics) {
        TLayerRecord& l = AddLayerWith(*d, MakePicture(p.w, p.h, p.bits, seed + k));
        l.Kind = k == 5 ? 7u : k % 5;  // a kind from a newer or damaged file stays as it is
        l.Transparency = int32_t(k) - 5;
        l.GradientDirection = int32_t(k % 4);
        l.PatternShape = int32_t(k % 6);
        l.PatternColorMode = int32_t((k + 1) % 3);
        l.PatternSizeMode = int32_t(k % 2);
        l.PatternPosMode = int32_t((k + 1) % 2);
        l.PatternCount = 1 + int32_t(k) * 19999;
        l.TextCount = int32_t(k);
        l.FilterIndex = int32_t(13 - k);
        l.TextColorMode = int32_t(k % 3);
        l.TextSize = 1 + int32_t(k) * 28;
        l.TextSizeMode = int32_t(k % 2);
        l.TextPosMode = int32_t((k + 1) % 2);
        l.TextFontMode = int32_t(k % 2);
        l.GradientColor1 = RGBColor(uint8_t(k), 200, 255);
        l.GradientColor2 = RGBColor(9, uint8_t(k * 40), 1);
        l.PatternColor = RGBColor(255, 255, uint8_t(k));
        l.TextColor = RGBColor(uint8_t(k * 3), 0, 128);
        l.PatternSizeMM = 1.0 + k * 16.37;
        l.PictureWidthMM = 1000.0 - k * 123.456;
        ++k;
    }
    d->Layers[0].LayerText = "";
    d->Layers[1].LayerText = "Gr\xFC\xDF" "e aus K\xF6ln \x80 \xFF";
    d->Layers[2].FontName = "";
    d->Layers[3].FontName = "Caf\xE9 Sans";
    d->Paper = {21.37, 29.7, 3.5, 4.25, 0.8235, 125, 1.25, 9.99, false, false, false, false};
    d->Layers.Select(1);
    return d;
}

void ExpectSamePicture(const TDibRecord& a, const TDibRecord& b) {
    ASSERT_NE(b.Bits, nullptr);
    ASSERT_EQ(DibWidth(a), DibWidth(b));
    ASSERT_EQ(DibHeight(a), DibHeight(b));
    ASSERT_EQ(DibBitCount(a), DibBitCount(b));
    ASSERT_EQ(a.BytesPerLine, b.BytesPerLine);
    EXPECT_EQ(std::memcmp(a.Bits, b.Bits, size_t(a.BytesPerLine) * size_t(DibHeight(a))), 0);
    const int colors = DibTableSize(DibBitCount(a));
    EXPECT_EQ(std::memcmp(DibColorTable(a), DibColorTable(b), size_t(colors) * 4), 0);
    EXPECT_EQ(b.LogPalette.palNumEntries, colors);
    for (int i = 0; i < colors; ++i) {
        EXPECT_EQ(b.LogPalette.palPalEntry[i].peRed, DibColorTable(a)[i].rgbRed);
        EXPECT_EQ(b.LogPalette.palPalEntry[i].peBlue, DibColorTable(a)[i].rgbBlue);
    }
}

void ExpectSameLayer(const TLayerRecord& a, const TLayerRecord& b) {
    EXPECT_EQ(a.Kind, b.Kind);
    EXPECT_EQ(a.Transparency, b.Transparency);
    EXPECT_EQ(a.GradientDirection, b.GradientDirection);
    EXPECT_EQ(a.PatternShape, b.PatternShape);
    EXPECT_EQ(a.PatternColorMode, b.PatternColorMode);
    EXPECT_EQ(a.PatternSizeMode, b.PatternSizeMode);
    EXPECT_EQ(a.PatternPosMode, b.PatternPosMode);
    EXPECT_EQ(a.PatternCount, b.PatternCount);
    EXPECT_EQ(a.TextCount, b.TextCount);
    EXPECT_EQ(a.FilterIndex, b.FilterIndex);
    EXPECT_EQ(a.TextColorMode, b.TextColorMode);
    EXPECT_EQ(a.TextSize, b.TextSize);
    EXPECT_EQ(a.TextSizeMode, b.TextSizeMode);
    EXPECT_EQ(a.TextPosMode, b.TextPosMode);
    EXPECT_EQ(a.TextFontMode, b.TextFontMode);
    EXPECT_EQ(a.GradientColor1, b.GradientColor1);
    EXPECT_EQ(a.GradientColor2, b.GradientColor2);
    EXPECT_EQ(a.PatternColor, b.PatternColor);
    EXPECT_EQ(a.TextColor, b.TextColor);
    EXPECT_EQ(a.PatternSizeMM, b.PatternSizeMM);
    EXPECT_EQ(a.PictureWidthMM, b.PictureWidthMM);
    EXPECT_EQ(a.LayerText, b.LayerText);
    EXPECT_EQ(a.FontName, b.FontName);
    ExpectSamePicture(a.LayerPicture, b.LayerPicture);
}

// Two layers, small pictures: a 24-bit and an 8-bit one with odd widths.
std::unique_ptr<Design> SmallDesign() {
    auto d = std::make_unique<Design>();
    AddLayerWith(*d, MakePicture(3, 2, 24, 11));
    TLayerRecord& top = AddLayerWith(*d, MakePicture(5, 2, 8, 12));
    top.LayerText = "Zierbogen \xE4\xF6\xFC";
    d->Layers.Select(1);
    return d;
}

// Offsets inside a saved SmallDesign file.
constexpr size_t kLayer0 = 4;
constexpr size_t kLayer0Text = kLayer0 + 1192;           // Lt = 4 ("Test")
constexpr size_t kLayer0Font = kLayer0Text + 4 + 4;      // Lf = 5 ("Arial")
constexpr size_t kLayer0Info = kLayer0Font + 4 + 5;      // I, C, header
constexpr size_t kLayer0Header = kLayer0Info + 8;

class DesignFileTest : public ::testing::Test {
protected:
    // Opens `bytes` (written to a file) into a design that already holds
    // something; expects refusal and the design unchanged. Returns the message.
    std::string ExpectRefused(const std::vector<uint8_t>& bytes, const std::string& name = "kaputt.zbg") {
        const std::string path = dir.File(name);
        WriteBytes(path, bytes);
        std::unique_ptr<Design> current = RichDesign(99);
        const Design* before = current.get();
        const Snapshot snap = Snap(*current);
        const FileResult r = openfile(path, current);
        EXPECT_FALSE(r.Ok);
        EXPECT_NE(r.Message.find("„" + name + "“"), std::string::npos) << r.Message;
        EXPECT_EQ(current.get(), before);
        EXPECT_TRUE(Snap(*current) == snap);
        return r.Message;
    }

    std::vector<uint8_t> Saved(const Design& d, const std::string& name = "gut.zbg") {
        const std::string path = dir.File(name);
        const FileResult r = savefile(d, path);
        EXPECT_TRUE(r.Ok) << r.Message;
        return ReadBytes(path);
    }

    TempDir dir;
};

} // namespace

TEST_F(DesignFileTest, DefaultLayerWithFallbackPictureIs1649BytesAtTheDocumentedOffsets) {
    Design d;
    std::vector<DibPicture> noTextures;
    ASSERT_EQ(AddLayer(d, noTextures), "");
    const std::vector<uint8_t> f = Saved(d);
    ASSERT_EQ(f.size(), 1649u);
    EXPECT_EQ(le::GetI32(&f[0]), 1);
    EXPECT_EQ(le::Get32(&f[4]), 2u);                   // Kind: texture
    EXPECT_EQ(le::Get32(&f[4 + 60]), RGBColor(0, 0, 255));
    EXPECT_EQ(le::GetDouble(&f[4 + 88]), 75.0);
    EXPECT_EQ(le::GetI32(&f[1196]), 4);
    EXPECT_EQ(std::string(f.begin() + 1200, f.begin() + 1204), "Test");
    EXPECT_EQ(le::GetI32(&f[1204]), 5);
    EXPECT_EQ(std::string(f.begin() + 1208, f.begin() + 1213), "Arial");
    EXPECT_EQ(le::GetI32(&f[1213]), 40);               // I
    EXPECT_EQ(le::GetI32(&f[1217]), 0);                // C
    EXPECT_EQ(le::Get32(&f[1221]), 40u);               // biSize
    EXPECT_EQ(le::GetI32(&f[1225]), 10);               // width
    EXPECT_EQ(le::GetI32(&f[1229]), 10);               // height
    EXPECT_EQ(le::Get16(&f[1235]), 24);                // bit count
    // 10 rows of 32 bytes (30 of pixels, 2 of padding), then the settings.
    EXPECT_EQ(le::GetDouble(&f[1581]), 17.5);
    EXPECT_EQ(le::GetDouble(&f[1589]), 28.0);
    EXPECT_EQ(le::GetDouble(&f[1613]), 0.625);
    EXPECT_EQ(le::GetDouble(&f[1621]), 30.0);
    EXPECT_EQ(f[1645], 1);
    EXPECT_EQ(f[1646], 1);
    EXPECT_EQ(f[1647], 1);
    EXPECT_EQ(f[1648], 1);
}

TEST_F(DesignFileTest, PalettedPicturesStoreTheirColourTable) {
    struct Case { int bits, colors, width; };
    for (const Case c : {Case{8, 256, 5}, Case{4, 16, 13}, Case{1, 2, 17}}) {
        SCOPED_TRACE(c.bits);
        Design d;
        AddLayerWith(d, MakePicture(c.width, 3, c.bits, uint32_t(c.bits)));
        const std::vector<uint8_t> f = Saved(d);
        const size_t info = 4 + 1192 + (4 + 4) + (4 + 5);  // after "Test" and "Arial"
        EXPECT_EQ(le::GetI32(&f[info]), 40 + 4 * c.colors);
        EXPECT_EQ(le::GetI32(&f[info + 4]), c.colors);
        EXPECT_EQ(std::memcmp(&f[info + 8 + 40], DibColorTable(d.Layers[0].LayerPicture), size_t(c.colors) * 4), 0);
        const int64_t rows = DibRowBytes(c.width, c.bits) * 3;
        EXPECT_EQ(f.size(), info + 8 + 40 + 4 * size_t(c.colors) + size_t(rows) + 68);

        std::unique_ptr<Design> back;
        ASSERT_TRUE(openfile(dir.File("gut.zbg"), back));
        ExpectSamePicture(d.Layers[0].LayerPicture, back->Layers[0].LayerPicture);
    }
}

TEST_F(DesignFileTest, EverythingSurvivesSaveAndReopenAndSavesByteIdentically) {
    const uint32_t seed = 1234;
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::unique_ptr<Design> d = RichDesign(seed);
    const std::vector<uint8_t> first = Saved(*d, "a.zbg");

    std::unique_ptr<Design> back = std::make_unique<Design>();
    const FileResult r = openfile(dir.File("a.zbg"), back);
    ASSERT_TRUE(r.Ok) << r.Message;
    EXPECT_TRUE(r.Message.empty());
    ASSERT_EQ(back->Layers.size(), d->Layers.size());
    for (uint32_t i = 0; i < d->Layers.size(); ++i) {
        SCOPED_TRACE("layer " + std::to_string(i));
        ExpectSameLayer(d->Layers[i], back->Layers[i]);
    }
    const PaperSettings& p = back->Paper;
    EXPECT_EQ(p.Breit, 21.37);
    EXPECT_EQ(p.Hoch, 29.7);
    EXPECT_EQ(p.BreitV, 3.5);
    EXPECT_EQ(p.HochV, 4.25);
    EXPECT_EQ(p.DezV, 0.8235);
    EXPECT_EQ(p.Zoom, 125);
    EXPECT_EQ(p.RandX, 1.25);
    EXPECT_EQ(p.RandY, 9.99);
    EXPECT_FALSE(p.PrintAll || p.HoldWidth2 || p.SVerh || p.HoldWidth);
    // The top layer is selected, whatever was selected when saving.
    EXPECT_EQ(back->Layers.SelectedIndex(), 5);

    EXPECT_EQ(Saved(*back, "b.zbg"), first);
    // Saving does not move the selection of the saved design.
    EXPECT_EQ(d->Layers.SelectedIndex(), 1);
}

TEST_F(DesignFileTest, PicturesLargerThanTheReadBufferSurvive) {
    Design d;
    AddLayerWith(d, MakePicture(333, 111, 24, 21));   // ~110 KB of rows, read straight into the picture
    AddLayerWith(d, MakePicture(3, 1, 24, 22));       // small again after a large block
    AddLayerWith(d, MakePicture(1001, 70, 8, 23));
    Saved(d);
    std::unique_ptr<Design> back;
    ASSERT_TRUE(openfile(dir.File("gut.zbg"), back));
    ASSERT_EQ(back->Layers.size(), 3u);
    for (uint32_t i = 0; i < 3; ++i) ExpectSamePicture(d.Layers[i].LayerPicture, back->Layers[i].LayerPicture);
}

TEST_F(DesignFileTest, ThreeLayersOpenWithTheTopOneSelected) {
    Design d;
    std::vector<DibPicture> noTextures;
    for (int i = 0; i < 3; ++i) ASSERT_EQ(NewPlane(d, noTextures), "");
    d.Layers.Select(0);
    Saved(d);
    std::unique_ptr<Design> back;
    ASSERT_TRUE(openfile(dir.File("gut.zbg"), back));
    EXPECT_EQ(back->Layers.size(), 3u);
    EXPECT_EQ(back->Layers.SelectedIndex(), 2);
}

TEST_F(DesignFileTest, PaperValuesAreLimitedAndRoundedLikeTheirFields) {
    std::unique_ptr<Design> d = SmallDesign();
    std::vector<uint8_t> f = Saved(*d);
    const size_t t = f.size() - 68;
    const double values[8] = {150.123, 0.5, 3.14159, 1e9, 0.123456, 33.6,
                              -0.5, -1.0};
    for (int k = 0; k < 8; ++k) le::PutDouble(&f[t + 8 * size_t(k)], values[k]);
    f[t + 64] = 0x80;
    f[t + 65] = 0;
    f[t + 66] = 7;
    f[t + 67] = 0;
    WriteBytes(dir.File("grenzen.zbg"), f);
    std::unique_ptr<Design> back;
    ASSERT_TRUE(openfile(dir.File("grenzen.zbg"), back));
    const PaperSettings& p = back->Paper;
    EXPECT_EQ(p.Breit, 100.0);
    EXPECT_EQ(p.Hoch, 1.0);
    EXPECT_EQ(p.BreitV, 3.14);
    EXPECT_EQ(p.HochV, 100000.0);
    EXPECT_EQ(p.DezV, 0.1235);
    EXPECT_EQ(p.Zoom, 34.0);
    EXPECT_EQ(p.RandX, 0.0);
    EXPECT_EQ(p.RandY, 0.0);
    EXPECT_TRUE(p.PrintAll);
    EXPECT_FALSE(p.HoldWidth2);
    EXPECT_TRUE(p.SVerh);
    EXPECT_FALSE(p.HoldWidth);
}

TEST_F(DesignFileTest, LayerWithoutPixelsIsStoredAsAUsablePicture) {
    Design d;
    AddLayerWith(d, MakePicture(3, 3, 24, 5));
    AddLayerWith(d, DibPicture{});  // a picture copy that ran out of memory
    Saved(d);
    std::unique_ptr<Design> back;
    ASSERT_TRUE(openfile(dir.File("gut.zbg"), back));
    const TDibRecord& pic = back->Layers[1].LayerPicture;
    ASSERT_NE(pic.Bits, nullptr);
    EXPECT_EQ(DibWidth(pic), 10);
    EXPECT_EQ(DibHeight(pic), 10);
    EXPECT_EQ(DibBitCount(pic), 24);
    EXPECT_EQ(getpixel(pic, 9, 9), 0u);
    ExpectSamePicture(d.Layers[0].LayerPicture, back->Layers[0].LayerPicture);
}

TEST_F(DesignFileTest, FileCutAtEveryByteIsRefusedAndTheDesignStays) {
    std::unique_ptr<Design> d = SmallDesign();
    const std::vector<uint8_t> full = Saved(*d);
    const std::string path = dir.File("kurz.zbg");
    std::unique_ptr<Design> current = RichDesign(7);
    const Design* before = current.get();
    const Snapshot snap = Snap(*current);
    for (size_t n = 0; n < full.size(); ++n) {
        WriteBytes(path, full.data(), n);
        const FileResult r = openfile(path, current);
        ASSERT_FALSE(r.Ok) << "cut at " << n;
        ASSERT_NE(r.Message.find("„kurz.zbg“"), std::string::npos) << r.Message;
        ASSERT_NE(r.Message.find("endet, bevor alles gelesen ist"), std::string::npos) << "cut at " << n << ": " << r.Message;
        ASSERT_EQ(current.get(), before);
    }
    EXPECT_TRUE(Snap(*current) == snap);
    WriteBytes(path, full);
    ASSERT_TRUE(openfile(path, current));
    EXPECT_EQ(current->Layers.size(), 2u);
}

TEST_F(DesignFileTest, HostileCountsAndSizesAreRefusedBeforeAllocating) {
    std::unique_ptr<Design> d = SmallDesign();
    const std::vector<uint8_t> good = Saved(*d);
    auto patched = [&](size_t offset, int32_t value) {
        std::vector<uint8_t> f = good;
        le::PutI32(&f[offset], value);
        return f;
    };
    auto patched16 = [&](size_t offset, uint16_t value) {
        std::vector<uint8_t> f = good;
        le::Put16(&f[offset], value);
        return f;
    };
    const std::string beyond = "endet, bevor alles gelesen ist";
    const std::string damaged = "beschädigt";
    auto contains = [](const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; };

    // Absurd layer counts: another kind of file (a picture, a text).
    const std::string foreign = "keine Zierbogen-Entwurfsdatei";
    EXPECT_TRUE(contains(ExpectRefused(patched(0, 0)), foreign));
    EXPECT_TRUE(contains(ExpectRefused(patched(0, -3)), foreign));
    EXPECT_TRUE(contains(ExpectRefused(patched(0, INT32_MAX)), foreign));
    EXPECT_TRUE(contains(ExpectRefused(patched(0, 0x474E5089)), foreign)); // "\x89PNG"
    EXPECT_TRUE(contains(ExpectRefused(patched(0, 65536)), foreign));
    EXPECT_TRUE(contains(ExpectRefused(patched(0, 65535)), beyond));
    EXPECT_TRUE(contains(ExpectRefused(patched(0, 3)), beyond));
    EXPECT_TRUE(contains(ExpectRefused({1, 0, 0, 0, 0, 0, 0, 0}), "nennt 1 Ebene,"));
    EXPECT_TRUE(contains(ExpectRefused(patched(kLayer0Text, -1)), "Textlänge (-1)"));
    EXPECT_TRUE(contains(ExpectRefused(patched(kLayer0Font, INT32_MIN)), "Textlänge"));
    EXPECT_TRUE(contains(ExpectRefused(patched(kLayer0Text, INT32_MAX)), beyond));
    // Info size that does not match the colour count, and counts no picture has.
    EXPECT_TRUE(contains(ExpectRefused(patched(kLayer0Info, 48)), "Bildkopfs (48 Bytes)"));
    EXPECT_TRUE(contains(ExpectRefused(patched(kLayer0Info, -40)), damaged));
    EXPECT_TRUE(contains(ExpectRefused(patched(kLayer0Info + 4, 3)), damaged));
    {
        std::vector<uint8_t> f = patched(kLayer0Info, 52);
        le::PutI32(&f[kLayer0Info + 4], 3);
        EXPECT_TRUE(contains(ExpectRefused(f), "Farbanzahl (3)"));
    }
    // Bit counts outside 1, 4, 8, 16, 24, 32, and one that disagrees with C.
    for (uint16_t bits : {0, 2, 7, 23, 64, 0xFFFF}) {
        SCOPED_TRACE(bits);
        EXPECT_TRUE(contains(ExpectRefused(patched16(kLayer0Header + 14, bits)), "Bit je Pixel"));
    }
    EXPECT_TRUE(contains(ExpectRefused(patched16(kLayer0Header + 14, 8)), "Farbanzahl 0"));
    EXPECT_TRUE(contains(ExpectRefused(patched(kLayer0Header + 4, 0)), "0 × 2 Pixel"));
    EXPECT_TRUE(contains(ExpectRefused(patched(kLayer0Header + 8, -2)), "ungültige Größe"));
    EXPECT_TRUE(contains(ExpectRefused(patched(kLayer0Header + 4, INT32_MIN)), "ungültige Größe"));
    // Pixel data larger than the rest of the file: refused, not attempted.
    EXPECT_TRUE(contains(ExpectRefused(patched(kLayer0Header + 4, 100000)), beyond));
    EXPECT_TRUE(contains(ExpectRefused(patched(kLayer0Header + 8, INT32_MAX)), beyond));
    {
        std::vector<uint8_t> f = patched(kLayer0Header + 4, INT32_MAX);
        le::PutI32(&f[kLayer0Header + 8], INT32_MAX);
        le::Put16(&f[kLayer0Header + 14], 32);
        EXPECT_TRUE(contains(ExpectRefused(f), beyond));
    }
    // The same file unpatched opens: the cases above failed for their field alone.
    std::unique_ptr<Design> back;
    EXPECT_TRUE(openfile(dir.File("gut.zbg"), back));
}

TEST_F(DesignFileTest, MissingOrUnreadableFilesAreReportedAndTheDesignStays) {
    std::unique_ptr<Design> current = RichDesign(3);
    const Snapshot snap = Snap(*current);
    FileResult r = openfile(dir.File("gibtsnicht.zbg"), current);
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Message.find("„gibtsnicht.zbg“"), std::string::npos) << r.Message;
    EXPECT_NE(r.Message.find("nicht gefunden"), std::string::npos) << r.Message;

    std::filesystem::create_directory(dir.File("ordner.zbg"));
    r = openfile(dir.File("ordner.zbg"), current);
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Message.find("Ordner"), std::string::npos) << r.Message;

    // A named pipe is refused at once instead of waiting for a writer.
    ASSERT_EQ(::mkfifo(dir.File("rohr.zbg").c_str(), 0600), 0);
    r = openfile(dir.File("rohr.zbg"), current);
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Message.find("„rohr.zbg“"), std::string::npos) << r.Message;
    EXPECT_NE(r.Message.find("Pipe (FIFO)"), std::string::npos) << r.Message;
    // A device says what it is, also behind a link.
    std::filesystem::create_symlink("/dev/null", dir.File("null.zbg"));
    r = openfile(dir.File("null.zbg"), current);
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Message.find("Gerät"), std::string::npos) << r.Message;
    EXPECT_TRUE(Snap(*current) == snap);
}

// Layer values from a file are limited only where they would harm (shapes of
// 1e308 mm, an overflowing transparency, sizes that are not a number):
// everything else, counts of 0 and below included, is kept as stored, through
// a save, and composes the sheet the same values give in memory.
TEST_F(DesignFileTest, LayerValuesAreLimitedOnlyWhereTheyHarm) {
    Design small;
    TLayerRecord& layer = AddLayerWith(small, MakePicture(3, 2, 24, 11));
    layer.Kind = kKindPattern;
    small.Layers.Select(0);
    const std::vector<uint8_t> good = Saved(small);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        int32_t transparency, patternCount, textCount, textSize;
        double patternSizeMM, pictureWidthMM;
        // expected after reading
        int32_t transparency2, patternCount2, textCount2, textSize2;
        double patternSizeMM2, pictureWidthMM2;
    };
    const Case cases[] = {
        {"largest", INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 1e308, 1e308, 5, 100000, 10, 144, 100, 1000},
        {"smallest", INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, -1e308, -1e308, -5, INT32_MIN, INT32_MIN, -144,
         -1e308, -1e308},
        {"infinite", 6, 0, -1, 0, inf, -inf, 5, 0, -1, 0, 100, 1},
        {"not a number", -6, 100001, 11, 145, nan, nan, -5, 100000, 10, 144, 1, 1},
        {"zero and below the editor's minima", 0, -7, 0, -12, 0.5, 0, 0, -7, 0, -12, 0.5, 0},
        {"inside, kept exactly", -5, 99999, 10, 144, 99.96, 1.04, -5, 99999, 10, 144, 99.96, 1.04},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> f = good;
        le::PutI32(&f[kLayer0 + 4], c.transparency);
        le::PutI32(&f[kLayer0 + 28], c.patternCount);
        le::PutI32(&f[kLayer0 + 32], c.textCount);
        le::PutI32(&f[kLayer0 + 44], c.textSize);
        le::PutDouble(&f[kLayer0 + 80], c.patternSizeMM);
        le::PutDouble(&f[kLayer0 + 88], c.pictureWidthMM);
        WriteBytes(dir.File("werte.zbg"), f);
        std::unique_ptr<Design> back;
        ASSERT_TRUE(openfile(dir.File("werte.zbg"), back));
        const TLayerRecord& l = back->Layers[0];
        EXPECT_EQ(l.Transparency, c.transparency2);
        EXPECT_EQ(l.PatternCount, c.patternCount2);
        EXPECT_EQ(l.TextCount, c.textCount2);
        EXPECT_EQ(l.TextSize, c.textSize2);
        EXPECT_EQ(l.PatternSizeMM, c.patternSizeMM2);
        EXPECT_EQ(l.PictureWidthMM, c.pictureWidthMM2);

        // Composes (under the sanitizers: without an overflow on the way) the
        // sheet of the same values set in memory.
        Compositor compositor, expected;
        ASSERT_EQ(compositor.EnsureSize({120, 90}), "");
        ASSERT_EQ(expected.EnsureSize({120, 90}), "");
        EXPECT_EQ(compositor.ComposeFromSeed(*back, 96, 100, 5, nullptr).message, "");
        Design same;
        TLayerRecord& mine = AddLayerWith(same, MakePicture(3, 2, 24, 11));
        mine.Kind = kKindPattern;
        mine.Transparency = c.transparency2;
        mine.PatternCount = c.patternCount2;
        mine.TextCount = c.textCount2;
        mine.TextSize = c.textSize2;
        mine.PatternSizeMM = c.patternSizeMM2;
        mine.PictureWidthMM = c.pictureWidthMM2;
        same.Layers.Select(0);
        EXPECT_EQ(expected.ComposeFromSeed(same, 96, 100, 5, nullptr).message, "");
        EXPECT_EQ(PixelBytes(compositor.DesignView()), PixelBytes(expected.DesignView()));

        // Saved again, the file carries the limited values.
        const std::vector<uint8_t> again = Saved(*back, "wieder.zbg");
        EXPECT_EQ(le::GetI32(&again[kLayer0 + 4]), c.transparency2);
        EXPECT_EQ(le::GetI32(&again[kLayer0 + 28]), c.patternCount2);
        EXPECT_EQ(le::GetDouble(&again[kLayer0 + 80]), c.patternSizeMM2);
    }
}

TEST_F(DesignFileTest, FailedSaveLeavesTheOldFileAndNoLeftovers) {
    std::unique_ptr<Design> old = SmallDesign();
    const std::vector<uint8_t> before = Saved(*old, "arbeit.zbg");
    ::chmod(dir.File("arbeit.zbg").c_str(), 0640);
    // Large enough that its pixel rows bypass the write buffer.
    std::unique_ptr<Design> changed = RichDesign(5);
    AddLayerWith(*changed, MakePicture(201, 150, 24, 6));
    const int64_t size = int64_t(Snap(*changed).bytes.size());
    const std::vector<std::string> names = dir.Names();
    for (int64_t limit : {int64_t{0}, int64_t{1}, int64_t{4}, int64_t{1300}, int64_t{70000}, size - 1}) {
        SCOPED_TRACE(limit);
        SaveOptions options;
        options.FailAfterBytes = limit;
        const FileResult r = savefile(*changed, dir.File("arbeit.zbg"), options);
        EXPECT_FALSE(r.Ok);
        EXPECT_NE(r.Message.find("„arbeit.zbg“"), std::string::npos) << r.Message;
        EXPECT_NE(r.Message.find("Der Datenträger ist voll"), std::string::npos) << r.Message;
        EXPECT_NE(r.Message.find("unverändert"), std::string::npos) << r.Message;
        EXPECT_EQ(ReadBytes(dir.File("arbeit.zbg")), before);
        EXPECT_EQ(dir.Names(), names);  // the temporary file is gone
    }
    // A failed save of a new file leaves nothing behind.
    SaveOptions options;
    options.FailAfterBytes = 2000;
    EXPECT_FALSE(savefile(*changed, dir.File("neu.zbg"), options));
    EXPECT_EQ(dir.Names(), names);

    // A successful save replaces the file and keeps its permissions.
    ASSERT_TRUE(savefile(*changed, dir.File("arbeit.zbg")));
    EXPECT_NE(ReadBytes(dir.File("arbeit.zbg")), before);
    EXPECT_EQ(std::filesystem::status(dir.File("arbeit.zbg")).permissions(),
              std::filesystem::perms(0640));
    EXPECT_EQ(dir.Names(), names);
}

// Root may write anywhere: as root the checks run in a child process under the
// user nobody, which owns the test's folder for that time.
template <typename Body>
void AsUnprivilegedUser(const std::filesystem::path& folder, Body body) {
    if (::geteuid() != 0) {
        body();
        return;
    }
    constexpr uid_t kNobody = 65534;
    ASSERT_EQ(::chown(folder.c_str(), kNobody, kNobody), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(3);
        body();
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the unprivileged child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the checks failed as the user nobody (see above), 3: no change of user";
}

TEST_F(DesignFileTest, WithoutWritePermissionTheOldFileStays) {
    AsUnprivilegedUser(dir.Path(), [&] {
        std::unique_ptr<Design> d = SmallDesign();
        const std::vector<uint8_t> before = Saved(*d, "schutz.zbg");
        ::chmod(dir.File("schutz.zbg").c_str(), 0444);
        FileResult r = savefile(*RichDesign(4), dir.File("schutz.zbg"));
        EXPECT_FALSE(r.Ok);
        EXPECT_NE(r.Message.find("schreibgeschützt"), std::string::npos) << r.Message;
        EXPECT_EQ(ReadBytes(dir.File("schutz.zbg")), before);

        // A writable file in a folder where no new file may be made.
        ::chmod(dir.File("schutz.zbg").c_str(), 0644);
        ::chmod(dir.Path().c_str(), 0555);
        r = savefile(*RichDesign(4), dir.File("schutz.zbg"));
        ::chmod(dir.Path().c_str(), 0755);
        EXPECT_FALSE(r.Ok);
        EXPECT_NE(r.Message.find("Der Zugriff wurde verweigert"), std::string::npos) << r.Message;
        EXPECT_NE(r.Message.find("unverändert"), std::string::npos) << r.Message;
        EXPECT_EQ(ReadBytes(dir.File("schutz.zbg")), before);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"schutz.zbg"});
    });
}

TEST_F(DesignFileTest, SaveIntoAMissingFolderOrOverAFolderIsReported) {
    std::unique_ptr<Design> d = SmallDesign();
    FileResult r = savefile(*d, dir.File("fehlt/neu.zbg"));
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Message.find("„neu.zbg“"), std::string::npos) << r.Message;
    EXPECT_NE(r.Message.find("nicht gefunden"), std::string::npos) << r.Message;

    // The rename at the very end fails: the folder stays, the temporary file goes.
    std::filesystem::create_directory(dir.File("ordner.zbg"));
    const std::vector<std::string> names = dir.Names();
    r = savefile(*d, dir.File("ordner.zbg"));
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Message.find("„ordner.zbg“"), std::string::npos) << r.Message;
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("ordner.zbg")));
    EXPECT_EQ(dir.Names(), names);
}

TEST_F(DesignFileTest, SavingThroughASymbolicLinkKeepsTheLink) {
    std::unique_ptr<Design> d = SmallDesign();
    Saved(*d, "echt.zbg");
    std::filesystem::create_symlink("echt.zbg", dir.File("verweis.zbg"));
    std::unique_ptr<Design> other = RichDesign(8);
    ASSERT_TRUE(savefile(*other, dir.File("verweis.zbg")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("verweis.zbg")));
    EXPECT_EQ(ReadBytes(dir.File("echt.zbg")), Snap(*other).bytes);
}

TEST_F(DesignFileTest, PalettedLayerPicturesComposeInTheirColoursAndKeepTheirBytes) {
    struct Case {
        int bits;
        uint8_t index;     // of every pixel
        uint8_t expected[3]; // blue, green, red after conversion
    };
    // 1 bit: black/white by index; 4 and 8 bits: the colour table.
    const Case cases[] = {{8, 7, {0, 0, 255}}, {4, 3, {0, 0, 255}}, {1, 1, {255, 255, 255}}, {1, 0, {0, 0, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE("bits " + std::to_string(c.bits) + ", index " + std::to_string(c.index));
        auto d = std::make_unique<Design>();
        DibPicture pic(4, 4, c.bits);
        ASSERT_NE(pic.dib().Bits, nullptr);
        TRgbQuad* table = DibColorTable(pic);
        for (int i = 0; i < DibTableSize(c.bits); ++i) {
            // Every entry green, except the chosen one red; the 1-bit table is
            // red and yellow, which must not show.
            const bool chosen = c.bits == 1 || i == c.index;
            table[i] = chosen ? TRgbQuad{0, uint8_t(c.bits == 1 && i ? 255 : 0), 255, 0} : TRgbQuad{0, 255, 0, 0};
            pic.dib().LogPalette.palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
        }
        for (int y = 0; y < 4; ++y) {
            uint8_t* row = pic.dib().Bits + y * pic.dib().BytesPerLine;
            if (c.bits == 8) std::memset(row, c.index, 4);
            if (c.bits == 4) std::memset(row, c.index * 0x11, 2);
            if (c.bits == 1) row[0] = c.index ? 0xF0 : 0x00;
        }
        TLayerRecord& layer = AddLayerWith(*d, std::move(pic));
        layer.Kind = kKindTexture;
        const std::string file = dir.File("palette.zbg");
        ASSERT_TRUE(savefile(*d, file));
        const std::vector<uint8_t> saved = ReadBytes(file);

        std::unique_ptr<Design> reopened;
        ASSERT_TRUE(openfile(file, reopened));
        ASSERT_EQ(DibBitCount(reopened->Layers[0].LayerPicture), c.bits);
        Compositor compositor;
        ASSERT_EQ(compositor.EnsureSize({9, 6}), "");
        ASSERT_EQ(compositor.ComposeFromSeed(*reopened, 96, 100, 1, nullptr).message, "");
        const RasterView v = compositor.DesignView();
        for (int y = 0; y < v.height; ++y)
            for (int x = 0; x < v.width; ++x)
                ASSERT_EQ(std::memcmp(v.pixel(x, y), c.expected, 3), 0) << "at " << x << ", " << y;

        // The stored picture is unchanged: saving again gives the same bytes.
        const std::string again = dir.File("wieder.zbg");
        ASSERT_TRUE(savefile(*reopened, again));
        EXPECT_EQ(ReadBytes(again), saved);
    }
}

TEST_F(DesignFileTest, SettingsMustBeExactlyTheLast68BytesAndFinite) {
    std::unique_ptr<Design> current = RichDesign(5);
    const Snapshot snap = Snap(*current);
    std::unique_ptr<Design> d = SmallDesign();
    const std::vector<uint8_t> good = Saved(*d);
    auto refused = [&](const std::vector<uint8_t>& bytes, const std::string& why) {
        SCOPED_TRACE(why);
        WriteBytes(dir.File("kaputt.zbg"), bytes);
        const FileResult r = openfile(dir.File("kaputt.zbg"), current);
        EXPECT_FALSE(r.Ok);
        EXPECT_NE(r.Message.find("„kaputt.zbg“"), std::string::npos) << r.Message;
        EXPECT_NE(r.Message.find("beschädigt"), std::string::npos) << r.Message;
        EXPECT_TRUE(Snap(*current) == snap);
    };

    // The picture's bit count changed from 24 to 16: its rows get shorter and
    // the reader would take pixel bytes for the settings.
    std::vector<uint8_t> f = good;
    const size_t header = 4 + 1192 + 4 + 4 + 4 + 5 + 4 + 4; // first layer: texts "Test", "Arial", then I and C
    ASSERT_EQ(le::Get16(&f[header + 14]), 24);
    le::Put16(&f[header + 14], 16);
    refused(f, "16 instead of 24 bits");

    f = good;
    f.push_back(0);
    refused(f, "one byte too many");

    const size_t t = good.size() - 68;
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity()}) {
        for (size_t k : {size_t(0), size_t(5), size_t(7)}) {
            f = good;
            le::PutDouble(&f[t + 8 * k], bad);
            refused(f, "value " + std::to_string(k) + " = " + std::to_string(bad));
        }
    }

    // The good file still opens.
    WriteBytes(dir.File("gut.zbg"), good);
    EXPECT_TRUE(openfile(dir.File("gut.zbg"), current));
}
