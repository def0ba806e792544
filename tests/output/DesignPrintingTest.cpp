#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <stop_token>
#include <thread>
#include <vector>
#include <sys/resource.h>

#include "OutputTestUtil.h"
#include "model/LayerChoices.h"
#include "output/DesignPrinting.h"
#include "output/PrintSession.h"
#include "render/BandComposer.h"
#include "render/Compositor.h"
#include "render/PageGeometry.h"

namespace {

// A gradient, 300 random discs and a blur: every pixel depends on the
// generator state and on the filter's scale.
void SampleDesign(zb::Design& design, double breit, double hoch, double randX, double randY) {
    zb::TLayerRecord& g = design.Layers.Add();
    zb::SetLayerDefaults(g);
    g.Kind = zb::kKindGradient;
    g.GradientColor1 = 0x2040C0;
    g.GradientColor2 = 0xE0F0FF;
    g.GradientDirection = zb::kGradientTopLeftDiagonal;
    zb::TLayerRecord& p = design.Layers.Add();
    zb::SetLayerDefaults(p);
    p.Kind = zb::kKindPattern;
    p.PatternCount = 300;
    p.PatternSizeMM = 4;
    p.Transparency = -5;
    zb::TLayerRecord& f = design.Layers.Add();
    zb::SetLayerDefaults(f);
    f.Kind = zb::kKindFilter;
    f.FilterIndex = 2;
    f.Transparency = -5;
    design.Paper.PrintAll = false;
    design.Paper.Breit = breit;
    design.Paper.Hoch = hoch;
    design.Paper.RandX = randX;
    design.Paper.RandY = randY;
}

// The sheet composed directly, as print and export must reproduce it.
std::vector<uint8_t> Composed(zb::Design& design, zb::RasterSize size, double ppi, double filterScale,
                              zb::RandomInt& random) {
    zb::Compositor c;
    EXPECT_EQ(c.EnsureSize(size), "");
    c.SetFilterScale(filterScale);
    EXPECT_EQ(c.Compose(design, ppi, 100, random, nullptr).message, "");
    std::vector<uint8_t> rgb;
    const zb::RasterView v = c.DesignView();
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) {
            const uint8_t* px = v.pixel(x, y);
            rgb.insert(rgb.end(), {px[2], px[1], px[0]});
        }
    return rgb;
}

std::vector<uint8_t> Rgb(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::vector<uint8_t> out;
    for (int y = 0; y < rgb.height(); ++y) out.insert(out.end(), rgb.constScanLine(y), rgb.constScanLine(y) + 3 * rgb.width());
    return out;
}

// The first row and column, from the top-left, where the rendered page is not white.
QPoint FirstInk(const QImage& page) {
    const QImage img = page.convertToFormat(QImage::Format_RGB32);
    int top = -1, left = img.width();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 250) {
                if (top < 0) top = y;
                left = std::min(left, x);
            }
    return {left, top};
}

} // namespace

// Two sheets in one job on the PDF stand-in: one page each, the pictures
// stored without loss and equal to the sheets composed at 600 dpi from the
// screen's generator state and the state after the first sheet, with the
// filter at the preview's scale; the design at its margins.
TEST(DesignPrinting, SheetsOnTheFallbackPdf) {
    QTemporaryDir dir;
    zb::Design design;
    SampleDesign(design, 3, 2, 1, 2);
    const uint32_t seed = 987654321;
    SCOPED_TRACE(testing::Message() << "seed " << seed);

    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = dir.filePath("zwei.pdf");
    zb::SetUpFallbackPrinter(printer, pdf);
    zb::DesignPrintJob job;
    job.design = &design;
    job.firstSeed = seed;
    job.settings.sheets = 2;
    job.screenPpi = 96;
    job.zoomPercent = 50;
    job.title = "muster.zbg";
    int calls = 0, lastSheet = 0, lastDone = 0;
    job.progress = [&](int sheet, int sheets, int done, int layers) {
        EXPECT_EQ(sheets, 2);
        EXPECT_LE(done, layers);
        EXPECT_GE(sheet, 1);
        // Each layer done once; a long one repeats its count meanwhile.
        calls += sheet != lastSheet || done != lastDone ? done > 0 : 0;
        lastSheet = sheet;
        lastDone = done;
    };
    const zb::PrintOutcome outcome = zb::PrintDesign(printer, job);
    ASSERT_EQ(outcome.result.message, "");
    EXPECT_EQ(outcome.sheetsPrinted, 2);
    EXPECT_EQ(calls, 6);

    const QString info = zb::test::RunTool("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+2"))) << info.toStdString();
    EXPECT_TRUE(info.contains("muster.zbg")) << info.toStdString();
    for (const QString& e : zb::test::PdfImageEncodings(pdf)) EXPECT_EQ(e, "image");

    const zb::RasterSize size{zb::CentimetresToPixels(3, 600), zb::CentimetresToPixels(2, 600)};
    const double scale = zb::FilterScale(600, 96, 50); // 12.5
    zb::RandomInt random(seed);
    const std::vector<uint8_t> first = Composed(design, size, 600, scale, random);
    const std::vector<uint8_t> second = Composed(design, size, 600, scale, random);
    EXPECT_NE(first, second);
    const QList<QImage> pages = zb::test::PagePictures(pdf, dir.path());
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(Rgb(pages[0]), first);
    EXPECT_EQ(Rgb(pages[1]), second);

    // Rendered at 150 dpi: the printable area starts 12 pt and 14 pt in
    // (25 and 29 pixels), the design 1 cm and 2 cm further (59 and 118).
    zb::test::RunTool("pdftoppm", {"-r", "150", "-png", "-f", "1", "-l", "1", pdf, dir.filePath("seite")});
    const QImage page(dir.filePath("seite-1.png"));
    ASSERT_FALSE(page.isNull());
    const QPoint ink = FirstInk(page);
    EXPECT_NEAR(ink.x(), 25 + 59, 1);
    EXPECT_NEAR(ink.y(), 29 + 118, 1);
}

