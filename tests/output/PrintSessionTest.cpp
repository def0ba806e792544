#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstring>

#include "output/OutputTestUtil.h"
#include "output/PrintSession.h"

using zb::PrintSession;

// The fallback PDF keeps every pixel: each raster drawn is one lossless
// picture (not JPEG) at the printer's 600 dpi where it was drawn, on A4
// pages; grey marks and labels are drawn too, and read back with the pages.
TEST(PrintSession, FallbackPdfKeepsEveryPixel) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("bogen.pdf");
    const uint32_t seed = 20261207;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    zb::DibPicture top = zb::test::NoiseDib(700, 1100, seed), bottom = zb::test::NoiseDib(700, 300, seed + 1),
                   small = zb::test::NoiseDib(33, 17, seed + 2);
    struct Drawn {
        int page;
        const zb::DibPicture& dib;
        QRect target;
    };
    // Two bands of one sheet stacked on page 1, a small picture on page 2
    // drawn twice as large (300 dpi in the file).
    const Drawn drawn[] = {{1, top, QRect(120, 240, 700, 1100)},
                           {1, bottom, QRect(120, 1340, 700, 300)},
                           {2, small, QRect(0, 0, 66, 34)}};

    QPrinter printer(QPrinter::HighResolution);
    zb::SetUpFallbackPrinter(printer, pdf);
    {
        PrintSession session(printer);
        ASSERT_EQ(session.Begin("bogen.zbg"), "");
        EXPECT_TRUE(session.Page().fallback);
        EXPECT_EQ(session.Page().page.width, 4760);
        int page = 1;
        for (const Drawn& d : drawn) {
            if (d.page != page) {
                ASSERT_EQ(session.NewPage(), "");
                page = d.page;
            }
            EXPECT_EQ(session.DrawRaster(zb::ViewOf(d.dib), d.target), "");
        }
        EXPECT_EQ(session.DrawCutMarks({QRect(0, 2000, 4760, 40)}), "");
        EXPECT_EQ(session.DrawLabel(QRect(0, 2100, 1200, 100), "Zeile 1, Spalte 2", false, true), "");
        ASSERT_EQ(session.End(), "");
    }
    EXPECT_EQ(printer.outputFileName(), pdf);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"bogen.pdf"});
    const QString info = zb::test::RunTool("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+2\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:.* pts \\(A4\\)"))) << info.toStdString();

    // pdfimages -list: page, number, type, width, height, ..., encoding, ..., x-ppi, y-ppi.
    const QStringList list = zb::test::RunTool("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts);
    QStringList pictures;
    for (int i = 2; i < list.size(); ++i) {
        const QStringList f = list[i].simplified().split(' ');
        ASSERT_GT(f.size(), 13);
        if (f[2] == "image") pictures << QStringList{f[0], f[3], f[4], f[8], f[12], f[13]}.join(' ');
    }
    EXPECT_EQ(pictures, (QStringList{"1 700 1100 image 600 600", "1 700 300 image 600 600", "2 33 17 image 300 300",
                                     "2 1200 100 image 600 600"}));
    const QStringList files = zb::test::ExtractedPdfPictures(dir.path(), pdf);
    ASSERT_GE(files.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(zb::test::SamePixels(QImage(files[i]), zb::ViewOf(drawn[i].dib))) << "picture " << i;

    // Where the mark and the label landed: page 2 at 150 dpi,
    // the printable area starting 12 pt from the left and 14 pt from the top.
    QTemporaryDir pages;
    zb::test::RunTool("pdftoppm", {"-r", "150", "-png", "-f", "2", "-l", "2", pdf, pages.filePath("seite")});
    const QImage page2(pages.filePath("seite-2.png"));
    ASSERT_FALSE(page2.isNull());
    const auto at = [&](double x600, double y600) {
        return page2.pixelColor(int((12 / 72.0 + x600 / 600) * 150), int((14 / 72.0 + y600 / 600) * 150));
    };
    EXPECT_NEAR(at(2000, 2020).red(), 128, 2) << "cut mark";
    EXPECT_EQ(at(2000, 1990), QColor(Qt::white)) << "above the cut mark";
    EXPECT_EQ(at(1100, 2150), QColor(Qt::white)) << "the label's ground";
    int dark = 0;
    for (int x = 0; x < 1200; x += 4) dark += at(x, 2150).red() < 160 ? 1 : 0;
    EXPECT_GT(dark, 5) << "the label's text";
}

// A label reads on dark paper: along the box or turned, it stands on a white
// field of its own over whatever was printed there.
TEST(PrintSession, LabelsStandOnAWhiteField) {
    for (const bool vertical : {false, true}) {
        SCOPED_TRACE(vertical ? "turned" : "along");
        QTemporaryDir dir;
        const QString pdf = dir.filePath("etikett.pdf");
        zb::DibPicture black(10, 10, 24);
        const zb::RasterView view = zb::ViewOf(black);
        for (int y = 0; y < 10; ++y) std::memset(view.row(y), 0, 30);
        QPrinter printer(QPrinter::HighResolution);
        zb::SetUpFallbackPrinter(printer, pdf);
        {
            PrintSession session(printer);
            ASSERT_EQ(session.Begin("etikett.zbg"), "");
            ASSERT_EQ(session.DrawRaster(view, QRect(0, 0, 1200, 1200)), "");
            const QRect box = vertical ? QRect(300, 100, 200, 1000) : QRect(100, 300, 1000, 200);
            ASSERT_EQ(session.DrawLabel(box, QStringLiteral("Zeile 1, Spalte 2"), vertical, false), "");
            ASSERT_EQ(session.End(), "");
        }
        zb::test::RunTool("pdftoppm", {"-r", "50", "-png", "-singlefile", pdf, dir.filePath("seite")});
        const QImage page = QImage(dir.filePath("seite.png")).convertToFormat(QImage::Format_RGB888);
        ASSERT_FALSE(page.isNull());
        // The black square (100 x 100 pixels here) and the white pixels within it.
        QRect square;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) < 16) square |= QRect(x, y, 1, 1);
        ASSERT_GT(square.width(), 90);
        int white = 0;
        for (int y = square.top(); y <= square.bottom(); ++y)
            for (int x = square.left(); x <= square.right(); ++x) white += qGray(page.pixel(x, y)) > 240;
        EXPECT_GT(white, 100);
    }
}

