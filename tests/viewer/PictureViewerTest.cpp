// The picture viewer and the picture print dialog, driven through their
// controls on the offscreen platform; printing goes to the A4 PDF stand-in
// and is read back with the poppler tools.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QRegularExpression>
#include <cstdlib>
#include <cstring>

#include "output/OutputTestUtil.h"
#include "output/PicturePrinting.h"
#include "output/PrintSession.h"
#include "viewer/PaintBox.h"
#include "viewer/TPrintForm.h"
#include "viewer/TViewPicForm.h"
#include "workspace/ViewNavigation.h"

using namespace zb;

namespace {

// A 24-bit picture owned by the test; solid colour, or noise (seed 3).
struct Picture {
    DibPicture dib;
    Picture(int w, int h, uint32_t colour) : dib(w, h, 24) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) setpixel(dib.dib(), x, y, colour);
    }
    Picture(int w, int h) : dib(test::NoiseDib(w, h, 3)) {}
    QRgb At(int x, int yFromTop) const {
        const uint32_t c = getpixel(dib, x, DibHeight(dib) - 1 - yFromTop);
        return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
    }
};

template <typename T>
T* Child(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void Mouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void Wheel(QWidget* viewport, QPoint pos, int deltaY, Qt::KeyboardModifiers modifiers) {
    QWheelEvent event(QPointF(pos), viewport->mapToGlobal(QPointF(pos)), QPoint(), QPoint(0, deltaY), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
}

void Key(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(key)));
    QApplication::sendEvent(target, &press);
}

QString AccessibleName(QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); }

} // namespace

TEST(TViewPicForm, ZoomSizesTheSurfaceAndZoomAndScrollSurviveReopening) {
    TViewPicForm viewer;
    EXPECT_EQ(viewer.windowTitle(), "Bild betrachten...");
    auto* zoom = Child<QSpinBox>(viewer, "ZoomEd");
    auto* box = Child<PaintBox>(viewer, "PaintBox1");
    auto* scroll = Child<QScrollArea>(viewer, "ScrollBox1");
    EXPECT_EQ(Child<QPushButton>(viewer, "ReadyBtn")->text(), "Zurück...");
    EXPECT_EQ(Child<QPushButton>(viewer, "PrintBrn")->text(), "&Drucken");
    EXPECT_EQ((std::array{zoom->minimum(), zoom->maximum(), zoom->singleStep(), zoom->value()}),
              (std::array{5, 9000, 10, 100}));
    EXPECT_TRUE(AccessibleName(zoom).startsWith("Zoom")) << AccessibleName(zoom).toStdString();
    EXPECT_EQ(AccessibleName(scroll), "Bild");

    Picture first(640, 480);
    viewer.SetPicture(first.dib);
    viewer.show();
    zoom->setValue(250);
    EXPECT_EQ(box->size(), QSize(1600, 1200));
    scroll->horizontalScrollBar()->setValue(300);
    scroll->verticalScrollBar()->setValue(200);
    viewer.done(QDialog::Accepted);
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_EQ(viewer.Picture().Bits, nullptr);  // nothing of the opener's rows is kept

    Picture second(640, 480, RGBColor(1, 2, 3));
    viewer.SetPicture(second.dib);
    viewer.show();
    EXPECT_EQ(zoom->value(), 250);
    EXPECT_EQ(scroll->horizontalScrollBar()->value(), 300);
    EXPECT_EQ(scroll->verticalScrollBar()->value(), 200);
    EXPECT_EQ(viewer.Picture().Bits, second.dib.dib().Bits);  // shared, not copied

    // 10 pixels at 5 %: trunc(0.5) = 0, nothing to draw or drag.
    Picture narrow(10, 40);
    viewer.SetPicture(narrow.dib);
    zoom->setValue(5);
    EXPECT_EQ(box->size(), QSize(0, 2));
    viewer.done(QDialog::Rejected);
}

