// Widget-free rules of the main window: field mapping, title, view navigation,
// texture strip, sheet seed.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <QStandardPaths>

#include <QDir>

#include <cstring>

#include "app/Cp1252Validator.h"
#include "app/DialogFolders.h"
#include "workspace/EditorValues.h"
#include "workspace/SheetSeed.h"
#include "app/TextureStrip.h"
#include "app/WindowPlacement.h"
#include "app/WindowTitle.h"
#include "base/DibCopy.h"
#include "model/LayerStack.h"

using namespace zb;

namespace {

struct Picture {
    TDibRecord dib{};
    Picture(int w, int h, uint32_t marker) {
        newdib(dib, w, h, 24, nullptr, 0);
        setpixel(dib, 1, 1, marker);
    }
    ~Picture() { deldib(dib); }
};

EditorValues EveryFieldSet() {
    EditorValues v;
    v.page = kKindText;
    v.trackBar1 = 8;
    v.trackBar2 = 3;
    v.anzMEd = 250;
    v.mSizeEd = 12.5;
    v.picBreitEd = 60.25;
    v.fSizeEd = 36;
    v.fillCol1 = RGBColor(1, 2, 3);
    v.fillCol2 = RGBColor(4, 5, 6);
    v.musterCol = RGBColor(7, 8, 9);
    v.fColor = RGBColor(10, 11, 12);
    v.fillDirection = 3;
    v.mTypBox = 5;
    v.mColBox = 2;
    v.mSizeBox = 1;
    v.mPosBox = 1;
    v.filterBox = 13;
    v.fColBox = 1;
    v.fSizeKBox = 1;
    v.fPosBox = 1;
    v.fKindBox = 1;
    v.textEd = "Grüße €";
    v.fontBox = "DejaVu Sans";
    return v;
}

} // namespace

TEST(EditorValues, EveryControlReachesItsFieldAndComesBack) {
    Design d;
    TDibRecord* none = nullptr;
    TDynaArray<TDibRecord> empty{&none};
    ASSERT_EQ(NewPlane(d, empty), "");
    Picture edit(4, 3, RGBColor(200, 100, 50));
    const EditorValues v = EveryFieldSet();

    TLayerRecord& l = *d.CurrentLayer;
    const ReadBackResult r = ReadBackOptions(v, l, edit.dib, true);
    EXPECT_TRUE(r.kindChanged);
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(l.Kind, kKindText);
    EXPECT_EQ(l.Transparency, 3);
    EXPECT_EQ(l.TextCount, 3);
    EXPECT_EQ(l.PatternCount, 250);
    EXPECT_EQ(l.PatternSizeMM, 12.5);
    EXPECT_EQ(l.PictureWidthMM, 60.25);
    EXPECT_EQ(l.TextSize, 36);
    EXPECT_EQ(l.GradientColor2, RGBColor(4, 5, 6));
    EXPECT_EQ(l.FilterIndex, 13);
    // Texts are stored as Windows-1252: ü is 0xFC, € is 0x80.
    EXPECT_EQ(LayerString(l.LayerText), "Gr\xFC\xDF\x65 \x80");
    // The picture is a copy with its own storage.
    ASSERT_NE(l.LayerPicture.Bits, edit.dib.Bits);
    EXPECT_EQ(DibWidth(l.LayerPicture), 4);
    EXPECT_EQ(getpixel(l.LayerPicture, 1, 1), RGBColor(200, 100, 50));

    EXPECT_EQ(EditorValuesOf(l), v);

    // The same kind again is no kind change; without copyPicture the picture stays.
    const uint8_t* bits = l.LayerPicture.Bits;
    EXPECT_FALSE(ReadBackOptions(v, l, edit.dib, false).kindChanged);
    EXPECT_EQ(l.LayerPicture.Bits, bits);
}

TEST(EditorValues, WholeNumberFieldsAreTruncated) {
    struct Case {
        double anz, fsize;
        int32_t count, size;
    };
    const Case cases[] = {{1.9, 12.99, 1, 12}, {100000, 144, 100000, 144}, {-0.5, 0.7, 0, 0}, {1e12, 1, INT32_MAX, 1}};
    Picture edit(2, 2, 0);
    for (const Case& c : cases) {
        Design d;
        TDibRecord* none = nullptr;
        TDynaArray<TDibRecord> empty{&none};
        NewPlane(d, empty);
        EditorValues v;
        v.anzMEd = c.anz;
        v.fSizeEd = c.fsize;
        ReadBackOptions(v, *d.CurrentLayer, edit.dib, false);
        EXPECT_EQ(d.CurrentLayer->PatternCount, c.count) << c.anz;
        EXPECT_EQ(d.CurrentLayer->TextSize, c.size) << c.fsize;
    }
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
    // Not held: each composition draws on.
    seed.BeforeCompose(random);
    EXPECT_EQ(random.seed(), 1000u);
    seed.AfterCompose(1000);
    random(10);
    seed.BeforeCompose(random);
    EXPECT_NE(random.seed(), 1000u);
    const uint32_t second = random.seed();
    seed.AfterCompose(second);
    random(10);

    seed.SetHold(true);
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
