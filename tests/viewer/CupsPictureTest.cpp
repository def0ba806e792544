// The picture viewer's "Bild drucken..." against the private CUPS server
// (scripts/cups-test-server.sh, run by tests/output/cups-e2e.sh).
#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>

#include "output/CupsTestUtil.h"
#include "output/PicturePrintLayout.h"
#include "output/PrinterPage.h"
#include "render/PageGeometry.h"
#include "viewer/TPrintForm.h"
#include "viewer/TViewPicForm.h"

using namespace zb::test;

// "Bild drucken..." of the picture viewer on the default queue: one page with
// the job title "Bildmappe Bild", the picture at its computed rectangle.
TEST(CupsPrinting, PictureAtItsComputedRectangle) {
    if (qEnvironmentVariable("ZB_CUPS_OUT").isEmpty()) {
        if (Required()) FAIL() << "kein Test-CUPS-Server";
        GTEST_SKIP() << "no private CUPS server (scripts/cups-test-server.sh)";
    }
    QTemporaryDir tmp;
    zb::DibPicture picture(400, 300, 24);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) zb::setpixel(picture.dib(), x, y, zb::RGBColor(30, 60, 150));
    zb::TViewPicForm viewer;
    viewer.SetPicture(picture);
    // "Benutzerdefiniert", 60 % wide, the height derived, centred.
    viewer.ExecPrintForm = [](zb::TPrintForm& form) {
        form.show();
        form.findChild<QRadioButton*>("UserdefCheck")->click();
        form.findChild<QSpinBox*>("BreitEdit")->setValue(60);
        return int(QDialog::Accepted);
    };
    int asked = 0;
    viewer.AskPdfFileName = [&] {
        ++asked;
        return QString();
    };
    QString error;
    viewer.ShowError = [&](const QString& message) { error = message; };
    const QStringList before = QDir(qEnvironmentVariable("ZB_CUPS_OUT")).entryList({"*.pdf"}, QDir::Files);
    viewer.findChild<QPushButton*>("PrintBrn")->click();
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(viewer.Printer().printerName(), "ZB_PDF");
    const QString pdf = WaitForPdf(before);
    ASSERT_FALSE(pdf.isEmpty()) << "the queue produced no PDF";
    const QString info = zb::test::RunTool("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression("Title:\\s+Bildmappe Bild\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();

    const zb::PrinterPage page = zb::PrinterPageOf(viewer.Printer());
    ASSERT_FALSE(page.fallback);
    zb::PicturePrintChoice choice;
    choice.mode = zb::PrintSizeMode::UserDefined;
    choice.widthPercent = 60;
    choice.heightPercent = zb::CoupledHeightPercent(400, 300, page.page.width, page.page.height, 60, 50);
    const zb::PixelRect r = zb::PicturePrintRect(400, 300, page.page.width, page.page.height, choice);
    SCOPED_TRACE(testing::Message() << "page " << page.page.width << " x " << page.page.height << ", rect " << r.x
                                    << ", " << r.y << ", " << r.width << " x " << r.height);
    const QImage sheet = Rendered(pdf, tmp.path(), "bild");
    ASSERT_FALSE(sheet.isNull());
    const QPointF origin = PrintableOrigin150(viewer.Printer());
    const QRect ink = Ink(sheet);
    EXPECT_NEAR(ink.left(), origin.x() + double(r.x) / page.page.ppi * 150, 1.0);
    EXPECT_NEAR(ink.top(), origin.y() + double(r.y) / page.ppiY * 150, 1.0);
    EXPECT_NEAR(ink.width(), double(r.width) / page.page.ppi * 150, 1.0);
    EXPECT_NEAR(ink.height(), double(r.height) / page.ppiY * 150, 1.0);
}
