// Pictures and PDFs written band by band: every format reads back as the
// raster, however the rows are split, and a stream that goes wrong leaves
// the file that was there before.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <string>
#include <sys/resource.h>

#include "core/TestSeed.h"
#include "output/OutputTestUtil.h"
#include "output/RasterFileStream.h"

namespace {

using zb::RasterFileStream;
using zb::RasterView;

QByteArray Contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes the raster in bands of `bandRows` rows; the first message or "".
std::string WriteInBands(const QString& file, const std::string& format, RasterView raster, int bandRows,
                         double dpi) {
    RasterFileStream stream(file.toStdString(), format, raster.width, raster.height, dpi);
    if (std::string m = stream.Begin(); !m.empty()) return m;
    for (int y = 0; y < raster.height; y += bandRows) {
        const int rows = std::min(bandRows, raster.height - y);
        if (std::string m = stream.AddRows(RasterView{raster.row(y), raster.strideBytes, raster.width, rows});
            !m.empty())
            return m;
    }
    return stream.Finish();
}

// Mean difference of all channels of two pictures of one size.
double MeanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB888), y = b.convertToFormat(QImage::Format_RGB888);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int i = 0; i < 3 * x.width(); ++i) sum += std::abs(int(x.constScanLine(row)[i]) - int(y.constScanLine(row)[i]));
    return sum / (3.0 * x.width() * x.height());
}

// A JPEG of the raster as Qt's own writer makes it at the same quality.
QImage QtJpeg(RasterView raster) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    QImage rgb(raster.width, raster.height, QImage::Format_RGB888);
    for (int y = 0; y < raster.height; ++y)
        for (int x = 0; x < raster.width; ++x) {
            const uint8_t* bgr = raster.row(y) + 3 * x;
            uchar* out = rgb.scanLine(y) + 3 * x;
            out[0] = bgr[2];
            out[1] = bgr[1];
            out[2] = bgr[0];
        }
    EXPECT_TRUE(writer.write(rgb));
    QImage back;
    back.loadFromData(buffer.data(), "JPEG");
    return back;
}

} // namespace

TEST(RasterFileStream, EveryFormatReadsBackAsTheRasterInAnyBands) {
    const uint32_t seed = zb::test::TestSeed();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    // Odd widths, so BMP rows carry padding; the large raster is more than
    // one BMP writer's slice of rows (8 MB) and several PDF pictures.
    zb::DibPicture small = zb::test::NoiseDib(301, 97, seed), large = zb::test::NoiseDib(1501, 1900, seed + 1);
    struct Case {
        const zb::DibPicture& dib;
        int bandRows;
    };
    const Case cases[] = {{small, 1}, {small, 7}, {small, 97}, {large, 1900}};
    const double dpi = 300;
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const RasterView raster = zb::ViewOf(c.dib);
        const QImage qtJpeg = QtJpeg(raster);
        for (const char* format : {"png", "tif", "bmp", "jpg", "pdf"}) {
            const int bandRows = c.bandRows;
            SCOPED_TRACE(testing::Message() << format << ", " << raster.width << " x " << raster.height
                                            << " in bands of " << bandRows);
            const QString file = dir.filePath(QStringLiteral("bogen.") + format);
            ASSERT_EQ(WriteInBands(file, format, raster, bandRows, dpi), "");
            // The file alone, no temporary one beside it.
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(file).fileName()});
            if (std::string(format) == "pdf") {
                // One lossless picture of the whole raster at its resolution,
                // on a page of its size: 72 pt an inch of 300 pixels.
                QTemporaryDir pictures;
                const QStringList files = zb::test::ExtractedPdfPictures(pictures.path(), file);
                ASSERT_EQ(files.size(), 1);
                EXPECT_TRUE(zb::test::SamePixels(QImage(files[0]), raster));
                const QStringList list = zb::test::RunTool("pdfimages", {"-list", file}).split('\n', Qt::SkipEmptyParts);
                ASSERT_EQ(list.size(), 3);
                const QStringList fields = list[2].simplified().split(' ');
                ASSERT_GT(fields.size(), 13);
                EXPECT_EQ(fields[8], "image");
                EXPECT_EQ(fields[12] + " " + fields[13], "300 300");
                const QString info = zb::test::RunTool("pdfinfo", {file});
                const QRegularExpressionMatch m =
                    QRegularExpression("Page size: +([0-9.]+) x ([0-9.]+) pts").match(info);
                ASSERT_TRUE(m.hasMatch()) << info.toStdString();
                EXPECT_NEAR(m.captured(1).toDouble(), raster.width * 72 / dpi, 0.01);
                EXPECT_NEAR(m.captured(2).toDouble(), raster.height * 72 / dpi, 0.01);
                QFile::remove(file);
                continue;
            }
            const QImage back(file);
            ASSERT_EQ(back.size(), QSize(raster.width, raster.height));
            EXPECT_NEAR(back.dotsPerMeterX() * 0.0254, dpi, 0.1);
            if (std::string(format) == "jpg")
                EXPECT_LT(MeanDifference(back, qtJpeg), 1.0);
            else
                EXPECT_TRUE(zb::test::SamePixels(back, raster));
            QFile::remove(file);
        }
    }
}

