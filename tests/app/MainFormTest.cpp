// The main window driven through its controls on the offscreen platform.
#include "MainFormFixture.h"
#include "app/RecentFiles.h"
#include "app/WindowMemory.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <QMenu>
#include <QProcess>
#include <csignal>
#include <cstring>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "LayerSettings.h"
#include "viewer/PaintBox.h"
#include "app/TSpinEdit.h"
#include "workspace/ViewArea.h"
#include "app/TextureEditor.h"
#include "document/DesignFile.h"
#include "model/Cp1252.h"
#include "render/DesignSize.h"
#include "viewer/PaintBox.h"

using namespace zb;
using zbtest::MainFormTest;

namespace {

// Gives the selected layer a recognisable pattern count through its field.
void Tag(MainFormTest*, TSpinEdit* anz, int value) { anz->SetValue(value); }

} // namespace

TEST_F(MainFormTest, StartsWithOneTextureLayerComposed) {
    EXPECT_EQ(D().Layers.size(), 1u);
    EXPECT_EQ(D().Layers[0].Kind, kKindTexture);
    EXPECT_EQ(Rows(), QStringList{"Grafik"});
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(Find<QTabWidget>("PageControl2")->currentIndex(), 0);
    EXPECT_EQ(Find<QTabWidget>("PageControl2")->tabText(1), QString::fromUtf8("Papierformat wählen"));
    EXPECT_EQ(Find<QTabWidget>("PageControl1")->currentIndex(), 2);
    EXPECT_EQ(Title(), QStringLiteral("VELKAN Zierbogen-Drucker 1.0 - [Unbenannt.zbg]"));
    EXPECT_EQ(Find<TSpinEdit>("ZoomEd")->Value(), 30);
    EXPECT_EQ(Find<QSlider>("TrackBar1")->value(), 5);
    EXPECT_EQ(Find<QComboBox>("FilterBox")->count(), 14);
    EXPECT_FALSE(Find<QToolButton>("UndoBtn")->isEnabled());

    // The design view has the size of the whole A4 page at 30 % and shows a composition.
    const RasterSize want = DesignRasterSize(D().Paper, kFallbackPrintablePage, form->ScreenPpi(), 30);
    EXPECT_EQ(Find<PaintBox>("PaintBox1")->size(), QSize(want.width, want.height));
    EXPECT_FALSE(form->Workspace().Stale());
    EXPECT_EQ(form->Workspace().CompositionCount(), 1);
    EXPECT_FALSE(form->statusBar()->findChild<QLabel*>("SheetLabel")->text().isEmpty());

    // The first layer carries texture 0, and the strip shows every texture.
    ASSERT_GT(form->Workspace().Textures().size(), 0u);
    const TDibRecord& picture = D().Layers[0].LayerPicture;
    EXPECT_EQ(DibWidth(picture), DibWidth(form->Workspace().Textures()[0]));
    EXPECT_EQ(Find<PaintBox>("PaintBox3")->width(), int(form->Workspace().Textures().size()) * 33);
    EXPECT_EQ(Find<PaintBox>("PaintBox4")->width(), DibWidth(picture));
}

// A 1366 x 768 screen less a panel of 27 pixels, and a title bar of 30: the
// window that opens there the first time shows 400 pixels of the sheet.
TEST_F(MainFormTest, TheFirstStartShowsATallDesignViewOnASmallScreen) {
    const QRect available(0, 0, 1366, 768 - 27);
    form->resize(zb::FirstStartSize(available.adjusted(0, 0, 0, -30)).expandedTo(form->minimumSizeHint()));
    Show();
    EXPECT_LE(form->frameGeometry().height(), available.height());
    EXPECT_GE(Find<QScrollArea>("ScrollBox1")->viewport()->height(), 400);
}

