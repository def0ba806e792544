// The icon the windows show, and its link to the installed desktop entry.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPixmap>

#include "app/ProgramIcon.h"

using namespace zb;

namespace {

int OpaquePixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 255) ++n;
    return n;
}

} // namespace

TEST(ProgramIcon, DrawsAtSmallAndLargeSizes) {
    const QIcon icon = ProgramIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 256}) {
        SCOPED_TRACE(size);
        const QImage image = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(size, size));
        // A sheet of paper, not an empty square and not a filled one.
        const int opaque = OpaquePixels(image);
        EXPECT_GT(opaque, size * size / 4);
        EXPECT_LT(opaque, size * size);
    }
}

TEST(ProgramIcon, DesktopEntryNamesTheSameIconAndProgram) {
    QFile entry(QStringLiteral(ZB_SOURCE_DIR "/data/") + QLatin1String(kDesktopName) + ".desktop");
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly | QIODevice::Text)) << entry.fileName().toStdString();
    const QStringList lines = QString::fromUtf8(entry.readAll()).split('\n');
    EXPECT_TRUE(lines.contains(QStringLiteral("Icon=") + kDesktopName));
    EXPECT_TRUE(lines.contains(QStringLiteral("Exec=") + kDesktopName + " %f"));
    EXPECT_TRUE(QFile::exists(QStringLiteral(ZB_SOURCE_DIR "/data/icons/") + kDesktopName + ".svg"));
}
