// The fuzzer's seed corpus: tiny pictures of every format and depth, made by
// our own writers. The test checks that every committed seed still imports;
// with ZB_WRITE_FUZZ_CORPUS=<folder> it writes the seeds afresh there.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>

#include <cstdlib>
#include <map>

#include "BmpWriter.h"
#include "GifWriter.h"
#include "imaging/ConvertDib.h"
#include "imaging/PictureImport.h"
#include "platform/QtPictureDecoder.h"

using namespace zb;
using zb::test::BmpCompression;
using zb::test::BmpWriter;
using zb::test::GifWriter;

namespace {

// tests/data need not exist, so the path is cleaned rather than resolved.
const QString kCorpus = QDir::cleanPath(QStringLiteral(ZB_TEST_DATA "/../../fuzz/corpus/picture_import_fuzzer"));

std::vector<uint8_t> Encode(const QImage& image, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    EXPECT_TRUE(writer.write(image)) << format;
    return {bytes.begin(), bytes.end()};
}

// Seed name -> bytes and the depth OpenDib must deliver.
std::map<std::string, std::pair<std::vector<uint8_t>, int>> Seeds() {
    const int w = 9, h = 6;
    QImage rgb(w, h, QImage::Format_RGB32);
    QImage alpha(w, h, QImage::Format_ARGB32);
    QImage indexed(w, h, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(200, 30, 30), qRgb(30, 200, 30), qRgb(30, 30, 200), qRgb(240, 240, 200)});
    QImage mono(w, h, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    QImage grey16(w, h, QImage::Format_Grayscale16);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            rgb.setPixel(x, y, qRgb(x * 28, y * 40, 128));
            alpha.setPixel(x, y, qRgba(x * 28, 90, y * 40, x * 30));
            indexed.setPixel(x, y, uint((x + y) % 4));
            mono.setPixel(x, y, uint((x ^ y) & 1));
            reinterpret_cast<quint16*>(grey16.scanLine(y))[x] = quint16(x * 7000 + y);
        }
    QImage grey = grey16.convertToFormat(QImage::Format_Grayscale8);
    auto index = [](int x, int y) { return uint32_t((x / 2 + y) % 4); };
    auto colour = [](int x, int y) { return uint32_t(x * 0x1C0000 + y * 0x2800 + 0x80); };
    const std::vector<uint32_t> four = {0x102030, 0xF01020, 0x20F010, 0xF0F0F0};
    return {
        {"png-rgb.png", {Encode(rgb, "png"), 24}},
        {"png-alpha.png", {Encode(alpha, "png"), 24}},
        {"png-index.png", {Encode(indexed, "png"), 4}},
        {"png-mono.png", {Encode(mono, "png"), 1}},
        {"png-grau16.png", {Encode(grey16, "png"), 8}},
        {"foto.jpg", {Encode(rgb, "jpeg", 40), 24}},
        {"bild.tif", {Encode(rgb, "tiff"), 24}},
        {"bild.webp", {Encode(rgb, "webp", 100), 24}},
        {"strich.pbm", {Encode(mono, "pbm"), 1}},
        {"grau.pgm", {Encode(grey, "pgm"), 8}},
        {"farbe.ppm", {Encode(rgb, "ppm"), 24}},
        {"bmp-1.bmp", {BmpWriter::Build(w, h, 1, {0xFF0000, 0xFFFF00}, [](int x, int y) { return uint32_t((x + y) & 1); }), 1}},
        {"bmp-4.bmp", {BmpWriter::Build(w, h, 4, four, index), 4}},
        {"bmp-8.bmp", {BmpWriter::Build(w, h, 8, {0x102030, 0xF01020, 0x20F010, 0xF0F0F0, 0x808080, 0x404040, 0x111111, 0x222222, 0x333333,
                                                  0x444444, 0x555555, 0x666666, 0x777777, 0x888888, 0x999999, 0xAAAAAA, 0xBBBBBB, 0xCCCCCC},
                                        [](int x, int y) { return uint32_t((x + 3 * y) % 18); }), 8}},
        {"bmp-rle4.bmp", {BmpWriter::Build(w, h, 4, four, index, BmpCompression::Rle4), 4}},
        {"bmp-rle8.bmp", {BmpWriter::Build(w, h, 8, four, index, BmpCompression::Rle8), 4}},
        {"bmp-24.bmp", {BmpWriter::Build(w, h, 24, {}, colour), 24}},
        {"bmp-32.bmp", {BmpWriter::Build(w, h, 32, {}, colour), 24}},
        {"bild.gif", {GifWriter::Build(w, h, four, index), 24}},
        {"transparent.gif", {GifWriter::Build(w, h, four, index, 3), 24}},
    };
}

} // namespace

TEST(FuzzCorpus, EverySeedImportsWithItsDepth) {
    const auto seeds = Seeds();
    if (const char* target = std::getenv("ZB_WRITE_FUZZ_CORPUS")) {
        QDir().mkpath(QString::fromLocal8Bit(target));
        for (const auto& [name, seed] : seeds) {
            QFile f(QString::fromLocal8Bit(target) + "/" + QString::fromStdString(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(reinterpret_cast<const char*>(seed.first.data()), qint64(seed.first.size()));
        }
    }
    platform::QtPictureDecoder decoder;
    for (const auto& [name, seed] : seeds) {
        SCOPED_TRACE(name);
        QFile f(kCorpus + "/" + QString::fromStdString(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "seed missing from " << kCorpus.toStdString();
        const QByteArray bytes = f.readAll();
        EXPECT_LE(bytes.size(), 1200);
        DibPicture dib;
        ASSERT_TRUE(OpenDibBytes(dib, reinterpret_cast<const uint8_t*>(bytes.data()), size_t(bytes.size()), decoder))
            << DibMessage(dib);
        EXPECT_EQ(DibBitCount(dib), seed.second);
        EXPECT_EQ(DibWidth(dib), 9);
        EXPECT_EQ(DibHeight(dib), 6);
        EXPECT_TRUE(ConvertDib(dib, 24));
    }
}