TEST_F(MainFormTest, LayerListDeletesAndMovesAsTheListShows) {
    auto* anz = Find<TSpinEdit>("AnzMEd");
    Tag(this, anz, 1);
    Click("NewPlaneBtn");
    Tag(this, anz, 2);
    Click("NewPlaneBtn");
    Tag(this, anz, 3);
    ASSERT_EQ(D().Layers.size(), 3u);
    EXPECT_EQ(SelectedRow(), 2);
    EXPECT_EQ(Find<QTabWidget>("PageControl1")->currentIndex(), 2);

    // Delete the top row of three: the new top row is selected.
    Click("DelPlaneBtn");
    EXPECT_EQ(D().Layers.size(), 2u);
    EXPECT_EQ(D().Layers.SelectedIndex(), 1);
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_EQ(anz->Value(), 2);

    // Delete row 0: the former row 1 becomes row 0 and the editor shows it.
    Click("NewPlaneBtn");
    Tag(this, anz, 4);
    SelectRow(0);
    EXPECT_EQ(anz->Value(), 1);
    Click("DelPlaneBtn");
    EXPECT_EQ(D().Layers.SelectedIndex(), 0);
    EXPECT_EQ(D().Layers[0].PatternCount, 2);
    EXPECT_EQ(anz->Value(), 2);

    // Moving the top row down or row 0 up changes no record but recomposes.
    const int before = form->Workspace().CompositionCount();
    Click("MoveUpBtn");
    EXPECT_EQ(D().Layers[0].PatternCount, 2);
    EXPECT_EQ(form->Workspace().CompositionCount(), before + 1);
    SelectRow(1);
    Click("MoveDownBtn");
    EXPECT_EQ(D().Layers[1].PatternCount, 4);
    // A real move: the selection follows the layer.
    Click("MoveUpBtn");
    EXPECT_EQ(D().Layers[0].PatternCount, 4);
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(dialogs.Count("error"), 0);

    // No selection comes before the last-layer rule; then the last layer stays.
    List()->clearSelection();
    Click("DelPlaneBtn");
    EXPECT_EQ(dialogs.LastText("error"), QString::fromUtf8("Keine Ebene ausgewählt!"));
    Click("MoveUpBtn");
    EXPECT_EQ(dialogs.Count("error"), 2);
    SelectRow(0);
    Click("DelPlaneBtn");
    Click("DelPlaneBtn");
    EXPECT_EQ(D().Layers.size(), 1u);
    EXPECT_EQ(dialogs.LastText("error"), QString::fromUtf8("Die letzte Ebene kann nicht gelöscht werden!"));
    List()->clearSelection();
    Click("DelPlaneBtn");
    EXPECT_EQ(dialogs.LastText("error"), QString::fromUtf8("Keine Ebene ausgewählt!"));
}

TEST_F(MainFormTest, LoadingALayerWritesNothingBackAndSwitchingPagesChangesTheKind) {
    auto* anz = Find<TSpinEdit>("AnzMEd");
    Tag(this, anz, 7);
    WaitForTimer();
    Click("NewPlaneBtn");
    Tag(this, anz, 9);
    WaitForTimer();
    const size_t steps = form->Workspace().History().StateCount();
    auto* timer = form->findChild<QTimer*>("Timer1");

    SelectRow(0);
    EXPECT_EQ(anz->Value(), 7);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(D().Layers[1].PatternCount, 9);
    SelectRow(1);
    EXPECT_EQ(D().Layers[0].PatternCount, 7);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(form->Workspace().History().StateCount(), steps);

    auto* pages = Find<QTabWidget>("PageControl1");
    pages->setCurrentIndex(0);
    EXPECT_EQ(D().Layers[1].Kind, kKindGradient);
    EXPECT_EQ(Rows(), (QStringList{"Grafik", "Farbverlauf"}));
    pages->setCurrentIndex(4);
    EXPECT_EQ(Rows(), (QStringList{"Grafik", "Text"}));
    EXPECT_TRUE(timer->isActive());
}

TEST_F(MainFormTest, AZoomTypedAsZeroComposesNothing) {
    auto* zoom = Find<TSpinEdit>("ZoomEd");
    const int before = form->Workspace().CompositionCount();
    zoom->SetText(QStringLiteral("0"));
    EXPECT_EQ(Find<PaintBox>("PaintBox1")->size(), QSize(0, 0));
    EXPECT_EQ(form->Workspace().CompositionCount(), before);
    EXPECT_EQ(dialogs.Count("error"), 0);
    zoom->SetText(QStringLiteral("3"));
    EXPECT_EQ(form->Workspace().CompositionCount(), before + 1);
    EXPECT_GT(Find<PaintBox>("PaintBox1")->width(), 0);
}