// Rows that do not add up to the announced height, a disk that fills up, a
// picture too large for its format and a stream given up half way: each is
// reported (or, given up, simply leaves nothing) and the file that was there
// stays as it was, with no temporary file beside it.
TEST(RasterFileStream, FailuresKeepTheOldFile) {
    zb::DibPicture dib = zb::test::NoiseDib(64, 300, 5);
    const RasterView raster = zb::ViewOf(dib);
    struct Case {
        const char* what;
        const char* format;
        int width, height; // announced
        int rows;          // of the raster's, handed over in bands of 50
        bool finish;
        bool fullDisk;     // files may grow to 2 KB only
        const char* says;  // empty: no message expected
    };
    std::vector<Case> cases = {
        {"more rows than announced", "png", 64, 200, 300, true, false, "mehr als die angekündigten 200 Zeilen"},
        {"rows missing at the end", "tif", 64, 300, 10, true, false, "unvollständig: 10 von 300 Zeilen"},
        {"rows of another width", "bmp", 65, 300, 50, true, false, "64 Pixel breit statt 65"},
        {"given up half way", "jpg", 64, 300, 10, false, false, ""},
        {"BMP over 4 GB", "bmp", 40000, 40000, 0, false, false,
         "zu groß für das Format BMP (eine Datei von höchstens 4 GB)"},
        {"JPEG wider than the format allows", "jpg", 70000, 10, 0, false, false,
         "zu groß für das Format JPEG (höchstens 65500 Pixel"},
    };
    for (const char* format : {"png", "jpg", "tif", "bmp", "pdf"})
        cases.push_back({"a full disk", format, 64, 300, 300, true, true,
                         "größer, als der Datenträger oder das System erlaubt"});
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ", " + c.format);
        const QString file = dir.filePath(QStringLiteral("alt.") + c.format);
        {
            QFile old(file);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("alter Inhalt");
        }
        rlimit limit = saved;
        if (c.fullDisk) limit.rlim_cur = 2048;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        std::string message;
        {
            RasterFileStream stream(file.toStdString(), c.format, c.width, c.height, 300);
            message = stream.Begin();
            for (int y = 0; message.empty() && y < c.rows; y += 50)
                message = stream.AddRows(RasterView{raster.row(y), raster.strideBytes, raster.width, std::min(50, c.rows - y)});
            if (message.empty() && c.finish) message = stream.Finish();
        }
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
        if (*c.says) {
            EXPECT_NE(message.find(c.says), std::string::npos) << message;
            EXPECT_NE(message.find("„" + file.toStdString() + "“"), std::string::npos) << message;
        } else {
            EXPECT_EQ(message, "");
        }
        EXPECT_EQ(Contents(file), "alter Inhalt");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(file).fileName()});
        QFile::remove(file);
    }
    std::signal(SIGXFSZ, oldHandler);
}
