// The pages "Papierformat wählen" and "Drucken" inside the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QWheelEvent>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include "MainFormFixture.h"
#include "app/TPaperPage.h"
#include "app/TPrintPage.h"
#include "app/TSpinEdit.h"
#include "output/PrintSession.h"
#include "render/PageGeometry.h"
#include "render/PosterLayout.h"
#include "workspace/ViewNavigation.h"

using zbtest::MainFormTest;

namespace {

QString Text(zb::TSpinEdit* e) { return e->Text(); }

void Mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

TEST_F(MainFormTest, PaperPageStartsWithTheDesignsFormat) {
    EXPECT_EQ(Text(Find<zb::TSpinEdit>("BreitEd")), "17,50");
    EXPECT_EQ(Text(Find<zb::TSpinEdit>("HochEd")), "28,00");
    EXPECT_EQ(Text(Find<zb::TSpinEdit>("BreitVEd")), "5,00");
    EXPECT_EQ(Text(Find<zb::TSpinEdit>("HochVEd")), "8,00");
    EXPECT_EQ(Text(Find<zb::TSpinEdit>("DezVEd")), "0,6250");
    EXPECT_TRUE(Find<QRadioButton>("PrintAllBtn")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("SVerhCheck")->isChecked());
    // The A4 stand-in of the fixture: the line says so.
    EXPECT_EQ(Find<QLabel>("InfoLabel")->text(),
              QString::fromUtf8("Maximal druckbare Größe: 20,15 cm x 28,70 cm (kein Drucker eingerichtet: "
                                "Ausdruck als PDF-Datei, A4, 600 dpi)"));
}

TEST_F(MainFormTest, TypingIntoTheWidthRecomputesTheHeight) {
    zb::TSpinEdit* breit = Find<zb::TSpinEdit>("BreitEd");
    zb::TSpinEdit* hoch = Find<zb::TSpinEdit>("HochEd");
    breit->SetText("2");
    EXPECT_EQ(Text(hoch), "3,20");
    breit->SetText("20");
    EXPECT_EQ(Text(hoch), "32,00");
    EXPECT_DOUBLE_EQ(D().Paper.Hoch, 32);
    EXPECT_TRUE(form->Workspace().Stale());
    breit->SetText("");
    EXPECT_EQ(Text(hoch), "1,60");
    EXPECT_EQ(dialogs.Count("error"), 0);
}

TEST_F(MainFormTest, DivisionByZeroShowsTheErrorBox) {
    Find<QCheckBox>("SVerhCheck")->click();
    EXPECT_FALSE(D().Paper.SVerh);
    Find<zb::TSpinEdit>("BreitEd")->SetText("0");
    ASSERT_EQ(dialogs.Count("error"), 1);
    EXPECT_EQ(dialogs.LastText("error"), "Floating point division by zero.");
    EXPECT_EQ(dialogs.LastCaption("error"), ""); // the application's title
    // The next keystroke works: RH := 28 x 5 / 4 = 35.
    Find<zb::TSpinEdit>("BreitEd")->SetText("4");
    EXPECT_EQ(Text(Find<zb::TSpinEdit>("HochVEd")), "35,00");
    EXPECT_EQ(dialogs.Count("error"), 1);
}

TEST_F(MainFormTest, PaperSizeChoiceClearsTheComposition) {
    form->PaintDesign();
    ASSERT_FALSE(form->Workspace().Stale());
    Find<QRadioButton>("PrintPartBtn")->click();
    EXPECT_FALSE(D().Paper.PrintAll);
    EXPECT_TRUE(form->Workspace().Stale());
    form->PaintDesign();
    Find<QRadioButton>("PrintAllBtn")->click();
    EXPECT_TRUE(D().Paper.PrintAll);
    EXPECT_TRUE(form->Workspace().Stale());
}

TEST_F(MainFormTest, SeamlessTileIsAnUndoableChoiceWithHintsAndARepeatView) {
    QCheckBox* seamless = Find<QCheckBox>("SeamlessBox");
    QComboBox* repeat = Find<QComboBox>("RepeatBox");
    EXPECT_FALSE(seamless->isChecked());
    EXPECT_FALSE(repeat->isEnabled());
    form->PaintDesign();
    const uint32_t sheet = form->Workspace().Sheet().StartSeed();
    seamless->click();
    EXPECT_TRUE(D().Paper.Seamless);
    EXPECT_TRUE(repeat->isEnabled());
    EXPECT_TRUE(form->Workspace().Stale());
    form->PaintDesign();
    EXPECT_EQ(form->Workspace().Sheet().StartSeed(), sheet) << "the same sheet, now a tile";
    repeat->setCurrentIndex(zb::kRepeatHalfDrop);
    EXPECT_EQ(D().Paper.Repeat, zb::kRepeatHalfDrop);

    // A gradient beneath makes a seam: both hints say so.
    Find<QTabWidget>("PageControl1")->setCurrentIndex(zb::kKindGradient);
    WaitForTimer();
    for (const char* name : {"SeamHintLabel", "ViewSeamHintLabel"})
        EXPECT_TRUE(Find<QLabel>(name)->text().contains(QString::fromUtf8("Ebene 1 ist ein Farbverlauf"))) << name;
    EXPECT_FALSE(Find<QLabel>("ViewSeamHintLabel")->isHidden());

    // Each change is one step back.
    form->UndoBtnClick();
    form->UndoBtnClick();
    EXPECT_EQ(D().Paper.Repeat, zb::kRepeatBasic);
    EXPECT_TRUE(seamless->isChecked());
    form->UndoBtnClick();
    EXPECT_FALSE(D().Paper.Seamless);
    EXPECT_FALSE(seamless->isChecked());
    EXPECT_TRUE(Find<QLabel>("ViewSeamHintLabel")->text().isEmpty());

    // "Wiederholung zeigen" lays the sheet 3 x 3 times without composing it again.
    form->PaintDesign();
    const int compositions = form->Workspace().CompositionCount();
    const QSize one = Find<QWidget>("PaintBox1")->size();
    Find<QCheckBox>("RepeatViewBox")->click();
    EXPECT_EQ(Find<QWidget>("PaintBox1")->size(), one * 3);
    EXPECT_EQ(form->Workspace().CompositionCount(), compositions);
    const QImage shown = Find<QWidget>("PaintBox1")->grab().toImage();
    const QImage middle = shown.copy(QRect(QPoint(one.width(), one.height()), one));
    for (const QPoint corner : {QPoint(0, 0), QPoint(2 * one.width(), one.height()), QPoint(one.width(), 2 * one.height())})
        EXPECT_TRUE(shown.copy(QRect(corner, one)) == middle) << corner.x() << "," << corner.y();

    // The mirrored repeat on screen and in the export's 3 x 3 tiles: the
    // tile right of the middle one is its mirror image.
    seamless->click();
    repeat->setCurrentIndex(zb::kRepeatMirror);
    form->PaintDesign();
    const QImage mirrored = Find<QWidget>("PaintBox1")->grab().toImage();
    const QImage centre = mirrored.copy(QRect(QPoint(one.width(), one.height()), one));
    EXPECT_TRUE(mirrored.copy(QRect(QPoint(2 * one.width(), one.height()), one)) == centre.mirrored(true, false));
    Find<zb::TPrintPage>("PrintPage")->askResolution = [](QWidget*) { return 40; };
    Find<QCheckBox>("Preview3x3Check")->setChecked(true);
    dialogs.fileNames.push_back(dir.filePath("kachel.png"));
    Click("ExportBtn");
    FinishJob();
    EXPECT_EQ(dialogs.Count("error"), 0) << dialogs.LastText("error").toStdString();
    const QImage tile = QImage(dir.filePath("kachel.png")).convertToFormat(QImage::Format_RGB32);
    const QImage tiles = QImage(dir.filePath("kachel-3x3.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(tiles.size(), tile.size() * 3);
    EXPECT_TRUE(tiles.copy(QRect(QPoint(tile.width(), tile.height()), tile.size())) == tile);
    EXPECT_TRUE(tiles.copy(QRect(QPoint(0, 0), tile.size())) == tile.mirrored(true, true));
}

// Preview at 100 % on the offscreen screen (96 ppi): a printable width of
// 4800 printer pixels at 600 dpi is a page picture 768 pixels wide; the zoom
// field and the design view's zoom are one.
TEST_F(MainFormTest, PreviewPageAndZoomCoupling) {
    zb::TMainForm::Options options = TestOptions();
    options.printer = zb::PrinterPage{{4800, 6600, 600, 600}, 600, false, QStringLiteral("Test")};
    options.seed = 1;
    MakeWith(options);
    auto* page = Find<zb::TPrintPage>("PrintPage");
    QWidget* box = Find<QWidget>("PaintBox2");
    ASSERT_EQ(box->logicalDpiX(), 96);
    Find<zb::TSpinEdit>("zoomed2")->SetValue(100);
    EXPECT_EQ(form->Workspace().Zoom(), 100);
    EXPECT_EQ(box->width(), 768);
    EXPECT_EQ(box->height(), 1056);
    EXPECT_EQ(page->Layout().design, (zb::PixelRect{0, 0, 768, 1056}));
    Find<zb::TSpinEdit>("ZoomEd")->SetValue(50);
    EXPECT_EQ(Text(Find<zb::TSpinEdit>("zoomed2")), "50");
    EXPECT_EQ(box->width(), 384); // the page picture follows the design view's zoom

    // Margins shift the design; a margin that is no number counts as 0.
    Find<zb::TSpinEdit>("RandXEd")->SetValue(1);
    EXPECT_DOUBLE_EQ(D().Paper.RandX, 1);
    EXPECT_EQ(page->Layout().design.x, 18); // 1 cm at 96 ppi and 50 %
    Find<zb::TSpinEdit>("RandXEd")->SetText("abc");
    EXPECT_EQ(page->Layout().design.x, 0);
}

TEST_F(MainFormTest, PreviewPansWithAnyButton) {
    form->show();
    Find<QTabWidget>("PageControl2")->setCurrentIndex(2);
    Find<zb::TSpinEdit>("zoomed2")->SetValue(300);
    auto* box = Find<QScrollArea>("ScrollBox2");
    QApplication::processEvents();
    QWidget* paint = Find<QWidget>("PaintBox2");
    QScrollBar* h = box->horizontalScrollBar();
    QScrollBar* v = box->verticalScrollBar();
    ASSERT_GT(h->maximum(), 100);
    Mouse(paint, QEvent::MouseButtonPress, {200, 150}, Qt::RightButton, Qt::RightButton);
    Mouse(paint, QEvent::MouseMove, {150, 120}, Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(h->value(), 50);
    EXPECT_EQ(v->value(), 30);
    Mouse(paint, QEvent::MouseMove, {5000, 5000}, Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(h->value(), 0);
    EXPECT_EQ(v->value(), 0);
    Mouse(paint, QEvent::MouseMove, {-90000, -90000}, Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(h->value(), h->maximum());
    EXPECT_EQ(v->value(), v->maximum());
    Mouse(paint, QEvent::MouseButtonRelease, {0, 0}, Qt::RightButton, Qt::NoButton);
    const int still = h->value();
    Mouse(paint, QEvent::MouseMove, {600, 600}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(h->value(), still);

    // The wheel scrolls a wheel step per notch, within the ends.
    v->setValue(100);
    auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(5, 5), paint->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(paint, &event);
    };
    wheel(-120);
    EXPECT_EQ(v->value(), 100 + zb::kWheelStep);
    wheel(240);
    EXPECT_EQ(v->value(), 100 - zb::kWheelStep);
    for (int i = 0; i < 10; ++i) wheel(120);
    EXPECT_EQ(v->value(), 0);
}

TEST_F(MainFormTest, PrinterSetupWithoutAPrinterSaysWhatHappens) {
    if (!zb::NoPrinterInstalled()) GTEST_SKIP() << "printers are installed here";
    Click("PrinterSetupBtn");
    ASSERT_EQ(dialogs.Count("error"), 1);
    EXPECT_TRUE(dialogs.LastText("error").contains("kein Drucker eingerichtet"));
    EXPECT_TRUE(form->Workspace().Printer().fallback);
}

// With no printer installed the print command asks for a PDF file; export
// writes the chosen format at the chosen resolution.
TEST_F(MainFormTest, PrintIntoPdfAndExport) {
    zb::PaperSettings paper = D().Paper;
    paper.PrintAll = false;
    paper.Breit = 3;
    paper.Hoch = 2;
    form->Workspace().SetPaper(paper, true);
    form->PaintDesign();
    auto* page = Find<zb::TPrintPage>("PrintPage");
    if (zb::NoPrinterInstalled()) {
        const QString pdf = dir.filePath("druck.pdf");
        dialogs.fileNames.push_back(pdf);
        Click("PrintBtn");
        FinishJob();
        EXPECT_EQ(dialogs.Count("error"), 0) << dialogs.LastText("error").toStdString();
        EXPECT_TRUE(QFile::exists(pdf));
        // No file name: nothing is printed, nothing is said.
        Click("PrintBtn");
        FinishJob();
        EXPECT_EQ(dialogs.Count("error"), 0);
    }
    page->askResolution = [](QWidget*) { return 100; };
    const QString png = dir.filePath("export.png");
    dialogs.fileNames.push_back(png);
    Click("ExportBtn");
    FinishJob();
    EXPECT_EQ(dialogs.Count("error"), 0) << dialogs.LastText("error").toStdString();
    const QImage image(png);
    EXPECT_EQ(image.size(), QSize(118, 78)); // 3 x 2 cm at 100 dpi
    EXPECT_TRUE(Find<QCheckBox>("PreviewFilterCheck")->isChecked());

    // A failed export says so with its progress dialog already gone.
    const QString kept = dir.filePath("geschuetzt.png");
    QFile::copy(png, kept);
    QFile::setPermissions(kept, QFileDevice::ReadOwner);
    dialogs.fileNames.push_back(kept);
    Click("ExportBtn");
    FinishJob();
    EXPECT_TRUE(dialogs.LastText("error").contains("schreibgeschützt")) << dialogs.LastText("error").toStdString();
    EXPECT_EQ(dialogs.progressAtLastError, 0);
}

// The paper format changed on its page, then the print page is shown: its
// preview composes the new sheet before drawing (it used to draw the old one
// squeezed into the new size), and printing starts from that sheet.
TEST_F(MainFormTest, PreviewComposesTheSheetOfTheNewPaperFormat) {
    form->show();
    Find<QRadioButton>("PrintPartBtn")->click();
    Find<zb::TSpinEdit>("BreitEd")->SetText("10");
    ASSERT_TRUE(form->Workspace().Stale());
    Find<QTabWidget>("PageControl2")->setCurrentIndex(2);
    const QImage preview = Find<QWidget>("PaintBox2")->grab().toImage();
    const zb::DesignWorkspace& w = form->Workspace();
    EXPECT_FALSE(w.Stale());
    EXPECT_EQ(w.Sheet().Size(), w.SheetSize(form->ScreenPpi()));
    EXPECT_EQ(w.Seed().Number(), w.Sheet().StartSeed());
    // The design is drawn at its place: the page's corner is the sheet's corner.
    const zb::PixelRect at = Find<zb::TPrintPage>("PrintPage")->Layout().design;
    const uint8_t* corner = w.Sheet().DesignView().pixel(0, 0);
    EXPECT_EQ(preview.pixelColor(at.x, at.y), QColor(corner[2], corner[1], corner[0]));
}

// "Drucker einrichten" changes the sheet only of a design that fills the
// whole page; a design of part of the paper keeps its sheet and its size.
TEST_F(MainFormTest, PrinterSetupKeepsTheSheetOfAPartOfThePaper) {
    auto* page = Find<zb::TPaperPage>("PaperPage");
    page->noPrinter = [] { return false; };
    page->setupDialog = [](QPrinter& printer, QWidget*) { printer.setOutputFormat(QPrinter::PdfFormat); };
    Find<QRadioButton>("PrintPartBtn")->click();
    form->PaintDesign();
    const uint32_t sheet = form->Workspace().Seed().Number();
    const int compositions = form->Workspace().CompositionCount();
    Click("PrinterSetupBtn");
    EXPECT_FALSE(form->Workspace().Stale());
    EXPECT_EQ(form->Workspace().Seed().Number(), sheet);
    EXPECT_EQ(form->Workspace().CompositionCount(), compositions);
    // A design of the whole page is composed anew for the printer's page.
    Find<QRadioButton>("PrintAllBtn")->click();
    form->PaintDesign();
    Click("PrinterSetupBtn");
    EXPECT_EQ(form->Workspace().CompositionCount(), compositions + 2);
    EXPECT_EQ(dialogs.Count("error"), 0);
}

// Option buttons follow a change made by code or by assistive technology
// (the "Toggle" action), not only a click.
TEST_F(MainFormTest, OptionButtonsFollowCodeAndAssistiveTechnology) {
    auto toggle = [](QWidget* w) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
        ASSERT_TRUE(iface && iface->actionInterface());
        iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    };
    toggle(Find<QCheckBox>("SVerhCheck"));
    EXPECT_FALSE(D().Paper.SVerh);
    Find<QCheckBox>("SVerhCheck")->setChecked(true);
    EXPECT_TRUE(D().Paper.SVerh);
    Find<QRadioButton>("holdheightEd")->setChecked(true);
    EXPECT_FALSE(D().Paper.HoldWidth);
    Find<QRadioButton>("holdheight2Ed")->toggle();
    EXPECT_FALSE(D().Paper.HoldWidth2);
    Find<QRadioButton>("PrintPartBtn")->setChecked(true);
    EXPECT_FALSE(D().Paper.PrintAll);
    EXPECT_TRUE(form->Workspace().Stale());
    // Each change is one undoable step.
    EXPECT_EQ(form->Workspace().History().StateCount(), 6u);
}

// File dialogs open where the design lies, then where that kind of file went
// last; never in the program's working folder.
TEST_F(MainFormTest, FileDialogsOpenWhereTheDesignAndTheirKindWere) {
    ASSERT_TRUE(QDir(dir.path()).mkpath("entwurf") && QDir(dir.path()).mkpath("bilder"));
    const QString design = dir.filePath("entwurf/muster.zbg");
    dialogs.fileNames.push_back(design);
    Click("SaveAsBtn");
    ASSERT_TRUE(QFile::exists(design));
    auto* page = Find<zb::TPrintPage>("PrintPage");
    page->askResolution = [](QWidget*) { return 30; };
    dialogs.fileNames.push_back(dir.filePath("bilder/a.png"));
    Click("ExportBtn");
    FinishJob();
    EXPECT_EQ(dialogs.LastFolder("save"), dir.filePath("entwurf"));
    dialogs.fileNames.push_back(QString()); // cancelled
    Click("ExportBtn");
    FinishJob();
    EXPECT_EQ(dialogs.LastFolder("save"), dir.filePath("bilder"));
    Click("OpenBtn");
    EXPECT_EQ(dialogs.LastFolder("open"), dir.filePath("entwurf"));
    if (zb::NoPrinterInstalled()) {
        Click("PrintBtn");
        FinishJob();
        EXPECT_EQ(dialogs.LastFolder("save"), dir.filePath("entwurf"));
    }
}

// "Ganze Seite" shows the whole page in the preview; the zoom is the shared one.
TEST_F(MainFormTest, WholePageFitsThePreview) {
    form->show();
    Find<QTabWidget>("PageControl2")->setCurrentIndex(2);
    Find<zb::TSpinEdit>("zoomed2")->SetValue(200);
    QCoreApplication::processEvents();
    Click("WholePageBtn");
    QCoreApplication::processEvents();
    const QSize view = Find<QScrollArea>("ScrollBox2")->viewport()->size();
    const QSize page = Find<QWidget>("PaintBox2")->size();
    EXPECT_LE(page.width(), view.width());
    EXPECT_LE(page.height(), view.height());
    EXPECT_LT(form->Workspace().Zoom(), 200);
    EXPECT_EQ(Find<zb::TSpinEdit>("ZoomEd")->Value(), form->Workspace().Zoom());
}

// "Auf mehrere Seiten verteilen": the preview shows the whole design with the
// pages' grid over it, the glue strip changes the grid, and printing gives
// one page per piece.
TEST_F(MainFormTest, PosterSpreadsTheSheetOverPages) {
    zb::TMainForm::Options options = TestOptions();
    options.printer = zb::PrinterPage{{4760, 6779, 600, 600}, 600, false, QStringLiteral("Test")};
    MakeWith(options);
    zb::PaperSettings paper = D().Paper;
    paper.PrintAll = false;
    paper.Breit = 60;
    paper.Hoch = 40;
    form->Workspace().SetPaper(paper, true);
    form->show();
    Find<QTabWidget>("PageControl2")->setCurrentIndex(2);
    auto* page = Find<zb::TPrintPage>("PrintPage");
    auto* poster = Find<QCheckBox>("PosterBox");
    auto* overlap = Find<zb::TSpinEdit>("OverlapEd");
    EXPECT_FALSE(poster->isChecked());
    EXPECT_EQ(Text(overlap), "1,0");
    EXPECT_FALSE(overlap->isEnabled());
    Find<zb::TSpinEdit>("RandXEd")->SetValue(2);
    EXPECT_EQ(page->Layout().design.x, zb::CentimetresToPixels(2, 96, form->Workspace().Zoom()));

    poster->setChecked(true);
    EXPECT_TRUE(overlap->isEnabled());
    EXPECT_FALSE(Find<zb::TSpinEdit>("RandXEd")->isEnabled());
    EXPECT_EQ(Find<QLabel>("PosterInfo")->text(), "8 Seiten (4 x 2)");
    const zb::PreviewLayout l = page->Layout();
    EXPECT_EQ(l.design.x, 0); // margins play no part
    EXPECT_EQ(l.page, (zb::RasterSize{l.design.width, l.design.height}));
    overlap->SetValue(0);
    EXPECT_EQ(Find<QLabel>("PosterInfo")->text(), "6 Seiten (3 x 2)");

    // The second column's outline is drawn over the design.
    const std::vector<zb::PixelRect> outlines = page->PosterPages().PieceOutlines(l.design);
    ASSERT_EQ(outlines.size(), 6u);
    const QImage preview = Find<QWidget>("PaintBox2")->grab().toImage();
    EXPECT_EQ(preview.pixelColor(outlines[1].x, outlines[1].y + outlines[1].height / 2), QColor(0, 0, 255));

    if (zb::NoPrinterInstalled()) {
        paper.Breit = 30;
        paper.Hoch = 20;
        form->Workspace().SetPaper(paper, true);
        overlap->SetValue(1);
        const QString pdf = dir.filePath("plakat.pdf");
        dialogs.fileNames.push_back(pdf);
        Click("PrintBtn");
        FinishJob();
        EXPECT_EQ(dialogs.Count("error"), 0) << dialogs.LastText("error").toStdString();
        QProcess info;
        info.start("pdfinfo", {pdf});
        ASSERT_TRUE(info.waitForFinished(60000));
        EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+2\\n")));
    }
}