// A zoom typed far beyond the field's range is shown all the same: the view
// composes only the part in sight, of the same sheet, and nothing is refused.
TEST_F(MainFormTest, AHugeZoomComposesOnlyThePartInSight) {
    auto* zoom = Find<TSpinEdit>("ZoomEd");
    const zb::DesignWorkspace& w = form->Workspace();
    const int before = w.CompositionCount();
    const uint32_t sheet = w.Seed().Number();
    zoom->SetText(QStringLiteral("9000"));
    EXPECT_EQ(dialogs.Count("error"), 0) << dialogs.LastText("error").toStdString();
    EXPECT_EQ(w.CompositionCount(), before + 1);
    EXPECT_EQ(w.Seed().Number(), sheet);
    const zb::RasterSize full = w.ShownSheetSize();
    EXPECT_EQ(Find<PaintBox>("PaintBox1")->size(), QSize(full.width, full.height));
    const zb::PixelRect area = w.ShownArea();
    auto* box = Find<QScrollArea>("ScrollBox1");
    EXPECT_LE(area.width, box->viewport()->width() + 2 * zb::kViewAreaMargin);
    EXPECT_LE(area.height, box->viewport()->height() + 2 * zb::kViewAreaMargin);
}

TEST_F(MainFormTest, TheTimerGathersABurstOfEditsIntoOneComposition) {
    const int before = form->Workspace().CompositionCount();
    auto* size = Find<TSpinEdit>("PicBreitEd");
    for (int v = 40; v < 46; ++v) size->SetValue(v);
    Find<QSlider>("TrackBar1")->setValue(2);
    EXPECT_TRUE(form->Workspace().Stale());
    EXPECT_EQ(form->Workspace().CompositionCount(), before);
    EXPECT_TRUE(Find<QToolButton>("UndoBtn")->isEnabled());
    WaitForTimer();
    EXPECT_EQ(form->Workspace().CompositionCount(), before + 1);
    EXPECT_FALSE(form->Workspace().Stale());
    EXPECT_EQ(D().Layers[0].PictureWidthMM, 45);
    EXPECT_EQ(D().Layers[0].Transparency, -3);
    // The burst is one undo step.
    EXPECT_EQ(form->Workspace().History().StateCount(), 2u);
    Click("UndoBtn");
    EXPECT_EQ(D().Layers[0].PictureWidthMM, 75);
    EXPECT_EQ(Find<TSpinEdit>("PicBreitEd")->Value(), 75);
}

TEST_F(MainFormTest, UndoAndRedoCoverEveryKindOfChange) {
    auto* anz = Find<TSpinEdit>("AnzMEd");
    auto* pages = Find<QTabWidget>("PageControl1");
    ASSERT_GE(form->Workspace().Textures().size(), 2u);
    // picture: mark texture 1 and double-click it
    auto* texturePage = Find<TextureEditor>("TexturSheet");
    texturePage->PaintBox3MouseDown(40);
    texturePage->PaintBox3DblClick();
    WaitForTimer();
    const int w1 = DibWidth(form->Workspace().Textures()[1]);
    EXPECT_EQ(DibWidth(D().Layers[0].LayerPicture), w1);
    pages->setCurrentIndex(1); // kind
    WaitForTimer();
    Click("NewPlaneBtn"); // new
    Tag(this, anz, 33);   // edit
    Click("MoveUpBtn");   // move (commits the pending edit first)
    ASSERT_EQ(D().Layers[0].PatternCount, 33);
    SelectRow(1);
    Click("DelPlaneBtn"); // delete
    ASSERT_EQ(D().Layers.size(), 1u);

    auto undo = [&] { Click("UndoBtn"); };
    undo(); // delete
    EXPECT_EQ(D().Layers.size(), 2u);
    EXPECT_EQ(Rows(), (QStringList{"Grafik", "Muster"}));
    undo(); // move
    EXPECT_EQ(D().Layers[1].PatternCount, 33);
    undo(); // edit
    EXPECT_EQ(D().Layers[1].PatternCount, 100);
    undo(); // new
    EXPECT_EQ(D().Layers.size(), 1u);
    EXPECT_EQ(anz->Value(), 100);
    undo(); // kind
    EXPECT_EQ(D().Layers[0].Kind, kKindTexture);
    EXPECT_EQ(pages->currentIndex(), 2);
    undo(); // picture
    EXPECT_EQ(DibWidth(D().Layers[0].LayerPicture), DibWidth(form->Workspace().Textures()[0]));
    EXPECT_EQ(DibWidth(form->Workspace().EditPicture()), DibWidth(form->Workspace().Textures()[0]));
    EXPECT_FALSE(Find<QToolButton>("UndoBtn")->isEnabled());

    for (int i = 0; i < 5; ++i) Click("RedoBtn");
    EXPECT_EQ(D().Layers.size(), 2u);
    EXPECT_EQ(D().Layers[1].Kind, kKindPattern);
    EXPECT_EQ(DibWidth(D().Layers[1].LayerPicture), w1);
    Click("RedoBtn");
    EXPECT_EQ(D().Layers.size(), 1u);
    EXPECT_EQ(D().Layers[0].PatternCount, 33);
    EXPECT_FALSE(Find<QToolButton>("RedoBtn")->isEnabled());
}