// Enter in a field applies it and keeps the dialog open (the default button
// "Zurück..." used to take it); a field holding no number counts as its
// minimum: the zoom as 5, a percentage as 1.
TEST(TViewPicForm, EnterAppliesAFieldAndNoNumberCountsAsTheMinimum) {
    TViewPicForm viewer;
    Picture picture(640, 480);
    viewer.SetPicture(picture.dib);
    viewer.show();
    auto* zoom = Child<QSpinBox>(viewer, "ZoomEd");
    auto* line = zoom->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    auto type = [&](QWidget* field, const QString& text) {
        field->setFocus();
        QLineEdit* edit = field->findChild<QLineEdit*>();
        edit->selectAll();
        edit->insert(text);
        emit edit->textEdited(edit->text());
    };
    type(zoom, QStringLiteral("50"));
    Key(zoom, Qt::Key_Return);
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(Child<PaintBox>(viewer, "PaintBox1")->size(), QSize(320, 240));
    type(zoom, QString());
    EXPECT_EQ(Child<PaintBox>(viewer, "PaintBox1")->size(), QSize(32, 24));  // 5 %
    viewer.done(QDialog::Rejected);

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    SetUpFallbackPrinter(printer, dir.filePath("bild.pdf"));
    TPrintForm form(picture.dib, printer);
    form.show();
    Child<QCheckBox>(form, "SverhCheck")->setChecked(false);
    type(Child<QSpinBox>(form, "BreitEdit"), QString());
    EXPECT_EQ(form.Choice().widthPercent, 1);
    Key(Child<QSpinBox>(form, "BreitEdit"), Qt::Key_Enter);
    EXPECT_TRUE(form.isVisible());
    form.reject();
}

TEST(TViewPicForm, PaintsThePictureAtTheZoomAndLeavesItsRowsAlone) {
    Picture pic(7, 5);
    const std::vector<uint8_t> before(pic.dib.dib().Bits, pic.dib.dib().Bits + pic.dib.dib().BytesPerLine * 5);
    {
        TViewPicForm viewer;
        viewer.SetPicture(pic.dib);
        Child<QSpinBox>(viewer, "ZoomEd")->setValue(300);
        auto* box = Child<PaintBox>(viewer, "PaintBox1");
        ASSERT_EQ(box->size(), QSize(21, 15));
        const QImage shot = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shot.size(), QSize(21, 15));
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 21; ++x) ASSERT_EQ(shot.pixel(x, y), pic.At(x / 3, y / 3)) << x << "," << y;
    }
    EXPECT_EQ(std::memcmp(before.data(), pic.dib.dib().Bits, before.size()), 0);
}

