// The window under display scaling (run with QT_SCALE_FACTOR set, and once
// without): the sheet, the page preview and the layer's picture are composed
// at the screen's own pixels and shown one raster pixel to one screen pixel.
#include "MainFormFixture.h"

#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
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

// The sheet `zierbogen render` gives for the design at this zoom and sheet number.
QImage Rendered(const QString& design, uint32_t seed, int zoom, int ppi, const QString& png) {
    QProcess render;
    render.start(QStringLiteral(ZB_BIN_DIR "/zierbogen"),
                 {QStringLiteral("render"), design, QStringLiteral("-o"), png, QStringLiteral("--seed"),
                  QString::number(seed), QStringLiteral("--zoom"), QString::number(zoom),
                  QStringLiteral("--screen-dpi"), QString::number(ppi), QStringLiteral("--page"),
                  QStringLiteral("4760x6779"), QStringLiteral("--printer-dpi"), QStringLiteral("600")});
    EXPECT_TRUE(render.waitForFinished(60000));
    EXPECT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
    return QImage(png).convertToFormat(QImage::Format_RGB32);
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
    const QImage rendered = Rendered(design, form->Workspace().Seed().Number(), 30, ppi, png);
    ASSERT_EQ(rendered.size(), QSize(size.width, size.height));
    differing = 0;
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            const uint32_t c = zb::getpixel(sheet.DesignRaster(), x, size.height - 1 - y);
            differing += rendered.pixel(x, y) != qRgb(zb::RedOf(c), zb::GreenOf(c), zb::BlueOf(c));
        }
    }
    EXPECT_EQ(differing, 0);

    // Zoomed in and scrolled, the view composes only what is in sight (with
    // a small margin), and shows there exactly what the command renders.
    form->Workspace().SetZoom(300);
    form->PaintDesign();
    auto* box = Find<QScrollArea>("ScrollBox1");
    // Positions that are whole device pixels at any of the tested scalings.
    box->horizontalScrollBar()->setValue(box->horizontalScrollBar()->maximum() / 2 & ~3);
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum() / 3 & ~3);
    QCoreApplication::processEvents();
    form->PaintDesign();
    const zb::RasterSize zoomed = form->Workspace().ShownSheetSize();
    const zb::PixelRect area = form->Workspace().ShownArea();
    EXPECT_LT(int64_t(area.width) * area.height, int64_t(zoomed.width) * zoomed.height / 4);
    const QRect inSight(box->horizontalScrollBar()->value(), box->verticalScrollBar()->value(),
                        box->viewport()->width(), box->viewport()->height());
    const QImage seen = view->grab(inSight).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage full = Rendered(design, form->Workspace().Seed().Number(), 300, ppi, png);
    ASSERT_EQ(full.size(), QSize(zoomed.width, zoomed.height));
    const QPoint origin(int(std::lround(inSight.x() * ratio)), int(std::lround(inSight.y() * ratio)));
    EXPECT_TRUE(seen == full.copy(QRect(origin, seen.size())))
        << "the view at " << origin.x() << ", " << origin.y() << " (" << seen.width() << " x " << seen.height()
        << ") differs from the rendered sheet";

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