TEST_F(MainFormTest, FileCommandsAskSaveOpenAndTitleTheWindow) {
    const QString blau = dir.filePath("blau");
    // "Speichern" on an unnamed design asks for a name.
    dialogs.fileNames = {blau};
    Click("SaveBtn");
    ASSERT_TRUE(QFile::exists(blau + ".zbg"));
    EXPECT_EQ(dialogs.LastText("save"), QStringLiteral("Zierbogen-Drucker-Dateien (*.zbg);;Alle Dateien (*.*)"));
    EXPECT_TRUE(Title().endsWith("[blau.zbg]"));
    // Now it writes without a dialog.
    Click("NewPlaneBtn");
    Click("SaveBtn");
    EXPECT_EQ(dialogs.Count("save"), 1);

    // "Neu": Cancel changes nothing; OK keeps the bottom layer and drops the name.
    Find<TSpinEdit>("ZoomEd")->SetValue(40);
    dialogs.confirms = {false};
    Click("NewMenuBtn");
    EXPECT_EQ(D().Layers.size(), 2u);
    EXPECT_EQ(dialogs.LastCaption("confirm"), QStringLiteral("Datei/Neu"));
    EXPECT_EQ(dialogs.LastText("confirm"),
              QString::fromUtf8("Hiermit gehen alle nicht gespeicherten Informationen verloren."));
    Click("NewMenuBtn");
    EXPECT_EQ(D().Layers.size(), 1u);
    EXPECT_TRUE(Title().endsWith("[Unbenannt.zbg]"));
    EXPECT_EQ(Find<TSpinEdit>("ZoomEd")->Value(), 40);
    EXPECT_FALSE(Find<QToolButton>("UndoBtn")->isEnabled());

    // "Öffnen": Cancel in the question shows no dialog; Cancel in the dialog changes nothing.
    dialogs.confirms = {false};
    Click("OpenBtn");
    EXPECT_EQ(dialogs.Count("open"), 0);
    Click("OpenBtn");
    EXPECT_EQ(dialogs.Count("open"), 1);
    EXPECT_EQ(D().Layers.size(), 1u);
    dialogs.fileNames = {blau + ".zbg"};
    Click("OpenBtn");
    EXPECT_EQ(D().Layers.size(), 2u);
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_EQ(Find<TSpinEdit>("ZoomEd")->Value(), 30);
    EXPECT_TRUE(Title().endsWith("[blau.zbg]"));

    // A damaged file shows its message and leaves design, name and title.
    const QString bad = dir.filePath("kaputt.zbg");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x02\x00\x00\x00garbage", 11);
    f.close();
    dialogs.fileNames = {bad};
    Click("OpenBtn");
    EXPECT_EQ(dialogs.Count("error"), 1);
    EXPECT_TRUE(dialogs.LastText("error").contains("kaputt.zbg"));
    EXPECT_EQ(D().Layers.size(), 2u);
    EXPECT_TRUE(Title().endsWith("[blau.zbg]"));

    // "Speichern unter..." into a folder that does not exist fails with a message.
    dialogs.fileNames = {dir.filePath("fehlt/rot.zbg")};
    Click("SaveAsBtn");
    EXPECT_EQ(dialogs.Count("error"), 2);
    EXPECT_TRUE(Title().endsWith("[blau.zbg]"));
}

