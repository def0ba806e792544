#include <gtest/gtest.h>

#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <random>

#include "base/DibPicture.h"
#include "imaging/DrawDib.h"
#include "platform/QtDibImage.h"
#include "platform/QtPainterDibDevice.h"

using namespace zb;

namespace {

struct Picture {
    DibPicture dib;
    Picture(int w, int h, int bits) : dib(w, h, bits) {
        std::mt19937 rng(11);  // printed seed
        for (int i = 0; i < DibTableSize(bits); ++i)
            DibColorTable(dib)[i] = TRgbQuad{uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), 0};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                setpixel(dib.dib(), x, y, bits >= 24 ? uint32_t(rng()) & 0xFFFFFF : uint32_t(rng()) % (1u << bits));
    }
    // Colour of column x, row y from the top, as Qt shows it.
    QRgb At(int x, int yFromTop) const {
        const int y = DibHeight(dib) - 1 - yFromTop;
        uint32_t c = getpixel(dib, x, y);
        if (DibBitCount(dib) <= 8) {
            const TRgbQuad q = DibColorTable(dib)[c];
            return qRgb(q.rgbRed, q.rgbGreen, q.rgbBlue);
        }
        return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
    }
};

QImage Canvas(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    return image;
}

} // namespace

TEST(QtPainterDibDevice, DrawsEveryDepthExactlyAtOneToOneAndEnlarged) {
    for (int bits : {1, 4, 8, 24}) {
        for (int scale : {1, 3}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, x" << scale);
            Picture pic(13, 9, bits);
            QImage canvas = Canvas(13 * scale + 10, 9 * scale + 10);
            {
                QPainter painter(&canvas);
                QtPainterDibDevice device(painter);
                EXPECT_FALSE(device.IsPrinter());
                DrawDib(device, 4, 5, 13 * scale, 9 * scale, pic.dib, 0, 0, 13, 9, false, false);
                EXPECT_TRUE(device.Failure().empty());
            }
            for (int y = 0; y < canvas.height(); ++y)
                for (int x = 0; x < canvas.width(); ++x) {
                    const bool inside = x >= 4 && y >= 5 && x < 4 + 13 * scale && y < 5 + 9 * scale;
                    const QRgb want = inside ? pic.At((x - 4) / scale, (y - 5) / scale) : qRgb(1, 2, 3);
                    ASSERT_EQ(canvas.pixel(x, y), want) << x << "," << y;
                }
        }
    }
}

TEST(QtPainterDibDevice, VisiblePartFollowsExposedRectClipAndTransform) {
    QImage canvas = Canvas(200, 100);
    QPainter painter(&canvas);
    {
        QtPainterDibDevice device(painter);
        const DeviceRect r = device.VisibleRect();
        EXPECT_EQ((std::array{r.left, r.top, r.right, r.bottom}), (std::array<int64_t, 4>{0, 0, 200, 100}));
    }
    {
        QtPainterDibDevice device(painter, QRect(10, 20, 30, 40));
        const DeviceRect r = device.VisibleRect();
        EXPECT_EQ((std::array{r.left, r.top, r.right, r.bottom}), (std::array<int64_t, 4>{10, 20, 40, 60}));
    }
    painter.translate(-50, -10);
    painter.setClipRect(QRect(60, 10, 500, 5));
    {
        QtPainterDibDevice device(painter);
        const DeviceRect r = device.VisibleRect();
        EXPECT_EQ((std::array{r.left, r.top, r.right, r.bottom}), (std::array<int64_t, 4>{60, 10, 250, 15}));
    }
}

TEST(QtPainterDibDevice, PdfPageCountsAsPrinterAndGetsThePicture) {
    QTemporaryDir dir;
    const QString file = dir.filePath("bild.pdf");
    Picture pic(40, 30, 24);
    {
        QPdfWriter writer(file);
        writer.setResolution(300);
        QPainter painter(&writer);
        QtPainterDibDevice device(painter);
        EXPECT_TRUE(device.IsPrinter());
        DrawDib(device, 100, 100, 400, 300, pic.dib, 0, 0, 40, 30, false, true);
        EXPECT_TRUE(device.Failure().empty());
    }
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    // The picture is embedded at its own size, not resampled.
    EXPECT_TRUE(bytes.contains("/Width 40")) << bytes.left(2000).constData();
    EXPECT_TRUE(bytes.contains("/Height 30"));
}

TEST(QtDibImage, TopDownCopyMatchesThePicture) {
    for (int bits : {8, 24}) {
        Picture pic(7, 5, bits);
        const QImage image = platform::DibToImage(pic.dib);
        ASSERT_EQ(image.size(), QSize(7, 5));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) ASSERT_EQ(image.pixel(x, y), pic.At(x, y));
    }
}

TEST(QtDibImage, BandsAndStoredRowsAreWrappedNotCopied) {
    for (int bits : {1, 8, 24, 32}) {
        SCOPED_TRACE(bits);
        Picture pic(9, 4, bits);
        const QImage stored = platform::WrapDibStoredRows(pic.dib);
        ASSERT_FALSE(stored.isNull());
        EXPECT_EQ(stored.constBits(), pic.dib.dib().Bits);
        const DibRows band{pic.dib.dib().Bits, pic.dib.dib().BytesPerLine, 9, 4, bits, DibColorTable(pic.dib)};
        EXPECT_EQ(platform::WrapDibRows(band).constBits(), pic.dib.dib().Bits);
    }
    // Four bits have no Qt format of their own: those are expanded.
    Picture four(9, 4, 4);
    const QImage expanded = platform::WrapDibStoredRows(four.dib);
    EXPECT_EQ(expanded.format(), QImage::Format_Indexed8);
    EXPECT_EQ(expanded.pixelIndex(1, 0), int(getpixel(four.dib, 1, 0)));
}
