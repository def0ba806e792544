// Widget-free rules of the main window: editor fields, storing the editor,
// title, view navigation, texture strip, sheet seed.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <QStandardPaths>

#include <QDir>

#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "app/Cp1252Validator.h"
#include "app/DialogFolders.h"
#include "app/DrawFailureNotice.h"
#include "workspace/SheetSeed.h"
#include "app/TextureStrip.h"
#include "app/WindowPlacement.h"
#include "app/WindowTitle.h"
#include "base/DibCopy.h"
#include "output/PrinterPage.h"
#include "workspace/DesignWorkspace.h"
#include "workspace/EditorFields.h"

using namespace zb;

namespace {

struct Picture {
    DibPicture dib;
    Picture(int w, int h, uint32_t marker) : dib(w, h, 24) {
        setpixel(dib.dib(), 1, 1, marker);
    }
};

} // namespace

TEST(EditorFields, WholeNumberFieldsAreTruncated) {
    const struct {
        double field;
        int32_t stored;
    } cases[] = {{1.9, 1},  {12.99, 12}, {100000, 100000}, {144, 144},      {-0.5, 0},
                 {0.7, 0},  {1e12, INT32_MAX}, {-1e12, INT32_MIN}, {std::nan(""), 0}};
    for (const auto& c : cases) EXPECT_EQ(WholeNumber(c.field), c.stored) << c.field;
}

TEST(EditorFields, TransparencyIsTheSliderLessFive) {
    const struct {
        int slider;
        int32_t stored;
    } cases[] = {{0, -5}, {5, 0}, {8, 3}, {10, 5}};
    for (const auto& c : cases) {
        EXPECT_EQ(TransparencyOfSlider(c.slider), c.stored) << c.slider;
        EXPECT_EQ(SliderOfTransparency(c.stored), c.slider) << c.stored;
    }
}

TEST(EditorFields, TextsAreStoredAsWindows1252) {
    const struct {
        const char* shown;
        const char* stored;
    } cases[] = {{"Grüße €", "Gr\xFC\xDF\x65 \x80"}, {"Test", "Test"}, {"", ""}};
    for (const auto& c : cases) {
        std::string field;
        StoreShownText(field, c.shown);
        EXPECT_EQ(field, c.stored) << c.shown;
        EXPECT_EQ(ShownText(field), c.shown);
    }
    EXPECT_EQ(ShownText(std::string()), "");
}

TEST(DesignWorkspace, StoringTheEditorTellsAKindChangeAndCopiesADifferentPictureOnce) {
    DesignWorkspace workspace(1, PrinterFacts{kFallbackPrintablePage, true}, nullptr);
    ASSERT_EQ(workspace.Start(), "");
    unsigned told = 0;
    workspace.SetListener([&](unsigned changes) { told = changes; });
    Picture opened(4, 3, RGBColor(200, 100, 50));
    workspace.TakePicture(std::move(opened.dib));
    auto toText = [](TLayerRecord& layer) {
        layer.Kind = kKindText;
        layer.PatternCount = 250;
    };

    const ReadBackResult r = workspace.StoreEditor(toText);
    EXPECT_TRUE(r.kindChanged);
    EXPECT_EQ(r.message, "");
    EXPECT_TRUE(told & kChangeLayers);
    const TLayerRecord& l = workspace.EditorLayer();
    EXPECT_EQ(l.Kind, kKindText);
    EXPECT_EQ(l.PatternCount, 250);
    // The picture is a copy with its own storage.
    ASSERT_NE(l.LayerPicture.dib().Bits, workspace.EditPicture().Bits);
    EXPECT_EQ(DibWidth(l.LayerPicture), 4);
    EXPECT_EQ(getpixel(l.LayerPicture, 1, 1), RGBColor(200, 100, 50));

    // The same kind again is no kind change, and the layer keeps its copy.
    const uint8_t* bits = l.LayerPicture.dib().Bits;
    EXPECT_FALSE(workspace.StoreEditor(toText).kindChanged);
    EXPECT_FALSE(told & kChangeLayers);
    EXPECT_TRUE(told & kChangeStale);
    EXPECT_EQ(l.LayerPicture.dib().Bits, bits);
}