// The title marks unsaved changes; undoing back to the saved design is no
// change. With unsaved changes the questions offer "Speichern": saved first,
// then the action goes on; a cancelled save stops it.
TEST_F(MainFormTest, UnsavedChangesAreMarkedAndCanBeSavedBeforeTheyAreLost) {
    const QString described = QStringLiteral("VELKAN Zierbogen-Drucker 1.0 - [Unbenannt.zbg]");
    EXPECT_EQ(Title(), described);
    Find<TSpinEdit>("PicBreitEd")->SetValue(50);
    EXPECT_EQ(Title(), described + "*");
    WaitForTimer();
    Click("UndoBtn");
    EXPECT_EQ(Title(), described);
    Find<TSpinEdit>("ZoomEd")->SetValue(50); // a view setting, no change
    EXPECT_EQ(Title(), described);

    // No unsaved change: the question as described, without "Speichern".
    dialogs.confirms = {false};
    Click("NewMenuBtn");
    EXPECT_FALSE(dialogs.shown.back().offersSave);

    // Saving is cancelled: nothing happens.
    Click("NewPlaneBtn");
    dialogs.answers = {zb::Answer::Save};
    dialogs.fileNames = {QString()};
    Click("NewMenuBtn");
    EXPECT_TRUE(dialogs.shown[dialogs.shown.size() - 2].offersSave);
    EXPECT_EQ(D().Layers.size(), 2u);
    // Saved: then "Neu" goes on; the file holds the two layers.
    const QString file = dir.filePath("zwei.zbg");
    dialogs.answers = {zb::Answer::Save};
    dialogs.fileNames = {file};
    Click("NewMenuBtn");
    EXPECT_EQ(D().Layers.size(), 1u);
    EXPECT_EQ(Title(), described);
    ASSERT_TRUE(form->openfile(file));
    EXPECT_EQ(D().Layers.size(), 2u);
    EXPECT_TRUE(Title().endsWith("[zwei.zbg]"));

    // Closing with unsaved changes saves under the design's name first.
    Click("NewPlaneBtn");
    EXPECT_TRUE(Title().endsWith("[zwei.zbg]*"));
    form->show();
    dialogs.answers = {zb::Answer::Save};
    EXPECT_TRUE(form->close());
    EXPECT_EQ(dialogs.Count("save"), 2); // no dialog: the design has its name
    ASSERT_TRUE(form->openfile(file));
    EXPECT_EQ(D().Layers.size(), 3u);
}

TEST_F(MainFormTest, ADesignNamedOnTheCommandLineOpensAtTheFirstShowing) {
    Make({QStringLiteral(ZB_SOURCE_DIR "/examples/beispiel.zbg")});
    EXPECT_EQ(D().Layers.size(), 1u);
    Show();
    EXPECT_EQ(D().Layers.size(), 3u);
    EXPECT_EQ(dialogs.Count("confirm"), 0);
    EXPECT_TRUE(Title().endsWith("[beispiel.zbg]"));
    EXPECT_EQ(Rows(), (QStringList{"Grafik", "Muster", "Text"}));
    // Later showings open nothing again.
    Click("NewMenuBtn");
    form->hide();
    Show();
    EXPECT_EQ(D().Layers.size(), 1u);

    Make({dir.filePath("gibt-es-nicht.zbg")});
    Show();
    EXPECT_EQ(D().Layers.size(), 1u);
    EXPECT_TRUE(Title().endsWith("[Unbenannt.zbg]"));
    EXPECT_EQ(dialogs.Count("error"), 1);
    EXPECT_EQ(dialogs.errorsOverHiddenWindow, 0);
}

