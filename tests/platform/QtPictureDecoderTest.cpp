// Real files of every format we promise to read, written into a temporary
// folder, decoded by Qt and built into DIB records by the core.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <set>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "BmpWriter.h"
#include "GifWriter.h"
#include "imaging/ConvertDib.h"
#include "imaging/PictureImport.h"
#include "platform/QtPictureDecoder.h"

using namespace zb;
using zb::platform::QtPictureDecoder;
using zb::test::BmpCompression;
using zb::test::BmpWriter;
using zb::test::GifWriter;

namespace {

// A colour reference from 0xRRGGBB.
uint32_t Ref(uint32_t rgb) { return RGBColor(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)); }

uint32_t LogColour(const TDibRecord& dib, uint32_t index) {
    const TPaletteEntry e = dib.LogPalette.palPalEntry[index];
    return RGBColor(e.peRed, e.peGreen, e.peBlue);
}

// Index (1/4/8 bits) or colour (24 bits) at top-down (x, y).
uint32_t ValueAt(const TDibRecord& dib, int x, int yTop) { return getpixel(dib, x, DibHeight(dib) - 1 - yTop); }

uint32_t ColourAt(const TDibRecord& dib, int x, int yTop) {
    const uint32_t v = ValueAt(dib, x, yTop);
    return DibBitCount(dib) == 24 ? v : LogColour(dib, v);
}

// Sixteen distinct colours, none of them grey.
const std::vector<uint32_t> kPalette16 = {0x102030, 0xF01020, 0x20F010, 0x1020F0, 0xF0F020, 0x20F0F0, 0xF020F0, 0x804020,
                                          0x208040, 0x402080, 0xC08040, 0x40C080, 0x8040C0, 0xE0A060, 0x60E0A0, 0xA060E0};

std::vector<uint32_t> Palette(int n) {
    std::vector<uint32_t> p;
    for (int i = 0; i < n; ++i) p.push_back(uint32_t((i * 37 % 256) << 16 | (i * 91 % 256) << 8 | (255 - i)));
    return p;
}

// Runs of three with some single pixels, so RLE writers use both modes.
uint32_t IndexPattern(int x, int y, int n) { return uint32_t((x < 6 ? x : x / 3) + 2 * y) % uint32_t(n); }

class PictureFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QtPictureDecoder decoder;

    std::string Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)).toStdString(); }

    std::string Write(const char* name, const std::vector<uint8_t>& bytes) const {
        QFile f(QString::fromStdString(Path(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return Path(name);
    }

    std::string Save(const char* name, const QImage& image, const char* format, int quality = -1) const {
        QImageWriter writer(QString::fromStdString(Path(name)), format);
        writer.setQuality(quality);
        EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
        return Path(name);
    }

    // Opens through the core; fails the test with the message when it cannot.
    DibPicture Open(const std::string& path) const {
        DibPicture dib;
        EXPECT_TRUE(OpenDib(dib, path, decoder)) << path << ": " << DibMessage(dib);
        return dib;
    }
};

QImage TrueColourPicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 9 % 256, y * 13 % 256, (x * y) % 256));
    return image;
}

void ExpectSamePixels(const TDibRecord& dib, const QImage& image, int tolerance = 0) {
    ASSERT_EQ(DibWidth(dib), image.width());
    ASSERT_EQ(DibHeight(dib), image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const uint32_t got = ColourAt(dib, x, y);
            const QRgb want = image.pixel(x, y);
            ASSERT_NEAR(RedOf(got), qRed(want), tolerance) << x << "," << y;
            ASSERT_NEAR(GreenOf(got), qGreen(want), tolerance) << x << "," << y;
            ASSERT_NEAR(BlueOf(got), qBlue(want), tolerance) << x << "," << y;
        }
}