TEST(WindowTitle, ShowsTheFilePartOrUnbenannt) {
    const struct {
        const char* name;
        const char* title;
    } cases[] = {
        {"", "VELKAN Zierbogen-Drucker 1.0 - [Unbenannt.zbg]"},
        {"/tmp/a/blau.zbg", "VELKAN Zierbogen-Drucker 1.0 - [blau.zbg]"},
        {"/home/anna/Bögen/grün.zbg", "VELKAN Zierbogen-Drucker 1.0 - [grün.zbg]"},
        {"ohne-ordner.zbg", "VELKAN Zierbogen-Drucker 1.0 - [ohne-ordner.zbg]"},
    };
    for (const auto& c : cases) EXPECT_EQ(WindowTitle(QString::fromUtf8(c.name)), QString::fromUtf8(c.title));
}

TEST(TextureStrip, GeometryAndHitTest) {
    EXPECT_EQ(TextureStripWidth(0), 0);
    EXPECT_EQ(TextureStripWidth(5), 165);
    EXPECT_EQ(ThumbnailRect(2, 48), QRect(66, 0, 32, 48));
    EXPECT_EQ(ThumbnailFrame(2, 48), QRect(66, 0, 33, 48));
    const struct {
        int x, count, expected;
    } cases[] = {{0, 5, 0}, {32, 5, 0}, {33, 5, 1}, {164, 5, 4}, {400, 5, 4}, {10, 0, -1}, {-3, 5, 0}};
    for (const auto& c : cases) EXPECT_EQ(TextureAt(c.x, c.count), c.expected) << c.x;
}

TEST(SheetSeed, HeldSheetsStartFromTheShownSheetUntilRerolled) {
    RandomInt random(1000);
    SheetSeed seed;
    // Not held: an edit, a zoom or a new size keeps the sheet, another design draws on.
    seed.BeforeCompose(random);
    EXPECT_EQ(random.seed(), 1000u);
    seed.AfterCompose(1000);
    random(10);
    seed.BeforeCompose(random);
    EXPECT_EQ(random.seed(), 1000u);
    random(10);
    seed.Renew();
    seed.BeforeCompose(random);
    EXPECT_NE(random.seed(), 1000u);
    const uint32_t second = random.seed();
    seed.AfterCompose(second);
    random(10);

    seed.SetHold(true);
    seed.Renew();
    seed.BeforeCompose(random);
    EXPECT_EQ(random.seed(), second);
    random(10);
    seed.BeforeCompose(random);
    EXPECT_EQ(random.seed(), second);
    EXPECT_EQ(seed.Number(), second);

    // "Neu würfeln": one composition draws on, then that sheet is held.
    random(10);
    const uint32_t drawnOn = random.seed();
    seed.Reroll();
    seed.BeforeCompose(random);
    EXPECT_EQ(random.seed(), drawnOn);
    seed.AfterCompose(drawnOn);
    random(10);
    seed.BeforeCompose(random);
    EXPECT_EQ(random.seed(), drawnOn);
}

TEST(WindowPlacement, CentredAndNeverLargerThanTheScreen) {
    const struct {
        QSize wanted;
        QRect available, expected;
    } cases[] = {
        {{622, 475}, {0, 0, 1920, 1040}, {649, 282, 622, 475}},
        {{823, 475}, {1920, 0, 1280, 984}, {2148, 254, 823, 475}}, // the second screen
        {{823, 900}, {0, 0, 800, 600}, {0, 0, 800, 600}},
        {{823, 475}, {0, 30, 640, 450}, {0, 30, 640, 450}},
    };
    for (const auto& c : cases) EXPECT_EQ(PlaceWindow(c.wanted, c.available), c.expected) << c.available.x();
}