TEST_F(MainFormTest, ClosingAsksEveryTime) {
    form->show();
    dialogs.confirms = {false};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(dialogs.LastCaption("confirm"), QStringLiteral("Programm beenden"));
    EXPECT_EQ(dialogs.LastText("confirm"),
              QStringLiteral("Hiermit beenden Sie das Programm! Alle nicht gespeicherten Daten gehen verloren!"));
    Click("endebtn");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(dialogs.Count("confirm"), 2);
}

TEST_F(MainFormTest, OpeningAPictureReplacesTheLayersPictureOrNamesTheFile) {
    const QString bad = dir.filePath("kein-bild.png");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("kein Bild");
    f.close();
    const int width = DibWidth(D().Layers[0].LayerPicture);
    dialogs.fileNames = {bad};
    Click("OpenPicBtn");
    EXPECT_EQ(dialogs.LastCaption("error"), QStringLiteral("Fehler beim Laden (") + bad + QStringLiteral(")"));
    EXPECT_FALSE(dialogs.LastText("error").isEmpty());
    EXPECT_EQ(DibWidth(D().Layers[0].LayerPicture), width);

    // A picture of another size: the preview takes its size, the layer a copy.
    QImage picture(37, 21, QImage::Format_RGB888);
    picture.fill(QColor(10, 200, 30));
    const QString good = dir.filePath("gruen.png");
    ASSERT_TRUE(picture.save(good));
    dialogs.fileNames = {good};
    Click("OpenPicBtn");
    EXPECT_TRUE(dialogs.LastText("open").contains("*.png"));
    EXPECT_EQ(Find<PaintBox>("PaintBox4")->size(), QSize(37, 21));
    EXPECT_EQ(DibWidth(D().Layers[0].LayerPicture), 37);
    EXPECT_EQ(getpixel(D().Layers[0].LayerPicture, 5, 5), RGBColor(10, 200, 30));
    EXPECT_NE(D().Layers[0].LayerPicture.dib().Bits, form->Workspace().EditPicture().Bits);
}

TEST_F(MainFormTest, ASheetOfAllFiveKindsComesBackFromItsFile) {
    auto* pages = Find<QTabWidget>("PageControl1");
    // Bottom to top: gradient, pattern, texture (texture 2), filter, text.
    pages->setCurrentIndex(0);
    Find<QAbstractButton>("FillDirection2")->click();
    Click("NewPlaneBtn");
    pages->setCurrentIndex(1);
    Find<QComboBox>("MTypBox")->setCurrentIndex(3);
    Find<TSpinEdit>("AnzMEd")->SetValue(250);
    Click("NewPlaneBtn");
    Find<TextureEditor>("TexturSheet")->PaintBox3MouseDown(70);
    Find<TextureEditor>("TexturSheet")->PaintBox3DblClick();
    Find<TSpinEdit>("PicBreitEd")->SetValue(40.5);
    Click("NewPlaneBtn");
    pages->setCurrentIndex(3);
    Find<QComboBox>("FilterBox")->setCurrentIndex(5);
    Click("NewPlaneBtn");
    pages->setCurrentIndex(4);
    Find<QLineEdit>("TextEd")->setText(QString::fromUtf8("Grüße"));
    Find<QSlider>("TrackBar2")->setValue(8);
    WaitForTimer();
    ASSERT_EQ(Rows(), (QStringList{"Farbverlauf", "Muster", "Grafik", "Filter", "Text"}));

    std::vector<zbtest::LayerSettings> saved;
    for (uint32_t i = 0; i < D().Layers.size(); ++i) saved.push_back(zbtest::SettingsOf(D().Layers[i]));
    const TDibRecord& texture = form->Workspace().Textures()[2];
    dialogs.fileNames = {dir.filePath("fuenf")};
    Click("SaveAsBtn");
    Click("NewMenuBtn");
    ASSERT_EQ(D().Layers.size(), 1u);
    dialogs.fileNames = {dir.filePath("fuenf.zbg")};
    Click("OpenBtn");

    ASSERT_EQ(D().Layers.size(), 5u);
    for (uint32_t i = 0; i < 5; ++i) EXPECT_TRUE(zbtest::SettingsOf(D().Layers[i]) == saved[i]) << i;
    EXPECT_EQ(Cp1252ToUtf8(saved[4].text), "Grüße");
    const TDibRecord& picture = D().Layers[2].LayerPicture;
    ASSERT_EQ(DibWidth(picture), DibWidth(texture));
    ASSERT_EQ(DibHeight(picture), DibHeight(texture));
    EXPECT_EQ(0, std::memcmp(picture.Bits, texture.Bits, size_t(texture.BytesPerLine) * size_t(DibHeight(texture))));
    // The editor shows the top layer again.
    EXPECT_EQ(pages->currentIndex(), 4);
    EXPECT_EQ(Find<QLineEdit>("TextEd")->text(), QString::fromUtf8("Grüße"));
}