TEST(TViewPicForm, DraggingWithAnyButtonPansWithinTheEnds) {
    TViewPicForm viewer;
    Picture pic(640, 480);
    viewer.SetPicture(pic.dib);
    viewer.show();
    Child<QSpinBox>(viewer, "ZoomEd")->setValue(250);
    auto* box = Child<PaintBox>(viewer, "PaintBox1");
    QScrollBar* h = Child<QScrollArea>(viewer, "ScrollBox1")->horizontalScrollBar();
    QScrollBar* v = Child<QScrollArea>(viewer, "ScrollBox1")->verticalScrollBar();
    ASSERT_GT(h->maximum(), 100);
    h->setValue(100);
    v->setValue(100);

    Mouse(box, QEvent::MouseButtonPress, {400, 300}, Qt::RightButton, Qt::RightButton);
    Mouse(box, QEvent::MouseMove, {350, 280}, Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(h->value(), 150);
    EXPECT_EQ(v->value(), 120);
    Mouse(box, QEvent::MouseMove, {5000, 5000}, Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(h->value(), 0);
    EXPECT_EQ(v->value(), 0);
    Mouse(box, QEvent::MouseMove, {-5000, -5000}, Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(h->value(), h->maximum());
    EXPECT_EQ(v->value(), v->maximum());
    Mouse(box, QEvent::MouseButtonRelease, {-5000, -5000}, Qt::RightButton, Qt::NoButton);
    Mouse(box, QEvent::MouseMove, {5000, 5000}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(h->value(), h->maximum());  // released: no more panning
    viewer.done(QDialog::Accepted);
}

TEST(TViewPicForm, WheelScrollsCtrlWheelAndKeysZoom) {
    TViewPicForm viewer;
    Picture pic(640, 480);
    viewer.SetPicture(pic.dib);
    viewer.show();
    auto* zoom = Child<QSpinBox>(viewer, "ZoomEd");
    auto* scroll = Child<QScrollArea>(viewer, "ScrollBox1");
    QWidget* viewport = scroll->viewport();
    QScrollBar* h = scroll->horizontalScrollBar();
    QScrollBar* v = scroll->verticalScrollBar();
    v->setValue(100);

    Wheel(viewport, {50, 50}, -120, Qt::NoModifier);  // one notch down
    EXPECT_EQ(v->value(), 100 + kWheelStep);
    Wheel(viewport, {50, 50}, 240, Qt::NoModifier);
    EXPECT_EQ(v->value(), 100 - kWheelStep);
    Wheel(viewport, {50, 50}, 60, Qt::NoModifier);  // half a notch: waits for the other half
    EXPECT_EQ(v->value(), 100 - kWheelStep);
    Wheel(viewport, {50, 50}, 60, Qt::NoModifier);
    EXPECT_EQ(v->value(), 100 - 2 * kWheelStep);
    EXPECT_EQ(zoom->value(), 100);

    // Ctrl + wheel: a quarter larger, the picture point under the pointer stays.
    h->setValue(100);
    v->setValue(60);
    Wheel(viewport, {40, 30}, 120, Qt::ControlModifier);
    EXPECT_EQ(zoom->value(), 125);
    EXPECT_EQ(h->value(), 135);  // (100 + 40) * 1.25 - 40
    EXPECT_EQ(v->value(), 83);   // (60 + 30) * 1.25 - 30 = 82.5, rounded
    Wheel(viewport, {40, 30}, -120, Qt::ControlModifier);
    EXPECT_EQ(zoom->value(), 100);

    // Over the zoom field the wheel scrolls the picture too; Ctrl + wheel zooms.
    v->setValue(100);
    Wheel(zoom, {5, 5}, -120, Qt::NoModifier);
    EXPECT_EQ(zoom->value(), 100);
    EXPECT_EQ(v->value(), 100 + kWheelStep);
    Wheel(zoom, {5, 5}, 120, Qt::ControlModifier);
    EXPECT_EQ(zoom->value(), 125);
    Wheel(zoom, {5, 5}, -120, Qt::ControlModifier);
    EXPECT_EQ(zoom->value(), 100);

    Key(scroll, Qt::Key_Plus);
    EXPECT_EQ(zoom->value(), 125);
    Key(scroll, Qt::Key_Minus);
    Key(scroll, Qt::Key_Minus);
    EXPECT_EQ(zoom->value(), 80);
    Key(scroll, Qt::Key_0);
    EXPECT_EQ(zoom->value(), 100);
    viewer.done(QDialog::Accepted);
}

namespace {

// A print dialog on the A4 stand-in page (4760 x 6779 printer pixels).
struct PrintFormFixture {
    QTemporaryDir dir;
    QPrinter printer{QPrinter::HighResolution};
    PrintFormFixture() {
        SetUpFallbackPrinter(printer, dir.filePath("bild.pdf"));
        QSettings(kSettingsOrganisation, kSettingsApplication).remove(QStringLiteral("Bilddruck"));
    }
};

} // namespace

TEST(TPrintForm, StartsWithTheDefaultsAndDerivesTheHeightWhenShown) {
    PrintFormFixture f;
    Picture pic(400, 300);
    TPrintForm form(pic.dib, f.printer);
    EXPECT_EQ(form.windowTitle(), "Bild drucken...");
    EXPECT_TRUE(Child<QRadioButton>(form, "UseFullCheck")->isChecked());
    EXPECT_EQ(Child<QRadioButton>(form, "UserdefCheck")->text(), "Benutzerdefiniert");
    EXPECT_TRUE(Child<QCheckBox>(form, "SverhCheck")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(form, "ZentrCheck")->isChecked());
    EXPECT_EQ(Child<QPushButton>(form, "PrintSetupBtn")->text(), "Drucker &einrichten...");
    auto* breit = Child<QSpinBox>(form, "BreitEdit");
    auto* hoch = Child<QSpinBox>(form, "HochEdit");
    EXPECT_EQ((std::array{breit->minimum(), breit->maximum(), hoch->minimum(), hoch->maximum()}),
              (std::array{1, 100, 1, 100}));
    EXPECT_EQ(breit->value(), 50);
    EXPECT_TRUE(AccessibleName(breit).startsWith("Breite in %")) << AccessibleName(breit).toStdString();
    EXPECT_TRUE(AccessibleName(hoch).startsWith("Höhe in %")) << AccessibleName(hoch).toStdString();
    form.show();
    // trunc(37.5 * 4760 / 6779) = trunc(26.33)
    EXPECT_EQ(hoch->value(), 26);
    EXPECT_EQ(breit->value(), 50);
    form.reject();
}

TEST(TPrintForm, CouplingFollowsTheWidthAndItsGuard) {
    PrintFormFixture f;
    Picture pic(400, 300);
    TPrintForm form(pic.dib, f.printer);
    form.show();
    auto* breit = Child<QSpinBox>(form, "BreitEdit");
    auto* hoch = Child<QSpinBox>(form, "HochEdit");
    auto* aspect = Child<QCheckBox>(form, "SverhCheck");
    auto* preview = Child<PaintBox>(form, "PrintPaintBox");

    // A typed height derives the width and stays as typed while the field is
    // edited; once Enter (or leaving the field) ends the edit, the paint
    // derives the height from that width again: the width leads.
    hoch->setValue(27);
    EXPECT_EQ(breit->value(), 51);  // trunc(36 * 6779 / 4760) = trunc(51.27)
    EXPECT_EQ(hoch->value(), 27);
    preview->grab();
    EXPECT_EQ(hoch->value(), 27);
    Key(hoch, Qt::Key_Enter);
    preview->grab();
    EXPECT_EQ(hoch->value(), 26);  // trunc(38.25 * 4760 / 6779) = trunc(26.86)
    EXPECT_EQ(breit->value(), 51);

    // Without the aspect box the fields are free.
    aspect->setChecked(false);
    breit->setValue(80);
    EXPECT_EQ(hoch->value(), 26);
    // "Benutzerdefiniert" re-derives at once once the box is checked again.
    aspect->setChecked(true);
    Child<QRadioButton>(form, "UserdefCheck")->click();
    EXPECT_EQ(hoch->value(), 42);  // trunc(60 * 4760 / 6779) = trunc(42.13)
    EXPECT_EQ(form.Choice().mode, PrintSizeMode::UserDefined);
    for (const int typed : {3, 35, 9, 90}) {
        hoch->setValue(typed);
        preview->grab();
        QCoreApplication::processEvents();
        EXPECT_EQ(hoch->value(), typed);
    }
    form.reject();

    // A tall picture: the derived height is cut at 100, the width stays.
    Picture tall(100, 1000);
    TPrintForm tallForm(tall.dib, f.printer);
    tallForm.show();
    Child<QSpinBox>(tallForm, "BreitEdit")->setValue(50);
    EXPECT_EQ(Child<QSpinBox>(tallForm, "BreitEdit")->value(), 50);
    EXPECT_EQ(Child<QSpinBox>(tallForm, "HochEdit")->value(), 100);
    tallForm.reject();
}

TEST(TPrintForm, PercentagesPersistAndOptionsStartFresh) {
    PrintFormFixture f;
    Picture pic(400, 300);
    {
        TPrintForm form(pic.dib, f.printer);
        form.show();
        Child<QCheckBox>(form, "SverhCheck")->setChecked(false);
        Child<QCheckBox>(form, "ZentrCheck")->setChecked(false);
        Child<QRadioButton>(form, "UserdefCheck")->click();
        Child<QSpinBox>(form, "BreitEdit")->setValue(40);
        Child<QSpinBox>(form, "HochEdit")->setValue(70);
        form.reject();  // cancelling keeps the percentages too
    }
    const QSettings settings(kSettingsOrganisation, kSettingsApplication);
    EXPECT_EQ(settings.value(kWidthPercentKey).toInt(), 40);
    EXPECT_EQ(settings.value(kHeightPercentKey).toInt(), 70);

    TPrintForm again(pic.dib, f.printer);
    EXPECT_EQ(Child<QSpinBox>(again, "BreitEdit")->value(), 40);
    EXPECT_EQ(Child<QSpinBox>(again, "HochEdit")->value(), 70);
    EXPECT_TRUE(Child<QRadioButton>(again, "UseFullCheck")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(again, "SverhCheck")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(again, "ZentrCheck")->isChecked());
    again.show();
    EXPECT_EQ(Child<QSpinBox>(again, "HochEdit")->value(), 21);  // trunc(30 * 4760 / 6779)
    again.reject();
}

TEST(TPrintForm, PreviewShowsThePageAndThePicture) {
    PrintFormFixture f;
    Picture pic(400, 300, RGBColor(200, 0, 0));
    TPrintForm form(pic.dib, f.printer);
    form.show();
    const QImage shot = Child<PaintBox>(form, "PrintPaintBox")->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), QSize(190, 190));
    // Page picture 133 x 190 at x0 = 28; the picture 133 x 99 at (28, 45).
    auto isRed = [&](int x, int y) { return shot.pixel(x, y) == qRgb(200, 0, 0); };
    auto isWhite = [&](int x, int y) { return shot.pixel(x, y) == qRgb(255, 255, 255); };
    EXPECT_TRUE(isWhite(28, 0));
    EXPECT_TRUE(isWhite(160, 189));
    EXPECT_FALSE(isWhite(27, 100));
    EXPECT_FALSE(isWhite(161, 100));
    EXPECT_TRUE(isWhite(28, 44));
    EXPECT_TRUE(isRed(28, 45));
    EXPECT_TRUE(isRed(160, 143));
    EXPECT_TRUE(isWhite(100, 144));
    form.reject();
}

namespace {

// Bounding box of the pixels of one colour (give or take) in a picture.
QRect BoxOf(const QImage& image, QRgb colour) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (std::abs(qRed(p) - qRed(colour)) < 40 && std::abs(qGreen(p) - qGreen(colour)) < 40 &&
                std::abs(qBlue(p) - qBlue(colour)) < 40)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

} // namespace

TEST(TViewPicForm, PrintsOnePageAtTheComputedRectangle) {
    if (!NoPrinterInstalled()) GTEST_SKIP() << "a printer is installed here: it would print";
    PrintFormFixture f;
    const QString pdf = f.dir.filePath("bild.pdf");
    TViewPicForm viewer(nullptr, &f.printer);
    Picture pic(400, 300, RGBColor(220, 20, 20));
    viewer.SetPicture(pic.dib);
    int asked = 0;
    viewer.AskPdfFileName = [&] {
        ++asked;
        return pdf;
    };
    QString error;
    viewer.ShowError = [&](const QString& message) { error = message; };

    // Cancelled: nothing printed.
    viewer.ExecPrintForm = [](TPrintForm&) { return int(QDialog::Rejected); };
    Child<QPushButton>(viewer, "PrintBrn")->click();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(asked, 0);

    // "Benutzerdefiniert", 50 % wide, the height derived, centred.
    viewer.ExecPrintForm = [](TPrintForm& form) {
        form.show();
        form.findChild<QRadioButton*>("UserdefCheck")->click();
        form.findChild<QSpinBox*>("BreitEdit")->setValue(50);
        return int(QDialog::Accepted);
    };
    Child<QPushButton>(viewer, "PrintBrn")->click();
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(asked, 1);  // no printer: the PDF file is asked for
    ASSERT_TRUE(QFile::exists(pdf));

    const QString info = test::RunTool("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Title:\\s+Bildmappe Bild\\n"))) << info.toStdString();
    EXPECT_EQ(test::PdfImageEncodings(pdf), QStringList{"image"});

    // On the printable page (4760 x 6779): W = round(4760 * 0.5) = 2380,
    // H = round(6779 * 0.26) = 1763, X = 1190, Y = 2508. The printable area
    // starts 12 pt from the left and 14 pt from the top of the sheet.
    ASSERT_EQ(QProcess::execute("pdftoppm", {"-r", "60", "-png", "-singlefile", pdf, f.dir.filePath("seite")}), 0);
    const QImage page(f.dir.filePath("seite.png"));
    ASSERT_FALSE(page.isNull());
    const QRect box = BoxOf(page.convertToFormat(QImage::Format_RGB32), qRgb(220, 20, 20));
    const double left = 12.0 / 72 * 60, top = 14.0 / 72 * 60;
    EXPECT_NEAR(box.left(), left + 1190 / 10.0, 1.5);
    EXPECT_NEAR(box.top(), top + 2508 / 10.0, 1.5);
    EXPECT_NEAR(box.width(), 238, 1.5);
    EXPECT_NEAR(box.height(), 176.3, 1.5);
}

TEST(TViewPicForm, WithoutAPrinterThePictureGoesToAChosenPdf) {
    if (!NoPrinterInstalled()) GTEST_SKIP() << "a printer is installed here";
    QTemporaryDir dir;
    TViewPicForm viewer;
    Picture pic(40, 30);
    viewer.SetPicture(pic.dib);
    viewer.ExecPrintForm = [](TPrintForm&) { return int(QDialog::Accepted); };
    QString error;
    viewer.ShowError = [&](const QString& message) { error = message; };
    int asked = 0;
    viewer.AskPdfFileName = [&] {
        ++asked;
        return QString();  // cancelled
    };
    Child<QPushButton>(viewer, "PrintBrn")->click();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(error.isEmpty());

    viewer.AskPdfFileName = [&] {
        ++asked;
        return dir.filePath("ersatz.pdf");
    };
    Child<QPushButton>(viewer, "PrintBrn")->click();
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("ersatz.pdf")));
}