void ExpectIndexed(const TDibRecord& dib, int bits, int w, int h, const std::vector<uint32_t>& palette,
                   const std::function<uint32_t(int, int)>& index) {
    ASSERT_NE(dib.Bits, nullptr);
    ASSERT_EQ(DibBitCount(dib), bits);
    ASSERT_EQ(DibWidth(dib), w);
    ASSERT_EQ(DibHeight(dib), h);
    EXPECT_EQ(dib.HasPalette, 1);
    for (size_t i = 0; i < palette.size(); ++i) {
        EXPECT_EQ(LogColour(dib, uint32_t(i)), Ref(palette[i])) << "entry " << i;
        const TRgbQuad q = DibColorTable(dib)[i];
        EXPECT_EQ(RGBColor(q.rgbRed, q.rgbGreen, q.rgbBlue), Ref(palette[i])) << "entry " << i;
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(ValueAt(dib, x, y), index(x, y)) << x << "," << y;
}

} // namespace

TEST_F(PictureFiles, HandBuiltBmpsOfEveryIndexedDepthAndCompression) {
    struct Case {
        const char* name;
        int bits;
        int colours;
        BmpCompression compression;
        int expectBits;
    };
    const Case cases[] = {
        {"vier.bmp", 4, 16, BmpCompression::None, 4},   {"acht.bmp", 8, 256, BmpCompression::None, 8},
        {"rle4.bmp", 4, 16, BmpCompression::Rle4, 4},   {"rle8.bmp", 8, 256, BmpCompression::Rle8, 8},
        {"acht-wenig.bmp", 8, 12, BmpCompression::None, 4}, // at most 16 colours: 4 bits
        {"rle8-mittel.bmp", 8, 40, BmpCompression::Rle8, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint32_t> palette = c.colours == 16 ? kPalette16 : Palette(c.colours);
        auto index = [&](int x, int y) { return IndexPattern(x, y, c.colours); };
        const int w = 23, h = 7;
        DibPicture dib = Open(Write(c.name, BmpWriter::Build(w, h, c.bits, palette, index, c.compression)));
        ExpectIndexed(dib, c.expectBits, w, h, palette, index);
        // And through the conversion every texture takes.
        ASSERT_TRUE(ConvertDib(dib, 24));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) ASSERT_EQ(ColourAt(dib, x, y), Ref(palette[index(x, y)])) << x << "," << y;
    }
}

TEST_F(PictureFiles, TwoColourBmpIsOneBitAndComesOutBlackAndWhite) {
    const std::vector<uint32_t> redYellow = {0xFF0000, 0xFFFF00};
    auto index = [](int x, int y) { return uint32_t((x / 2 + y) % 2); };
    DibPicture dib = Open(Write("zwei.bmp", BmpWriter::Build(13, 5, 1, redYellow, index)));
    ExpectIndexed(dib, 1, 13, 5, redYellow, index);
    ASSERT_TRUE(ConvertDib(dib, 24));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x)
            ASSERT_EQ(ColourAt(dib, x, y), index(x, y) ? RGBColor(255, 255, 255) : RGBColor(0, 0, 0));
    dib.reset();

    // White first: stored dark-first, so black parts stay black.
    const std::vector<uint32_t> whiteBlack = {0xFFFFFF, 0x000000};
    dib = Open(Write("weiss-zuerst.bmp", BmpWriter::Build(13, 5, 1, whiteBlack, index)));
    ASSERT_EQ(DibBitCount(dib), 1);
    ASSERT_TRUE(ConvertDib(dib, 24));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x)
            ASSERT_EQ(ColourAt(dib, x, y), index(x, y) ? RGBColor(0, 0, 0) : RGBColor(255, 255, 255));
}

TEST_F(PictureFiles, TrueColourBmpsOf24And32Bits) {
    const QImage picture = TrueColourPicture(19, 6);
    auto colour = [&](int x, int y) { return uint32_t(picture.pixel(x, y) & 0xFFFFFF); };
    for (int bits : {24, 32}) {
        SCOPED_TRACE(bits);
        DibPicture dib = Open(Write(bits == 24 ? "rgb24.bmp" : "rgb32.bmp", BmpWriter::Build(19, 6, bits, {}, colour)));
        ASSERT_EQ(DibBitCount(dib), 24);
        ExpectSamePixels(dib, picture);
    }
}

