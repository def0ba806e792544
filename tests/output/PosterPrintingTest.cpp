// A sheet larger than the page printed across several pages: rasterised at
// 150 dpi and laid over each other at the glue strips, the pages give the
// export of the same sheet at 150 dpi. Once on the A4 PDF stand-in (every
// run), once through the private CUPS queue (run by tests/output/cups-e2e.sh).
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <functional>

#include "CupsTestUtil.h"
#include "OutputTestUtil.h"
#include "document/DesignFile.h"
#include "model/LayerChoices.h"
#include "output/DesignPrinting.h"
#include "output/PrintSession.h"
#include "output/PrinterPage.h"
#include "render/PosterLayout.h"

using namespace zb::test;

namespace {

// Large discs over the whole sheet: a piece glued at the wrong place shows at once.
void PosterDesign(zb::Design& design, double breit, double hoch) {
    SampleDesign(design, 120, 40);
    design.Paper.PrintAll = false;
    design.Paper.Breit = breit;
    design.Paper.Hoch = hoch;
    design.Paper.RandX = 2; // no part in a poster
    design.Paper.RandY = 3;
    design.Paper.Zoom = 30;
}

QImage Exported(const zb::Design& design, const zb::PrintablePage& page, uint32_t seed, const QString& file) {
    zb::DesignExportJob job;
    job.design = &design;
    job.seed = seed;
    job.dpi = 150;
    job.page = page;
    job.zoomPercent = 30;
    job.fileName = QFile::encodeName(file).toStdString();
    EXPECT_EQ(zb::ExportDesign(job).message, "");
    return QImage(file).convertToFormat(QImage::Format_RGB888);
}

// Every page of the PDF at 150 dpi, each piece cut from its printable area
// and laid onto the sheet in reading order, so that each page covers the
// glue strips of the pages before it. The label of a page without a strip
// (it sits on the sheet) is taken from `reference`.
QImage Glued(const QString& pdf, const QString& folder, const zb::PosterLayout& layout, int ppi, QPointF origin,
             const QImage& reference) {
    RunTool("pdftoppm", {"-r", "150", "-png", pdf, QDir(folder).filePath("seite")});
    QStringList files = QDir(folder).entryList({"seite-*.png"}, QDir::Files, QDir::Name);
    EXPECT_EQ(files.size(), layout.PageCount());
    if (files.size() != layout.PageCount()) return {};
    const double k = 150.0 / ppi;
    QImage sheet(reference.size(), QImage::Format_RGB888);
    sheet.fill(Qt::black);
    QPainter painter(&sheet);
    for (int i = 0; i < files.size(); ++i) {
        const QImage page = QImage(QDir(folder).filePath(files[i])).convertToFormat(QImage::Format_RGB888);
        const zb::PosterPage& piece = layout.Pages()[size_t(i)];
        const QRect from(int(std::lround(origin.x())), int(std::lround(origin.y())),
                         int(std::lround(piece.source.width * k)), int(std::lround(piece.source.height * k)));
        painter.drawImage(QPoint(int(std::lround(piece.source.x * k)), int(std::lround(piece.source.y * k))),
                          page.copy(from));
        if (piece.labelPlace == zb::PosterLabelPlace::Corner) {
            const QRect label(int((piece.source.x + piece.labelBox.x) * k) - 2,
                              int((piece.source.y + piece.labelBox.y) * k) - 2, int(piece.labelBox.width * k) + 4,
                              int(piece.labelBox.height * k) + 4);
            painter.drawImage(label.topLeft(), reference.copy(label));
        }
    }
    return sheet;
}

// The mean absolute difference per channel over the whole picture, and the
// largest over cells of about 1 cm: a misplaced piece raises the second.
struct Difference {
    double mean = 0;
    double worstCell = 0;
};

Difference Compare(const QImage& a, const QImage& b, int cell = 60) {
    Difference d;
    if (a.size() != b.size()) return {255, 255};
    double total = 0;
    for (int cy = 0; cy < a.height(); cy += cell)
        for (int cx = 0; cx < a.width(); cx += cell) {
            double sum = 0;
            int n = 0;
            for (int y = cy; y < std::min(a.height(), cy + cell); ++y)
                for (int x = 3 * cx; x < 3 * std::min(a.width(), cx + cell); ++x, ++n)
                    sum += std::abs(int(a.constScanLine(y)[x]) - int(b.constScanLine(y)[x]));
            total += sum;
            d.worstCell = std::max(d.worstCell, sum / n);
        }
    d.mean = total / (3.0 * a.width() * a.height());
    return d;
}

// Prints `design` as a poster on `printer`, waits for the PDF, glues its
// pages and compares them with the export of the same and of another sheet.
void CheckPoster(QPrinter& printer, zb::Design& design, uint32_t seed, const std::function<QString()>& printedPdf) {
    QTemporaryDir tmp;
    const zb::PrinterPage page = zb::PrinterPageOf(printer);
    const zb::PosterLayout layout = zb::PosterLayout::ForPrinter(design.Paper, page.page, 1.0);
    // The page count in centimetres, as the user reckons it.
    const double pw = page.page.width * zb::kMillimetresPerInch / 10 / page.page.ppi;
    const double ph = page.page.height * zb::kMillimetresPerInch / 10 / page.ppiY;
    EXPECT_EQ(layout.Columns(), int(std::ceil((design.Paper.Breit - 1) / (pw - 1))));
    EXPECT_EQ(layout.Rows(), int(std::ceil((design.Paper.Hoch - 1) / (ph - 1))));

    zb::DesignPrintJob job;
    job.design = &design;
    job.firstSeed = seed;
    job.zoomPercent = 30;
    job.settings.poster = true;
    job.settings.overlapCm = 1;
    job.title = "plakat.zbg";
    const zb::PrintOutcome outcome = zb::PrintDesign(printer, job);
    ASSERT_EQ(outcome.result.message, "");
    EXPECT_EQ(outcome.pagesPrinted, layout.PageCount());
    const QString pdf = printedPdf();
    ASSERT_FALSE(pdf.isEmpty());
    EXPECT_TRUE(RunTool("pdfinfo", {pdf}).contains(QRegularExpression(
        QStringLiteral("Pages:\\s+%1\\n").arg(layout.PageCount()))));

    const QImage exported = Exported(design, page.page, seed, tmp.filePath("export.png"));
    const QImage other = Exported(design, page.page, seed + 1, tmp.filePath("anders.png"));
    const QImage glued = Glued(pdf, tmp.path(), layout, page.page.ppi, PrintableOrigin150(printer), exported);
    ASSERT_FALSE(glued.isNull());
    const Difference same = Compare(glued, exported);
    const Difference different = Compare(glued, other);
    testing::Test::RecordProperty("poster_mean_difference", std::to_string(same.mean));
    testing::Test::RecordProperty("poster_worst_cell", std::to_string(same.worstCell));
    EXPECT_LT(same.mean, 3.0);
    EXPECT_LT(same.worstCell, 12.0);
    EXPECT_GT(different.mean, 4 * same.mean);
    if (const QString folder = qEnvironmentVariable("ZB_CUPS_ARTIFACTS"); !folder.isEmpty())
    {
        glued.save(QDir(folder).filePath("poster-glued.png"));
        QFile::remove(QDir(folder).filePath("poster.pdf"));
        QFile::copy(pdf, QDir(folder).filePath("poster.pdf"));
    }
}

} // namespace

