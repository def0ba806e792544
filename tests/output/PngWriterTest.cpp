#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "OutputTestUtil.h"
#include "output/PngWriter.h"

namespace {

// A device that takes `capacity` bytes and refuses the rest.
class FullDevice : public QIODevice {
public:
    explicit FullDevice(qint64 capacity) : capacity_(capacity) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 len) override {
        if (written_ + len > capacity_) return -1;
        written_ += len;
        return len;
    }

private:
    qint64 capacity_;
    qint64 written_ = 0;
};

} // namespace

// Pieces deflated apart join into one stream that any reader decodes to the
// very pixels: one piece, several, more pieces than rows would allow.
TEST(PngWriter, DecodesToTheSamePixels) {
    struct Case {
        int w, h;
        double dpi;
    };
    const Case cases[] = {{1, 1, 0}, {5, 3000, 600}, {2000, 3, 300}, {613, 1029, 96}};
    uint32_t seed = 777;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << " seed " << seed);
        zb::DibPicture dib = zb::test::NoiseDib(c.w, c.h, seed++);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(zb::WritePng(zb::ViewOf(dib), buffer, c.dpi));
        QImage image;
        ASSERT_TRUE(image.loadFromData(buffer.data(), "PNG"));
        EXPECT_TRUE(zb::test::SamePixels(image, zb::ViewOf(dib)));
        if (c.dpi > 0) {
            EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, c.dpi, 0.02);
        }
    }
}

TEST(PngWriter, RefusedWritesFail) {
    zb::DibPicture dib = zb::test::NoiseDib(300, 600, 9);
    for (qint64 capacity : {0, 7, 40, 5000}) {
        FullDevice device(capacity);
        EXPECT_FALSE(zb::WritePng(zb::ViewOf(dib), device, 300)) << capacity;
    }
    QBuffer buffer;
    EXPECT_FALSE(zb::WritePng(zb::RasterView{}, buffer, 300));
}