TEST_F(PictureFiles, PngInAllItsKinds) {
    const QImage rgb = TrueColourPicture(21, 9);
    DibPicture dib = Open(Save("farbe.png", rgb, "png"));
    EXPECT_EQ(DibBitCount(dib), 24);
    ExpectSamePixels(dib, rgb);
    dib.reset();

    // Transparency is laid over white.
    QImage alpha(4, 1, QImage::Format_ARGB32);
    alpha.setPixel(0, 0, qRgba(255, 0, 0, 255));
    alpha.setPixel(1, 0, qRgba(255, 0, 0, 0));
    alpha.setPixel(2, 0, qRgba(255, 0, 0, 128));
    alpha.setPixel(3, 0, qRgba(0, 0, 200, 51));
    const DecodedPicture decoded = decoder.DecodeFile(Save("alpha.png", alpha, "png"));
    EXPECT_TRUE(decoded.flattenedAlpha);
    ASSERT_TRUE(DibFromDecoded(dib, decoded));
    EXPECT_EQ(DibBitCount(dib), 24);
    EXPECT_EQ(ColourAt(dib, 0, 0), RGBColor(255, 0, 0));
    EXPECT_EQ(ColourAt(dib, 1, 0), RGBColor(255, 255, 255));
    EXPECT_EQ(ColourAt(dib, 2, 0), RGBColor(255, 127, 127));
    EXPECT_EQ(ColourAt(dib, 3, 0), RGBColor(204, 204, 244));
    dib.reset();

    // Indexed: few colours give 4 bits, more give 8.
    for (int colours : {5, 40}) {
        SCOPED_TRACE(colours);
        const std::vector<uint32_t> palette = Palette(colours);
        QImage indexed(17, 5, QImage::Format_Indexed8);
        QList<QRgb> table;
        for (uint32_t c : palette) table.push_back(0xFF000000u | c);
        indexed.setColorTable(table);
        auto index = [&](int x, int y) { return IndexPattern(x, y, colours); };
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 17; ++x) indexed.setPixel(x, y, index(x, y));
        dib = Open(Save(colours == 5 ? "index5.png" : "index40.png", indexed, "png"));
        ExpectIndexed(dib, colours == 5 ? 4 : 8, 17, 5, palette, index);
    }

    // Monochrome stays 1 bit; 16-bit grey becomes an 8-bit grey ramp.
    QImage mono(10, 2, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(0);
    mono.setPixel(3, 1, 1);
    dib = Open(Save("mono.png", mono, "png"));
    EXPECT_EQ(DibBitCount(dib), 1);
    EXPECT_EQ(ColourAt(dib, 3, 1), RGBColor(255, 255, 255));
    EXPECT_EQ(ColourAt(dib, 4, 1), RGBColor(0, 0, 0));
    dib.reset();

    QImage grey16(8, 3, QImage::Format_Grayscale16);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 8; ++x) reinterpret_cast<quint16*>(grey16.scanLine(y))[x] = quint16((x * 32 + y) * 257);
    dib = Open(Save("grau16.png", grey16, "png"));
    EXPECT_EQ(DibBitCount(dib), 8);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(LogColour(dib, uint32_t(i)), RGBColor(uint8_t(i), uint8_t(i), uint8_t(i)));
    EXPECT_EQ(ValueAt(dib, 5, 2), 5u * 32 + 2);
}