// The whole frame, title bar included, lies inside the screen's free area:
// at the first start and for a saved place that no longer fits.
TEST(WindowPlacement, TheWholeFrameLiesOnTheScreen) {
    // 1366 x 768 with a panel of 27 at the bottom; 1920 x 1080 at 150 % is
    // 1280 x 720 logical pixels, with a panel of 32 at the top.
    const QRect small(0, 0, 1366, 741), scaled(0, 32, 1280, 688);
    const QMargins frame(1, 30, 1, 1), scaledFrame(1, 24, 1, 1);
    const struct {
        const char* what;
        QRect saved;
        QMargins frame;
        QRect available, expected;
    } cases[] = {
        {"first start, small", {}, frame, small, {133, 30, 1100, 710}},
        {"saved below the screen's end", {100, 20, 1100, 760}, frame, small, {100, 30, 1100, 710}},
        {"saved on a screen to the right", {2000, 100, 800, 600}, frame, small, {565, 100, 800, 600}},
        {"saved and fitting", {50, 60, 800, 500}, frame, small, {50, 60, 800, 500}},
        {"first start, scaled", {}, scaledFrame, scaled, {90, 56, 1100, 663}},
        {"saved on a larger screen, scaled", {200, 100, 1600, 1000}, scaledFrame, scaled, {1, 56, 1278, 663}},
        {"unframed", {-5, -5, 2000, 900}, {}, scaled, {0, 32, 1280, 688}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QRect placed = FitWindow(c.saved, c.frame, c.available);
        EXPECT_EQ(placed, c.expected);
        EXPECT_TRUE(c.available.contains(placed.marginsAdded(c.frame)));
    }
}

TEST(Cp1252Validator, RefusesWhatADesignFileCannotStore) {
    Cp1252Validator validator;
    const struct {
        const char* text;
        QValidator::State state;
    } cases[] = {{"Alles Gute", QValidator::Acceptable}, {"Grüße zum 3. – €", QValidator::Acceptable},
                 {"", QValidator::Acceptable},           {"Łódź", QValidator::Invalid},
                 {"雪", QValidator::Invalid}};
    for (const auto& c : cases) {
        QString text = QString::fromUtf8(c.text);
        int pos = 0;
        EXPECT_EQ(validator.validate(text, pos), c.state) << c.text;
    }
}

// A file dialog opens in the folder last used for its kind of file, else in
// the design's folder, else in the documents (or home) folder.
TEST(DialogFolders, LastOfItsKindThenTheDesignsFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("a") && QDir(dir.path()).mkpath("b"));
    zb::DialogFolders folders;
    const QString design = dir.filePath("a/x.zbg");
    const QString fallback = folders.For(zb::FileKind::Export, QString());
    EXPECT_TRUE(fallback == QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) ||
                fallback == QDir::homePath())
        << fallback.toStdString();
    EXPECT_EQ(folders.For(zb::FileKind::Export, design), dir.filePath("a"));
    folders.Remember(zb::FileKind::Export, dir.filePath("b/y.png"));
    EXPECT_EQ(folders.For(zb::FileKind::Export, design), dir.filePath("b"));
    EXPECT_EQ(folders.For(zb::FileKind::Pdf, design), dir.filePath("a"));
    folders.Remember(zb::FileKind::Pdf, QString()); // a cancelled dialog changes nothing
    EXPECT_EQ(folders.For(zb::FileKind::Pdf, design), dir.filePath("a"));
    // A folder that is gone is not offered.
    ASSERT_TRUE(QDir(dir.filePath("b")).removeRecursively());
    EXPECT_EQ(folders.For(zb::FileKind::Export, design), dir.filePath("a"));
}

// A drawing failure is said once, not on every paint; after a good draw the
// same failure is said again.
TEST(DrawFailureNotice, EachFailureOnce) {
    QStringList shown;
    zb::DrawFailureNotice notice([&](const QString& m) { shown << m; });
    for (const char* failure : {"", "A", "A", "A", "", "", "A", "B", "B", "A"}) notice.After(failure);
    EXPECT_EQ(shown, (QStringList{"A", "A", "B", "A"}));
}