// 30 x 20 cm on the A4 stand-in at 600 dpi: two pages; the command line
// prints the same job and says how many pages it gave.
TEST(DesignPrinting, PosterOnTheFallbackPdf) {
    QTemporaryDir tmp;
    zb::Design design;
    PosterDesign(design, 30, 20);
    const uint32_t seed = 24680;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = tmp.filePath("plakat.pdf");
    zb::SetUpFallbackPrinter(printer, pdf);
    ASSERT_EQ(zb::PosterLayout::ForPrinter(design.Paper, zb::kFallbackPrintablePage, 1).PageCount(), 2);
    CheckPoster(printer, design, seed, [&] { return pdf; });

    // A stop when every page is drawn still ends the job: no file, nothing counted.
    const QString stopped = tmp.filePath("gestoppt.pdf");
    zb::SetUpFallbackPrinter(printer, stopped);
    zb::DesignPrintJob job;
    job.design = &design;
    job.settings.poster = true;
    // Every layer done: the last page is composed, and drawn before the stop is seen.
    std::stop_source stop;
    job.stop = stop.get_token();
    job.progress = [&](int, int, int done, int layers) {
        if (done == layers) stop.request_stop();
    };
    const zb::PrintOutcome outcome = zb::PrintDesign(printer, job);
    EXPECT_TRUE(outcome.result.cancelled());
    EXPECT_EQ(outcome.pagesPrinted, 0);
    EXPECT_FALSE(QFile::exists(stopped));

    const QString file = tmp.filePath("plakat.zbg");
    ASSERT_TRUE(zb::savefile(design, file.toStdString()));
    QString errors, output;
    const QString cliPdf = tmp.filePath("cli.pdf");
    ASSERT_EQ(Zierbogen({"print", file, "--pdf", cliPdf, "--seed", QString::number(seed), "--poster", "--overlap",
                         "0,5"},
                        &errors, &output),
              0)
        << errors.toStdString();
    EXPECT_TRUE(output.contains(QString::fromUtf8("1 Bogen auf 2 Seiten"))) << output.toStdString();
    EXPECT_TRUE(RunTool("pdfinfo", {cliPdf}).contains(QRegularExpression("Pages:\\s+2\\n")));
    EXPECT_EQ(Zierbogen({"print", file, "--pdf", cliPdf, "--overlap", "1"}, &errors), 2);
    EXPECT_TRUE(errors.contains("--overlap gilt nur mit --poster")) << errors.toStdString();
    EXPECT_EQ(Zierbogen({"print", file, "--pdf", cliPdf, "--poster", "--overlap", "4"}, &errors), 2);
}

// 60 x 40 cm on the queue's A4 page with a 1 cm glue strip.
TEST(CupsPrinting, PosterPagesJoinIntoTheExport) {
    if (qEnvironmentVariable("ZB_CUPS_OUT").isEmpty()) {
        if (Required()) FAIL() << "kein Test-CUPS-Server";
        GTEST_SKIP() << "no private CUPS server (scripts/cups-test-server.sh)";
    }
    zb::Design design;
    PosterDesign(design, 60, 40);
    const uint32_t seed = 97531;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    QPrinter printer(QPrinter::HighResolution);
    ASSERT_EQ(zb::ChoosePrinter(printer, QString(), {}).message, "");
    ASSERT_FALSE(zb::PrinterPageOf(printer).fallback);
    const QStringList before = QDir(qEnvironmentVariable("ZB_CUPS_OUT")).entryList({"*.pdf"}, QDir::Files);
    CheckPoster(printer, design, seed, [&] { return WaitForPdf(before); });
}