TEST_F(PictureFiles, JpegTiffWebpAndGif) {
    // JPEG is lossy: flat blocks of colour come back close.
    QImage blocks(32, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) blocks.setPixel(x, y, x < 16 ? qRgb(200, 40, 40) : qRgb(30, 90, 220));
    DibPicture dib = Open(Save("foto.jpg", blocks, "jpeg", 95));
    EXPECT_EQ(DibBitCount(dib), 24);
    EXPECT_NEAR(RedOf(ColourAt(dib, 4, 4)), 200, 8);
    EXPECT_NEAR(BlueOf(ColourAt(dib, 28, 12)), 220, 8);
    dib.reset();
    // Cameras store portrait photos lying down with an orientation tag (here
    // 6: turn clockwise); they must come out upright.
    {
        QFile landscape(QString::fromStdString(Path("foto.jpg")));
        ASSERT_TRUE(landscape.open(QIODevice::ReadOnly));
        std::vector<uint8_t> jpeg;
        for (char c : landscape.readAll()) jpeg.push_back(uint8_t(c));
        const uint8_t exif[] = {0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 0x2A, 0, 8, 0, 0, 0,
                                1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0};
        jpeg.insert(jpeg.begin() + 2, exif, exif + sizeof exif); // right after the start marker
        dib = Open(Write("hochkant.jpg", jpeg));
        EXPECT_EQ(DibWidth(dib), 16);
        EXPECT_EQ(DibHeight(dib), 32);
        // The red left half is now on top.
        EXPECT_NEAR(RedOf(ColourAt(dib, 8, 4)), 200, 8);
        EXPECT_NEAR(BlueOf(ColourAt(dib, 8, 28)), 220, 8);
    }
    // The other names the open dialog offers for JPEG and BMP have no reader
    // of their own; the content decides.
    const std::string bmp = Write("bild.bmp", BmpWriter::Build(5, 3, 24, {}, [](int, int) { return 0x336699u; }));
    for (auto [from, to] : {std::pair{"foto.jpg", "foto.jpe"}, std::pair{"foto.jpg", "foto.jfif"}, std::pair{"bild.bmp", "bild.dib"}}) {
        SCOPED_TRACE(to);
        ASSERT_TRUE(QFile::copy(QString::fromStdString(Path(from)), QString::fromStdString(Path(to))));
        dib = Open(Path(to));
        EXPECT_EQ(DibBitCount(dib), 24);
    }

    const QImage rgb = TrueColourPicture(15, 11);
    dib = Open(Save("bild.tif", rgb, "tiff"));
    EXPECT_EQ(DibBitCount(dib), 24);
    ExpectSamePixels(dib, rgb);

    dib = Open(Save("bild.webp", rgb, "webp", 100)); // quality 100 is lossless
    EXPECT_EQ(DibBitCount(dib), 24);
    ExpectSamePixels(dib, rgb);
    dib.reset();

    // Qt hands GIF frames over in true colour; the colours must be exact and
    // the transparent entry must turn white.
    const std::vector<uint32_t> palette = {0x112233, 0xAA0000, 0x00BB00, 0x0000CC};
    const std::vector<uint32_t> shown = {0x112233, 0xAA0000, 0x00BB00, 0xFFFFFF};
    auto index = [](int x, int y) { return uint32_t((x + y) % 4); };
    const DecodedPicture gif = decoder.DecodeFile(Write("bild.gif", GifWriter::Build(20, 7, palette, index, 3)));
    EXPECT_EQ(gif.format, "GIF");
    EXPECT_TRUE(gif.flattenedAlpha);
    ASSERT_TRUE(DibFromDecoded(dib, gif));
    EXPECT_EQ(DibBitCount(dib), 24);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(ColourAt(dib, x, y), Ref(shown[index(x, y)])) << x << "," << y;
    dib.reset();
    const std::vector<uint32_t> many = Palette(200);
    auto manyIndex = [](int x, int y) { return uint32_t(x * y % 200); };
    dib = Open(Write("gross.gif", GifWriter::Build(70, 40, many, manyIndex)));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 70; ++x) ASSERT_EQ(ColourAt(dib, x, y), Ref(many[manyIndex(x, y)])) << x << "," << y;
}

