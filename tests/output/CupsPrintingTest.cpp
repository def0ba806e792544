// End-to-end printing through a real print queue: run by
// scripts/cups-test-server.sh (see tests/output/cups-e2e.sh), which starts a
// private CUPS server with a PDF queue as the default printer. Without that
// server these tests are skipped, unless ZB_REQUIRE_CUPS asks for them.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

#include "CupsTestUtil.h"
#include "output/SpoolFolder.h"
#include "OutputTestUtil.h"
#include "document/DesignFile.h"
#include "model/LayerChoices.h"
#include "output/DesignPrinting.h"
#include "output/PrintSession.h"
#include "output/PrinterPage.h"
#include "output/PicturePrintLayout.h"
#include "render/Compositor.h"
#include "render/PageGeometry.h"

using namespace zb::test;

namespace {

QImage ToImage(zb::RasterView v) {
    QImage image(v.width, v.height, QImage::Format_RGB888);
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) {
            const uint8_t* p = v.pixel(x, y);
            uchar* d = image.scanLine(y) + 3 * x;
            d[0] = p[2];
            d[1] = p[1];
            d[2] = p[0];
        }
    return image;
}

// The preview's sheet: the design view's composition at 96 ppi and the zoom.
QImage PreviewSheet(zb::Design& design, const zb::PrintablePage& page, double zoom, uint32_t seed) {
    zb::Compositor c;
    EXPECT_EQ(c.EnsureSize(zb::DesignRasterSize(design.Paper, page, 96, zoom)), "");
    EXPECT_EQ(c.ComposeFromSeed(design, 96, zoom, seed, nullptr).message, "");
    return ToImage(c.DesignView());
}

// Mean absolute difference of the cell averages of two pictures of one size
// (a coarse comparison: positions and colours, not single pixels).
double CellDifference(const QImage& a, const QImage& b, int cols = 16, int rows = 12) {
    double total = 0;
    for (int cy = 0; cy < rows; ++cy)
        for (int cx = 0; cx < cols; ++cx) {
            const QRect cell(a.width() * cx / cols, a.height() * cy / rows, a.width() / cols, a.height() / rows);
            for (int c = 0; c < 3; ++c) {
                double sa = 0, sb = 0;
                for (int y = cell.top(); y <= cell.bottom(); ++y)
                    for (int x = cell.left(); x <= cell.right(); ++x) {
                        sa += a.constScanLine(y)[3 * x + c];
                        sb += b.constScanLine(y)[3 * x + c];
                    }
                total += std::abs(sa - sb) / (cell.width() * cell.height());
            }
        }
    return total / (cols * rows * 3);
}

void SaveSideBySide(const QImage& preview, const QImage& printed, const QString& name) {
    const QString folder = qEnvironmentVariable("ZB_CUPS_ARTIFACTS");
    if (folder.isEmpty()) return;
    QImage both(preview.width() + printed.width() + 10, std::max(preview.height(), printed.height()),
                QImage::Format_RGB888);
    both.fill(Qt::white);
    QPainter p(&both);
    p.drawImage(0, 0, preview);
    p.drawImage(preview.width() + 10, 0, printed);
    p.end();
    both.save(QDir(folder).filePath(name));
}

} // namespace