TEST(DesignPrinting, CancelSendsNothing) {
    QTemporaryDir dir;
    zb::Design design;
    SampleDesign(design, 2, 2, 0, 0);
    for (int stopAtSheet : {1, 2}) {
        SCOPED_TRACE(stopAtSheet);
        QPrinter printer(QPrinter::HighResolution);
        const QString pdf = dir.filePath("abbruch.pdf");
        zb::SetUpFallbackPrinter(printer, pdf);
        zb::DesignPrintJob job;
        job.design = &design;
        job.settings.sheets = 3;
        std::stop_source stop;
        job.stop = stop.get_token();
        job.progress = [&](int sheet, int, int, int) {
            if (sheet >= stopAtSheet) stop.request_stop();
        };
        const zb::PrintOutcome outcome = zb::PrintDesign(printer, job);
        EXPECT_TRUE(outcome.result.cancelled());
        EXPECT_FALSE(QFile::exists(pdf));
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
}

// A stop while a long layer is at work ends the export at the next row
// band, not after the layer.
TEST(DesignPrinting, AStopDuringALongLayerEndsTheExportAtOnce) {
    QTemporaryDir dir;
    zb::Design design;
    SampleDesign(design, 40, 40, 0, 0);
    design.Layers[1].PatternCount = 100000;
    design.Layers[1].PatternSizeMM = 100;
    zb::DesignExportJob job;
    job.design = &design;
    job.dpi = 300;
    job.fileName = dir.filePath("lang.png").toStdString();
    std::atomic<int> last{0};
    job.progress = [&](int, int, int done, int) { last = done; };
    std::stop_source stop;
    job.stop = stop.get_token();
    std::atomic<bool> over{false};
    std::atomic<int64_t> stoppedAt{0};
    const auto now = [] { return std::chrono::steady_clock::now().time_since_epoch().count(); };
    // The stop comes 20 ms into the pattern layer, which takes far longer.
    std::thread stopper([&] {
        while (last.load() < 1 && !over.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        stoppedAt = now();
        stop.request_stop();
    });
    const zb::JobResult result = zb::ExportDesign(job);
    const int64_t ended = now();
    over = true;
    stopper.join();
    EXPECT_TRUE(result.cancelled());
    EXPECT_LT(last.load(), 2); // the pattern layer never finished
    EXPECT_LT(std::chrono::nanoseconds(ended - stoppedAt.load()), std::chrono::milliseconds(1000));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(job.fileName)));
}