// A dense sheet composes away from the window: the edit returns at once, the
// window goes on answering, and the sheet appears when it is done. Closing
// the window while a sheet composes cancels it.
TEST_F(MainFormTest, TheWindowAnswersWhileADenseSheetComposes) {
    zb::TMainForm::Options options = TestOptions();
    options.seed = 5;
    options.composeWaitMs = 0;
    MakeWith(options);
    form->show();
    const zb::DesignWorkspace& w = form->Workspace();
    while (w.Stale()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const int before = w.CompositionCount();

    Find<QTabWidget>("PageControl1")->setCurrentIndex(int(kKindPattern));
    Find<TSpinEdit>("AnzMEd")->SetValue(100000);
    Find<TSpinEdit>("MSizeEd")->SetValue(100);
    QElapsedTimer clock;
    clock.start();
    Find<TSpinEdit>("ZoomEd")->SetValue(100);
    EXPECT_LT(clock.elapsed(), 200);
    EXPECT_TRUE(w.Composing());
    while (w.Stale() && clock.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_FALSE(w.Stale());
    EXPECT_EQ(w.CompositionCount(), before + 1);
    const RasterSize size = w.ShownSheetSize();
    EXPECT_EQ(Find<PaintBox>("PaintBox1")->size(), QSize(size.width, size.height));
    EXPECT_TRUE(form->statusBar()->findChild<QLabel*>("SheetLabel")->text().contains(QString::number(w.Seed().Number())));

    // Closing while a sheet composes: the composition is cancelled, the window goes.
    Find<TSpinEdit>("ZoomEd")->SetValue(90);
    EXPECT_TRUE(w.Composing());
    clock.restart();
    form.reset();
    EXPECT_LT(clock.elapsed(), 1000);
}

// The child half of the recovery test: an edit, the recovery copy written by
// the autosave timer, then the program is killed without cleaning up.
TEST_F(MainFormTest, DISABLED_RecoveryChildKilledAfterAnEdit) {
    zb::TMainForm::Options options = TestOptions();
    options.seed = 3;
    options.autosaveMs = 20;
    MakeWith(options);
    Click("NewPlaneBtn");
    Find<QTabWidget>("PageControl1")->setCurrentIndex(int(kKindText));
    Find<QLineEdit>("TextEd")->setText(QStringLiteral("Gerettet"));
    // The copy is written in the background: killed once it holds the edit.
    const QDir folder(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    const QString mine = "wiederherstellung-*-" + QString::number(QCoreApplication::applicationPid()) + ".zbg";
    QElapsedTimer clock;
    clock.start();
    for (std::unique_ptr<zb::Design> written; clock.elapsed() < 30000;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        const QStringList copies = folder.entryList({mine}, QDir::Files);
        if (copies.size() == 1 &&
            zb::openfile(QFile::encodeName(folder.filePath(copies[0])).toStdString(), written) &&
            written->Layers.size() == 2 && written->Layers[1].LayerText == "Gerettet")
            break;
    }
    std::raise(SIGKILL);
}

// A program killed after an edit leaves its recovery copy; the next start
// offers it, and "Wiederherstellen" brings back the design, unsaved.
TEST_F(MainFormTest, AKilledProgramsEditIsRestoredAtTheNextStart) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ZB_TEST_SHARED_HOME"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=MainFormTest.DISABLED_RecoveryChildKilledAfterAnEdit")});
    ASSERT_TRUE(child.waitForFinished(60000));
    ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAllStandardOutput().toStdString();

    Show();
    ASSERT_EQ(dialogs.Count("items"), 1);
    EXPECT_EQ(dialogs.LastCaption("items"), QStringLiteral("Wiederherstellung"));
    ASSERT_EQ(D().Layers.size(), 2u);
    EXPECT_EQ(D().Layers[1].Kind, uint32_t(kKindText));
    EXPECT_EQ(D().Layers[1].LayerText, "Gerettet");
    EXPECT_TRUE(Title().endsWith("[Unbenannt.zbg]*"));

    // The restored design keeps its copy: a window that goes without a clean
    // exit (as a killed one) leaves it to be offered again.
    Make({});
    Show();
    ASSERT_EQ(dialogs.Count("items"), 1);
    EXPECT_EQ(D().Layers[1].LayerText, "Gerettet");
    // A clean exit leaves no copy.
    ASSERT_TRUE(form->close());
    Make({});
    Show();
    EXPECT_EQ(dialogs.Count("items"), 0);
}