// The window's print command on the default queue: the design lands at its
// margins with its physical size and shows the preview's sheet, scaled.
TEST(CupsPrinting, DesignAtItsMarginsAsThePreviewShows) {
    if (qEnvironmentVariable("ZB_CUPS_OUT").isEmpty()) {
        if (Required()) FAIL() << "kein Test-CUPS-Server";
        GTEST_SKIP() << "no private CUPS server (scripts/cups-test-server.sh)";
    }
    QTemporaryDir tmp;
    zb::Design design;
    SampleDesign(design);
    design.Paper.PrintAll = false;
    design.Paper.Breit = 8;
    design.Paper.Hoch = 6;
    design.Paper.RandX = 1.5;
    design.Paper.RandY = 2.5;
    const uint32_t seed = 1357911;
    SCOPED_TRACE(testing::Message() << "seed " << seed);

    QPrinter printer(QPrinter::HighResolution);
    ASSERT_EQ(zb::ChoosePrinter(printer, QString(), {}).message, "");
    EXPECT_EQ(printer.printerName(), "ZB_PDF");
    const zb::PrinterPage page = zb::PrinterPageOf(printer);
    ASSERT_FALSE(page.fallback);
    const QStringList before = QDir(qEnvironmentVariable("ZB_CUPS_OUT")).entryList({"*.pdf"}, QDir::Files);

    zb::DesignPrintJob job;
    job.design = &design;
    job.firstSeed = seed;
    job.zoomPercent = 50;
    job.title = "e2e-muster.zbg";
    const zb::PrintOutcome outcome = zb::PrintDesign(printer, job);
    ASSERT_EQ(outcome.result.message, "");
    const QString pdf = WaitForPdf(before);
    ASSERT_FALSE(pdf.isEmpty()) << "the queue produced no PDF";
    const QImage sheet = Rendered(pdf, tmp.path(), "seite");
    ASSERT_FALSE(sheet.isNull());

    const QPointF origin = PrintableOrigin150(printer);
    const QRect ink = Ink(sheet);
    const double x0 = origin.x() + 1.5 / 2.539995 * 150, y0 = origin.y() + 2.5 / 2.539995 * 150;
    const double w = double(zb::CentimetresToPixels(8, page.page.ppi)) / page.page.ppi * 150;
    const double h = double(zb::CentimetresToPixels(6, page.ppiY)) / page.ppiY * 150;
    EXPECT_NEAR(ink.left(), x0, 1.0);
    EXPECT_NEAR(ink.top(), y0, 1.0);
    EXPECT_NEAR(ink.width(), w, 1.0);
    EXPECT_NEAR(ink.height(), h, 1.0);

    const QImage printed = sheet.copy(ink);
    const QImage preview = PreviewSheet(design, page.page, 50, seed)
                               .scaled(printed.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                               .convertToFormat(QImage::Format_RGB888);
    const QImage other = PreviewSheet(design, page.page, 50, seed + 1)
                             .scaled(printed.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGB888);
    const double same = CellDifference(printed, preview);
    const double different = CellDifference(printed, other);
    RecordProperty("cell_difference_same_sheet", std::to_string(same));
    RecordProperty("cell_difference_other_sheet", std::to_string(different));
    EXPECT_LT(same, 8.0);
    EXPECT_GT(different, 2 * same);
    SaveSideBySide(preview, printed, "cups-side-by-side.png");
}

// With "Gesamtes Papier bedrucken" and margins the design keeps the page's
// size, is shifted, and is cut at the printable area's right and bottom edges.
TEST(CupsPrinting, WholePageCutAtThePrintableArea) {
    if (qEnvironmentVariable("ZB_CUPS_OUT").isEmpty()) {
        if (Required()) FAIL() << "kein Test-CUPS-Server";
        GTEST_SKIP() << "no private CUPS server (scripts/cups-test-server.sh)";
    }
    QTemporaryDir tmp;
    zb::Design design;
    SampleDesign(design);
    design.Paper.PrintAll = true;
    design.Paper.RandX = 2;
    design.Paper.RandY = 3;
    QPrinter printer(QPrinter::HighResolution);
    ASSERT_EQ(zb::ChoosePrinter(printer, QString(), {}).message, "");
    const zb::PrinterPage page = zb::PrinterPageOf(printer);
    const QStringList before = QDir(qEnvironmentVariable("ZB_CUPS_OUT")).entryList({"*.pdf"}, QDir::Files);
    zb::DesignPrintJob job;
    job.design = &design;
    job.firstSeed = 42;
    job.title = "ganze-seite.zbg";
    ASSERT_EQ(zb::PrintDesign(printer, job).result.message, "");
    const QString pdf = WaitForPdf(before);
    ASSERT_FALSE(pdf.isEmpty());
    const QImage sheet = Rendered(pdf, tmp.path(), "ganz");
    const QPointF origin = PrintableOrigin150(printer);
    const QRect ink = Ink(sheet);
    const double right = origin.x() + double(page.page.width) / page.page.ppi * 150;
    const double bottom = origin.y() + double(page.page.height) / page.ppiY * 150;
    EXPECT_NEAR(ink.left(), origin.x() + 2 / 2.539995 * 150, 1.0);
    EXPECT_NEAR(ink.top(), origin.y() + 3 / 2.539995 * 150, 1.0);
    EXPECT_NEAR(ink.right() + 1, right, 1.0);
    EXPECT_NEAR(ink.bottom() + 1, bottom, 1.0);
}

// `zierbogen print` on the default queue: the same placement and the same
// sheet as the window's print command, from the same generator state.
TEST(CupsPrinting, CommandLinePrintsLikeTheWindow) {
    if (qEnvironmentVariable("ZB_CUPS_OUT").isEmpty()) {
        if (Required()) FAIL() << "kein Test-CUPS-Server";
        GTEST_SKIP() << "no private CUPS server (scripts/cups-test-server.sh)";
    }
    QTemporaryDir tmp;
    zb::Design design;
    SampleDesign(design);
    design.Paper.PrintAll = false;
    design.Paper.Breit = 7;
    design.Paper.Hoch = 5;
    design.Paper.RandX = 3;
    design.Paper.RandY = 1;
    design.Paper.Zoom = 40;
    const QString file = tmp.filePath("kommandozeile.zbg");
    ASSERT_TRUE(zb::savefile(design, file.toStdString()));
    const uint32_t seed = 8642;
    SCOPED_TRACE(testing::Message() << "seed " << seed);

    const QDir out(qEnvironmentVariable("ZB_CUPS_OUT"));
    QStringList before = out.entryList({"*.pdf"}, QDir::Files);
    QString errors;
    ASSERT_EQ(Zierbogen({"print", file, "--seed", QString::number(seed)}, &errors), 0) << errors.toStdString();
    const QString cliPdf = WaitForPdf(before);
    ASSERT_FALSE(cliPdf.isEmpty());
    const QImage cliSheet = Rendered(cliPdf, tmp.path(), "cli");

    before = out.entryList({"*.pdf"}, QDir::Files);
    QPrinter printer(QPrinter::HighResolution);
    ASSERT_EQ(zb::ChoosePrinter(printer, QString(), {}).message, "");
    zb::DesignPrintJob job;
    job.design = &design;
    job.firstSeed = seed;
    job.zoomPercent = 40;
    ASSERT_EQ(zb::PrintDesign(printer, job).result.message, "");
    const QString windowPdf = WaitForPdf(before);
    ASSERT_FALSE(windowPdf.isEmpty());
    const QImage windowSheet = Rendered(windowPdf, tmp.path(), "fenster");

    const QRect ink = Ink(cliSheet);
    EXPECT_EQ(ink, Ink(windowSheet));
    const QPointF origin = PrintableOrigin150(printer);
    EXPECT_NEAR(ink.left(), origin.x() + 3 / 2.539995 * 150, 1.0);
    EXPECT_NEAR(ink.top(), origin.y() + 1 / 2.539995 * 150, 1.0);
    // Both edges may fall inside a pixel of the 150 dpi rendering, which then
    // shows ink: the ink is up to two pixels wider than the sheet.
    EXPECT_NEAR(ink.width(), 7 / 2.539995 * 150 + 1, 1.0);
    EXPECT_LT(CellDifference(cliSheet.copy(ink), windowSheet.copy(ink)), 1.0);

    EXPECT_EQ(Zierbogen({"print", file, "--printer", "ZB_GIBT_ES_NICHT"}, &errors), 1);
    EXPECT_TRUE(errors.contains(QString::fromUtf8("Der Drucker „ZB_GIBT_ES_NICHT“ ist nicht vorhanden."))) << errors.toStdString();
}

namespace {

// Jobs the queue holds or has held, counted by lpstat.
int JobsOnRecord() {
    const QString all = zb::test::RunTool("lpstat", {"-W", "all", "-o"});
    return int(all.split('\n', Qt::SkipEmptyParts).size());
}

} // namespace

// A queue that does not take the job is reported with its reason, not
// counted as printed; a cancelled job never reaches the queue, whichever
// sheet the cancel comes at. No spool file is left behind either way.
TEST(CupsPrinting, RefusedAndCancelledJobsAreNotCountedAsPrinted) {
    if (qEnvironmentVariable("ZB_CUPS_OUT").isEmpty()) {
        if (Required()) FAIL() << "kein Test-CUPS-Server";
        GTEST_SKIP() << "no private CUPS server (scripts/cups-test-server.sh)";
    }
    zb::Design design;
    SampleDesign(design);
    design.Paper.PrintAll = false;
    design.Paper.Breit = 3;
    design.Paper.Hoch = 2;
    QPrinter printer(QPrinter::HighResolution);
    ASSERT_EQ(zb::ChoosePrinter(printer, QString(), {}).message, "");
    auto spoolFiles = [] {
        return QDir(QString::fromStdString(zb::SpoolFolder::DefaultParent()))
            .entryList({"zierbogen-druck-*"}, QDir::Dirs | QDir::Hidden);
    };
    const int jobsBefore = JobsOnRecord();

    for (int stopAtSheet : {1, 2, 3}) {
        SCOPED_TRACE(stopAtSheet);
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
    }
    QThread::msleep(1000);
    EXPECT_EQ(JobsOnRecord(), jobsBefore);

    ASSERT_EQ(QProcess::execute("cupsreject", {"-r", "Wartung", "ZB_PDF"}), 0);
    zb::DesignPrintJob job;
    job.design = &design;
    job.settings.sheets = 2;
    const zb::PrintOutcome refused = zb::PrintDesign(printer, job);
    EXPECT_EQ(QProcess::execute("cupsaccept", {"ZB_PDF"}), 0);
    EXPECT_NE(refused.result.message.find("„ZB_PDF“ konnte nicht ausgeführt werden"), std::string::npos)
        << refused.result.message;
    EXPECT_EQ(refused.sheetsPrinted, 0);
    EXPECT_EQ(JobsOnRecord(), jobsBefore);
    EXPECT_TRUE(spoolFiles().isEmpty()) << spoolFiles().join(' ').toStdString();
}

// No printer installed: the print command asks for a PDF file and prints the
// A4 page at 600 dpi into it; no answer, no job.
TEST(NoPrinter, PrintsIntoTheAskedPdf) {
    if (!zb::NoPrinterInstalled()) {
        if (Required()) FAIL() << "a printer is installed";
        GTEST_SKIP() << "printers are installed here";
    }
    QTemporaryDir tmp;
    zb::Design design;
    SampleDesign(design);
    design.Paper.PrintAll = false;
    design.Paper.Breit = 4;
    design.Paper.Hoch = 3;
    design.Paper.RandX = 1;
    design.Paper.RandY = 1;
    QPrinter printer(QPrinter::HighResolution);
    EXPECT_TRUE(zb::ChoosePrinter(printer, QString(), [] { return QString(); }).cancelled());
    const QString file = tmp.filePath("ersatz.pdf");
    ASSERT_EQ(zb::ChoosePrinter(printer, QString(), [&] { return file; }).message, "");
    EXPECT_TRUE(zb::PrinterPageOf(printer).fallback);
    zb::DesignPrintJob job;
    job.design = &design;
    job.firstSeed = 7;
    ASSERT_EQ(zb::PrintDesign(printer, job).result.message, "");
    const QImage sheet = Rendered(file, tmp.path(), "ersatz");
    ASSERT_FALSE(sheet.isNull());
    // A4 at 150 dpi; the printable area starts 12 pt and 14 pt in.
    EXPECT_EQ(sheet.width(), 1240);
    EXPECT_NEAR(sheet.height(), 1754, 1); // 1754.0 rounds either way
    const QRect ink = Ink(sheet);
    EXPECT_NEAR(ink.left(), 25 + 1 / 2.539995 * 150, 1.0);
    EXPECT_NEAR(ink.top(), 29.17 + 1 / 2.539995 * 150, 1.0);
    EXPECT_NEAR(ink.width(), 4 / 2.539995 * 150, 1.0);
    EXPECT_NEAR(ink.height(), 3 / 2.539995 * 150, 1.0);
    EXPECT_EQ(zb::ChoosePrinter(printer, "ZB_GIBT_ES_NICHT", {}).message, "Der Drucker „ZB_GIBT_ES_NICHT“ ist nicht vorhanden.");

    // The command-line program says what to do, and prints into --pdf.
    const QString designFile = tmp.filePath("ersatz.zbg");
    ASSERT_TRUE(zb::savefile(design, designFile.toStdString()));
    QString errors;
    EXPECT_EQ(Zierbogen({"print", designFile}, &errors), 1);
    EXPECT_TRUE(errors.contains("kein Drucker eingerichtet")) << errors.toStdString();
    const QString cliPdf = tmp.filePath("cli.pdf");
    ASSERT_EQ(Zierbogen({"print", designFile, "--pdf", cliPdf, "--seed", "7"}, &errors), 0) << errors.toStdString();
    const QImage cliSheet = Rendered(cliPdf, tmp.path(), "cli");
    EXPECT_EQ(Ink(cliSheet), ink);
}