// Export: the physical size at the chosen resolution, recorded in the file;
// the same sheet as on screen; PDF without loss; failures leave no file.
TEST(DesignPrinting, Export) {
    QTemporaryDir dir;
    zb::Design design;
    SampleDesign(design, 5, 3, 0, 0);
    const uint32_t seed = 24680;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    zb::DesignExportJob job;
    job.design = &design;
    job.seed = seed;
    job.dpi = 300;
    job.zoomPercent = 30;
    const zb::RasterSize size{590, 354}; // 5 cm and 3 cm at 300 dpi
    EXPECT_EQ(zb::ExportRasterSize(design.Paper, {}, 300), size);
    zb::RandomInt random(seed);
    const std::vector<uint8_t> sheet = Composed(design, size, 300, zb::FilterScale(300, 96, 30), random);

    job.fileName = dir.filePath("bogen.png").toStdString();
    ASSERT_EQ(zb::ExportDesign(job).message, "");
    const QImage png(QString::fromStdString(job.fileName));
    EXPECT_EQ(png.size(), QSize(590, 354));
    EXPECT_NEAR(png.dotsPerMeterX() * 0.0254, 300, 0.5);
    EXPECT_EQ(Rgb(png), sheet);

    job.fileName = dir.filePath("bogen.pdf").toStdString();
    ASSERT_EQ(zb::ExportDesign(job).message, "");
    const QString pdf = QString::fromStdString(job.fileName);
    const QStringList encodings = zb::test::PdfImageEncodings(pdf);
    EXPECT_EQ(QSet<QString>(encodings.begin(), encodings.end()), QSet<QString>{"image"});
    const QList<QImage> pages = zb::test::PagePictures(pdf, dir.path());
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(Rgb(pages[0]), sheet);
    // The pictures keep 300 dpi (590 pixels = 141.6 pt); the page around
    // them comes in whole points.
    const QStringList list = zb::test::RunTool("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(list.size(), 3);
    for (int i = 2; i < list.size(); ++i) {
        const QStringList fields = list[i].simplified().split(' ');
        ASSERT_GT(fields.size(), 13);
        EXPECT_EQ(fields[12], "300");
        EXPECT_EQ(fields[13], "300");
    }
    // The page has the design's physical size: 5 x 3 cm.
    const QString info = zb::test::RunTool("pdfinfo", {pdf});
    const QRegularExpressionMatch m = QRegularExpression("Page size:\\s+([0-9.]+) x ([0-9.]+) pts").match(info);
    ASSERT_TRUE(m.hasMatch()) << info.toStdString();
    EXPECT_NEAR(m.captured(1).toDouble(), 5 / 2.54 * 72, 0.5);
    EXPECT_NEAR(m.captured(2).toDouble(), 3 / 2.54 * 72, 0.5);

    // The literal filter gives another sheet.
    job.settings.previewFilters = false;
    job.fileName = dir.filePath("pixel.png").toStdString();
    ASSERT_EQ(zb::ExportDesign(job).message, "");
    EXPECT_NE(Rgb(QImage(QString::fromStdString(job.fileName))), sheet);

    // Cancelled: the file that was there stays as it was.
    std::stop_source stop;
    job.stop = stop.get_token();
    job.progress = [&](int, int, int done, int) {
        if (done >= 2) stop.request_stop();
    };
    const QString old = dir.filePath("bogen.png");
    const QByteArray before = [&] { QFile f(old); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    job.fileName = old.toStdString();
    EXPECT_TRUE(zb::ExportDesign(job).cancelled());
    QFile after(old);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);

    job.progress = {};
    job.stop = {};
    job.fileName = dir.filePath("fehlt/bogen.png").toStdString();
    const std::string missing = zb::ExportDesign(job).message;
    EXPECT_FALSE(missing.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(job.fileName)));
    job.fileName = dir.filePath("bogen.xyz").toStdString();
    EXPECT_NE(zb::ExportDesign(job).message.find("Dateiformat"), std::string::npos);
}

// A disk that fills up during the export: every format reports it and the
// file that was there before stays as it was.
TEST(DesignPrinting, ExportOntoAFullDiskFailsAndKeepsTheOldFile) {
    QTemporaryDir dir;
    zb::Design design;
    SampleDesign(design, 5, 3, 0, 0);
    zb::DesignExportJob job;
    job.design = &design;
    job.seed = 7;
    job.dpi = 300;
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    for (const char* format : {"png", "jpg", "tif", "bmp", "pdf"}) {
        SCOPED_TRACE(format);
        const QString name = dir.filePath(QStringLiteral("bogen.") + QLatin1String(format));
        {
            QFile old(name);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("alter Inhalt");
        }
        job.fileName = name.toStdString();
        // Files may grow to 2 KB only: far less than any of these sheets needs.
        rlimit small = before;
        small.rlim_cur = 2048;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const std::string message = zb::ExportDesign(job).message;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &before), 0);
        EXPECT_FALSE(message.empty());
        QFile old(name);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("alter Inhalt"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
        QFile::remove(name);
    }
    std::signal(SIGXFSZ, oldHandler);
}