// A cancelled or failed job leaves an existing file of the chosen name alone
// and no temporary file behind.
TEST(PrintSession, CancelledAndFailedJobsLeaveNoFile) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("alt.pdf");
    {
        QFile old(pdf);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("alt");
    }
    zb::DibPicture dib = zb::test::NoiseDib(50, 40, 7);
    QPrinter printer(QPrinter::HighResolution);
    zb::SetUpFallbackPrinter(printer, pdf);
    {
        PrintSession session(printer);
        ASSERT_EQ(session.Begin("x"), "");
        EXPECT_EQ(session.DrawRaster(zb::ViewOf(dib), QRect(0, 0, 50, 40)), "");
        session.Abort();
        EXPECT_FALSE(session.Active());
    }
    {
        PrintSession session(printer);
        ASSERT_EQ(session.Begin("x"), "");
        // Destroyed without End(): the job is cancelled as well.
    }
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "alt");
    EXPECT_FALSE(QFile::exists(pdf + ".part"));

    QPrinter nowhere(QPrinter::HighResolution);
    zb::SetUpFallbackPrinter(nowhere, dir.filePath("fehlt/gibt-es-nicht/x.pdf"));
    PrintSession session(nowhere);
    const std::string message = session.Begin("x");
    EXPECT_NE(message.find("konnte nicht"), std::string::npos) << message;
    EXPECT_FALSE(session.Active());

    QPrinter unnamed(QPrinter::HighResolution);
    zb::SetUpFallbackPrinter(unnamed, QString());
    PrintSession noName(unnamed);
    EXPECT_EQ(noName.Begin("x"), "Es wurde keine PDF-Datei für den Ausdruck gewählt.");
}

TEST(PrintSession, UnknownPrinterIsReported) {
    QPrinter printer(QPrinter::HighResolution);
    EXPECT_EQ(zb::SelectPrinter(printer, "Gibt_es_nicht_4711"), "Der Drucker „Gibt_es_nicht_4711“ ist nicht vorhanden.");
}
