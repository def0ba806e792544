#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QImage>
#include <QTemporaryDir>

#include <cstring>

#include "output/OutputTestUtil.h"
#include "output/PrintSession.h"

using zb::PrintSession;

// The fallback PDF keeps every pixel: the pictures are stored without loss
// (not as JPEG), band by band, and read back identical.
TEST(PrintSession, FallbackPdfKeepsEveryPixel) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("bogen.pdf");
    const uint32_t seed = 20261207;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    zb::DibPicture dib = zb::test::NoiseDib(700, 1100, seed); // three bands of rows
    const zb::RasterView view = zb::ViewOf(dib);

    QPrinter printer(QPrinter::HighResolution);
    zb::SetUpFallbackPrinter(printer, pdf);
    {
        PrintSession session(printer);
        ASSERT_EQ(session.Begin("bogen.zbg"), "");
        EXPECT_TRUE(session.Page().fallback);
        EXPECT_EQ(session.Page().page.width, 4760);
        EXPECT_EQ(session.DrawRaster(view, QRect(120, 240, 700, 1100)), "");
        ASSERT_EQ(session.End(), "");
    }
    EXPECT_EQ(printer.outputFileName(), pdf);
    EXPECT_FALSE(QFile::exists(pdf + ".part"));
    const QStringList encodings = zb::test::PdfImageEncodings(pdf);
    ASSERT_EQ(encodings.size(), 3);
    for (const QString& e : encodings) EXPECT_EQ(e, "image");

    const QStringList files = zb::test::ExtractedPdfPictures(dir.path(), pdf);
    ASSERT_EQ(files.size(), 3);
    int row = 0;
    for (const QString& f : files) {
        const QImage band(f);
        ASSERT_FALSE(band.isNull()) << f.toStdString();
        EXPECT_TRUE(zb::test::SamePixels(band, view, row)) << "band from row " << row;
        row += band.height();
    }
    EXPECT_EQ(row, 1100);
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