// The drop-down of "Öffnen..." lists the designs used last, newest first, at
// most eight, without the ones that are gone; choosing one opens it.
TEST_F(MainFormTest, RecentDesignsOpenFromTheDropDown) {
    zb::RecentFiles list;
    for (int i = 0; i < 10; ++i) list.Add(QStringLiteral("/x/%1.zbg").arg(i));
    list.Add(QStringLiteral("/x/5.zbg"));
    EXPECT_EQ(list.All(), (QStringList{"/x/5.zbg", "/x/9.zbg", "/x/8.zbg", "/x/7.zbg", "/x/6.zbg", "/x/4.zbg",
                                       "/x/3.zbg", "/x/2.zbg"}));
    EXPECT_TRUE(list.Existing().isEmpty());

    const QString a = dir.filePath("a.zbg"), b = dir.filePath("b.zbg");
    dialogs.fileNames = {a};
    Click("SaveAsBtn");
    Click("NewPlaneBtn");
    dialogs.fileNames = {b};
    Click("SaveAsBtn");
    QMenu* menu = Find<QToolButton>("OpenBtn")->menu();
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    QStringList shown;
    for (QAction* action : menu->actions()) shown << action->text();
    EXPECT_EQ(shown, (QStringList{"b.zbg", "a.zbg"}));

    ASSERT_TRUE(QFile::remove(b));
    emit menu->aboutToShow();
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions().first()->text(), "a.zbg");
    menu->actions().first()->trigger();
    EXPECT_EQ(D().Layers.size(), 1u);
    EXPECT_TRUE(Title().endsWith("[a.zbg]"));
    // The list outlives the window.
    EXPECT_EQ(zb::RecentFiles::Load().All().first(), a);
}

// A design dropped on the window opens; a picture dropped on the texture page
// becomes the layer's picture as an opened one does.
TEST_F(MainFormTest, DroppedDesignsOpenAndDroppedPicturesBecomeTheLayers) {
    const QString design = dir.filePath("gezogen.zbg");
    Click("NewPlaneBtn");
    dialogs.fileNames = {design};
    Click("SaveAsBtn");
    Click("NewMenuBtn");
    ASSERT_EQ(D().Layers.size(), 1u);
    auto drop = [](QWidget* target, const QString& file) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        return true;
    };
    const int questions = dialogs.Count("confirm");
    EXPECT_TRUE(drop(form.get(), design));
    EXPECT_EQ(dialogs.Count("confirm"), questions + 1);
    EXPECT_EQ(D().Layers.size(), 2u);
    EXPECT_TRUE(Title().endsWith("[gezogen.zbg]"));

    SelectRow(0); // the texture layer
    QWidget* page = Find<QWidget>("TexturSheet");
    QImage red(7, 5, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString picture = dir.filePath("rot.png");
    ASSERT_TRUE(red.save(picture));
    EXPECT_FALSE(drop(form.get(), picture)); // not a design: the window leaves it
    EXPECT_TRUE(drop(page, picture));
    EXPECT_EQ(DibWidth(D().Layers[0].LayerPicture), 7);
    EXPECT_EQ(dialogs.Count("error"), 0);
}