TEST_F(PictureFiles, PortableBitmapGreyAndPixmap) {
    QImage mono(12, 3, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(1);
    mono.setPixel(2, 1, 0);
    // The file stores 1 for black; the record still gets black at index 0.
    DibPicture dib = Open(Save("strich.pbm", mono, "pbm"));
    ASSERT_EQ(DibBitCount(dib), 1);
    EXPECT_EQ(LogColour(dib, 0), RGBColor(0, 0, 0));
    EXPECT_EQ(ValueAt(dib, 2, 1), 0u);
    EXPECT_EQ(ValueAt(dib, 3, 1), 1u);
    dib.reset();

    QImage grey(9, 4, QImage::Format_Grayscale8);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x) grey.scanLine(y)[x] = uchar(x * 28 + y);
    dib = Open(Save("grau.pgm", grey, "pgm"));
    ASSERT_EQ(DibBitCount(dib), 8);
    EXPECT_EQ(ColourAt(dib, 8, 3), RGBColor(227, 227, 227));
    dib.reset();

    const QImage rgb = TrueColourPicture(7, 5);
    dib = Open(Save("farbe.ppm", rgb, "ppm"));
    EXPECT_EQ(DibBitCount(dib), 24);
    ExpectSamePixels(dib, rgb);
    dib.reset();
    // Same bytes under the general .pnm name, and under a wrong name.
    for (const char* name : {"farbe.pnm", "falsch.jpg"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(QFile::copy(QString::fromStdString(Path("farbe.ppm")), QString::fromStdString(Path(name))));
        dib = Open(Path(name));
        ExpectSamePixels(dib, rgb);
    }
}

TEST_F(PictureFiles, MemoryAndFileDecodingAgree) {
    const std::string path = Save("gleich.png", TrueColourPicture(13, 4), "png");
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const DecodedPicture fromFile = decoder.DecodeFile(path);
    const DecodedPicture fromBytes = decoder.DecodeBytes(reinterpret_cast<const uint8_t*>(bytes.data()), size_t(bytes.size()));
    ASSERT_TRUE(fromBytes.ok());
    EXPECT_EQ(fromBytes.format, "PNG");
    EXPECT_EQ(fromFile.pixels, fromBytes.pixels);
    EXPECT_EQ(fromFile.width, fromBytes.width);
}

TEST_F(PictureFiles, FailuresComeBackAsGermanMessages) {
    QDir(dir.path()).mkdir("ordner");
    Write("leer.png", {});
    Write("text.png", {'H', 'a', 'l', 'l', 'o', ' ', 'W', 'e', 'l', 't', '\n'});
    // A PNG whose header claims 100000 x 100000 pixels: refused before decoding.
    std::vector<uint8_t> huge;
    {
        QImage tiny(1, 1, QImage::Format_RGB32);
        tiny.fill(0);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        tiny.save(&buffer, "png");
        huge.assign(png.begin(), png.end());
        // IHDR data starts at byte 16: width and height, big-endian; then fix its CRC.
        const uint8_t size[8] = {0, 1, 0x86, 0xA0, 0, 1, 0x86, 0xA0};
        std::memcpy(huge.data() + 16, size, 8);
        uint32_t crc = 0xFFFFFFFFu;
        for (size_t i = 12; i < 29; ++i) {
            crc ^= huge[i];
            for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
        crc ^= 0xFFFFFFFFu;
        for (int k = 0; k < 4; ++k) huge[29 + size_t(k)] = uint8_t(crc >> (24 - 8 * k));
    }
    Write("riesig.png", huge);
    // Cut inside the header. (Cut in the pixel rows, Qt keeps what it read and
    // leaves the rest black, like any viewer showing a partial download.)
    std::vector<uint8_t> cut = BmpWriter::Build(40, 40, 24, {}, [](int, int) { return 0x808080u; });
    cut.resize(30);
    Write("abgeschnitten.bmp", cut);

    struct Case {
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {Path("fehlt.png"), "Die Datei wurde nicht gefunden."},
        {Path("ordner"), "Das ist ein Ordner und keine Grafikdatei."},
        {Path("leer.png"), "Die Datei ist leer."},
        {Path("text.png"), "Das Dateiformat wird nicht erkannt oder nicht unterstützt."},
        {Path("riesig.png"), "Die Grafik ist zu groß (100000 × 100000 Bildpunkte)."},
        {Path("abgeschnitten.bmp"), "Die Datei ist beschädigt oder keine gültige Grafik."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        DibPicture dib;
        EXPECT_FALSE(OpenDib(dib, c.path, decoder));
        EXPECT_EQ(dib.dib().Bits, nullptr);
        EXPECT_EQ(DibMessage(dib), c.message);
    }
    EXPECT_EQ(decoder.DecodeBytes(nullptr, 0).error, "Es sind keine Bilddaten vorhanden.");
}

#if defined(__SANITIZE_ADDRESS__)
// Memory that runs out in the child of the memory test comes back to the
// decoder as a null pointer from malloc, as without the sanitizer, instead of
// ending the process with the sanitizer's report.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
#endif

// The size limit counts the bytes the decoded picture takes: under a 16 MB
// limit a 1-bit PNG of 8000 x 8000 pixels (8 MB) and an 8-bit one of
// 4000 x 4000 (16 MB) load, a true-colour one of 2100 x 2100 (17 MB) does not.
TEST_F(PictureFiles, SizeLimitCountsTheBytesOfTheDecodedPicture) {
    const QtPictureDecoder small(16);
    QImage mono(8000, 8000, QImage::Format_Mono);
    mono.fill(1);
    QImage grey(4000, 4000, QImage::Format_Grayscale8);
    grey.fill(128);
    const struct {
        std::string path;
        std::string error;
        int bits;
    } cases[] = {
        {Save("mono.png", mono, "png"), "", 1},
        {Save("grau.png", grey, "png"), "", 8},
        {Save("bunt.png", TrueColourPicture(2100, 2100), "png"), "Die Grafik ist zu groß (2100 × 2100 Bildpunkte).", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const DecodedPicture picture = small.DecodeFile(c.path);
        EXPECT_EQ(picture.error, c.error);
        if (c.error.empty()) {
            EXPECT_EQ(picture.bitCount, c.bits);
        }
    }
}

// A sound picture for which memory runs short is said to be too large for
// the memory, not to be damaged (decoded in a child process whose address
// space may grow by 100 MB, for a picture of 256 MB).
TEST_F(PictureFiles, PictureWithoutMemoryIsNotCalledDamaged) {
    QImage big(8000, 8000, QImage::Format_RGB32);
    ASSERT_FALSE(big.isNull());
    big.fill(qRgb(30, 120, 200));
    const std::string path = Save("gross.png", big, "png");
    big = QImage();
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        long pages = 0;
        if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
            std::fclose(statm);
        }
        const rlim_t limit = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + (rlim_t(100) << 20);
        const rlimit r{limit, limit};
        ::setrlimit(RLIMIT_AS, &r);
        const std::string error = decoder.DecodeFile(path).error;
        if (::write(fds[1], error.data(), error.size()) < 0) ::_exit(3);
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string error;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0) error.append(buffer, size_t(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(error, "Nicht genug Speicher, um die Grafik zu laden.");
}

TEST(QtPictureDecoderFormats, FilterListsEveryPromisedFormatAndOnlyReadableOnes) {
    QtPictureDecoder decoder;
    const std::string filter = GetDIBOpenFilter(decoder);
    const std::string all = filter.substr(0, filter.find(";;"));
    // The patterns of the first entry, one by one.
    std::set<std::string> patterns;
    for (size_t at = all.find("*."); at != std::string::npos; at = all.find("*.", at + 1))
        patterns.insert(all.substr(at, all.find_first_of(" )", at) - at));
    for (const char* ext : {"*.png", "*.jpg", "*.jpeg", "*.bmp", "*.gif", "*.tif", "*.tiff", "*.webp", "*.pbm",
                            "*.pgm", "*.ppm"})
        EXPECT_EQ(patterns.count(ext), 1u) << ext << " in " << all;
    EXPECT_EQ(all.rfind("Alle Grafikdateien (", 0), 0u);
    EXPECT_NE(filter.find(";;PNG-Grafik (*.png);;"), std::string::npos);
    EXPECT_NE(filter.find(";;JPEG-Foto (*.jpg *.jpeg *.jpe *.jfif);;"), std::string::npos);
    EXPECT_EQ(filter.substr(filter.size() - 18), ";;Alle Dateien (*)");
    // Every group stands for a format Qt can read on this machine.
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    for (const PictureFormat& f : decoder.Formats()) {
        ASSERT_FALSE(f.extensions.empty());
        bool any = false;
        for (const std::string& e : f.extensions)
            any = any || readable.contains(QByteArray::fromStdString(e)) || e == "jpe" || e == "jfif" || e == "dib" ||
                  e == "pnm";
        EXPECT_TRUE(any) << f.description;
    }
}
