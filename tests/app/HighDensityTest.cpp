// The window under display scaling (run with QT_SCALE_FACTOR set, and once
// without): the sheet, the page preview and the layer's picture are composed
// at the screen's own pixels and shown one raster pixel to one screen pixel.
#include "MainFormFixture.h"

#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTabWidget>
#include <cmath>

#include "render/DesignSize.h"
#include "render/PageGeometry.h"
#include "viewer/PaintBox.h"

namespace {

class HighDensity : public zbtest::MainFormTest {};

QSize Covering(int width, int height, double ratio) {
    return QSize(int(std::ceil(width / ratio - 1e-9)), int(std::ceil(height / ratio - 1e-9)));
}

} // namespace

TEST_F(HighDensity, RastersMeetTheScreenPixelForPixel) {
    const double ratio = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    Show();
    auto* view = Find<zb::PaintBox>("PaintBox1");
    ASSERT_DOUBLE_EQ(view->devicePixelRatioF(), ratio);
    const int ppi = int(std::lround(view->logicalDpiX() * ratio));
    EXPECT_EQ(form->ScreenPpi(), ppi);

    // The sheet keeps its physical size: it is composed at the screen's pixels per inch.
    const zb::Compositor& sheet = form->Workspace().Sheet();
    const zb::RasterSize size = sheet.Size();
    ASSERT_EQ(size, zb::DesignRasterSize(D().Paper, zb::kFallbackPrintablePage, ppi, 30));
    EXPECT_EQ(view->size(), Covering(size.width, size.height, ratio));
    // What the screen shows is the raster itself (rows are stored bottom-up).
    const QImage shown = view->grab().toImage();
    ASSERT_GE(shown.width(), size.width);
    ASSERT_GE(shown.height(), size.height);
    int differing = 0;
    for (int y = 0; y < size.height; y += 7) {
        for (int x = 0; x < size.width; x += 5) {
            const uint32_t c = zb::getpixel(sheet.DesignRaster(), x, size.height - 1 - y);
            differing += shown.pixel(x, y) != qRgb(zb::RedOf(c), zb::GreenOf(c), zb::BlueOf(c));
        }
    }
    EXPECT_EQ(differing, 0);

    // The status bar's number and the command its tip names compose the same sheet.
    QTemporaryDir dir;
    const QString design = dir.filePath(QStringLiteral("gezeigt.zbg")), png = dir.filePath(QStringLiteral("b.png"));
    ASSERT_EQ(form->Workspace().SaveCopy(design.toStdString()), "");
    QProcess render;
    render.start(QStringLiteral(ZB_BIN_DIR "/zierbogen"),
                 {QStringLiteral("render"), design, QStringLiteral("-o"), png, QStringLiteral("--seed"),
                  QString::number(form->Workspace().Seed().Number()), QStringLiteral("--zoom"), QStringLiteral("30"),
                  QStringLiteral("--screen-dpi"), QString::number(ppi), QStringLiteral("--page"),
                  QStringLiteral("4760x6779"), QStringLiteral("--printer-dpi"), QStringLiteral("600")});
    ASSERT_TRUE(render.waitForFinished(60000));
    ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
    const QImage rendered(png);
    ASSERT_EQ(rendered.size(), QSize(size.width, size.height));
    differing = 0;
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            const uint32_t c = zb::getpixel(sheet.DesignRaster(), x, size.height - 1 - y);
            differing += rendered.pixel(x, y) != qRgb(zb::RedOf(c), zb::GreenOf(c), zb::BlueOf(c));
        }
    }
    EXPECT_EQ(differing, 0);

    // The layer's picture at its pixels; the print preview's page at the screen's.
    const zb::TDibRecord& picture = form->Workspace().EditPicture();
    EXPECT_EQ(Find<zb::PaintBox>("PaintBox4")->size(),
              Covering(zb::DibWidth(picture), zb::DibHeight(picture), ratio));
    Find<QTabWidget>("PageControl2")->setCurrentIndex(2);
    QCoreApplication::processEvents();
    const zb::PreviewLayout page =
        zb::PreviewPageLayout(D().Paper, zb::kFallbackPrintablePage, ppi, form->Workspace().Zoom());
    EXPECT_EQ(Find<zb::PaintBox>("PaintBox2")->size(), Covering(page.page.width, page.page.height, ratio));
}
