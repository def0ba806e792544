// The layer list's rows (names, eyes, thumbnails, dragging), paper sizes by
// name and a new design from a template, as the user meets them.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "MainFormFixture.h"
#include "app/TLayerList.h"
#include "app/TSpinEdit.h"
#include "app/TemplateGallery.h"
#include "model/TLayerRecord.h"

using zbtest::MainFormTest;

namespace {

// The list's editor and rows hand on what the user did through the event loop.
void Settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

QRgb ThumbnailCorner(QTreeWidgetItem* row) { return row->icon(0).pixmap(QSize(40, 30)).toImage().pixel(2, 2); }

} // namespace

// Each command of the list is one step that "Rückgängig" takes back.
TEST_F(MainFormTest, LayerRowsAreRenamedHiddenDuplicatedAndDraggedOneStepEach) {
    Show();
    form->Workspace().StoreEditor([](zb::TLayerRecord& l) { l.Kind = zb::kKindGradient; });
    form->Workspace().CommitPendingEdit();
    Click("NewPlaneBtn");
    Click("NewPlaneBtn");
    form->Workspace().Compose(96, -1);
    Settle();
    ASSERT_EQ(Rows(), (QStringList{"Farbverlauf", "Grafik", "Grafik"}));
    // Thumbnails of what each layer adds: the gradient's blue, the texture's own.
    EXPECT_NE(ThumbnailCorner(List()->topLevelItem(0)), ThumbnailCorner(List()->topLevelItem(1)));
    EXPECT_GT(qBlue(ThumbnailCorner(List()->topLevelItem(0))), 200);
    EXPECT_LT(qRed(ThumbnailCorner(List()->topLevelItem(0))), 60);

    const auto undo = [&](const QStringList& before) {
        Click("UndoBtn");
        Settle();
        EXPECT_EQ(Rows(), before);
    };

    // F2 renames the selected row in place.
    SelectRow(1);
    List()->setFocus();
    QTest::keyClick(List(), Qt::Key_F2);
    auto* editor = List()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QString::fromUtf8("Kräuselpapier"));
    QTest::keyClick(editor, Qt::Key_Return);
    Settle();
    EXPECT_EQ(Rows(), (QStringList{"Farbverlauf", QString::fromUtf8("Kräuselpapier"), "Grafik"}));
    EXPECT_EQ(D().Layers[1].Name, "Kr\xE4uselpapier");
    undo({"Farbverlauf", "Grafik", "Grafik"});

    // The eye hides the layer; the sheet is composed without it.
    List()->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    Settle();
    EXPECT_FALSE(D().Layers[1].Visible);
    EXPECT_EQ(List()->topLevelItem(1)->checkState(0), Qt::Unchecked);
    undo({"Farbverlauf", "Grafik", "Grafik"});
    EXPECT_TRUE(D().Layers[1].Visible);

    // Ctrl+J duplicates the selected layer above it.
    SelectRow(0);
    QTest::keyClick(form.get(), Qt::Key_J, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(Rows(), (QStringList{"Farbverlauf", "Farbverlauf", "Grafik", "Grafik"}));
    EXPECT_EQ(SelectedRow(), 1);
    undo({"Farbverlauf", "Grafik", "Grafik"});

    // A row dropped into the lower half of the last row goes to the top.
    SelectRow(0);
    QTreeWidgetItem* last = List()->topLevelItem(2);
    const QRect target = List()->visualItemRect(last);
    static_cast<zb::TLayerList*>(List())->DropSelectedAt(QPoint(target.center().x(), target.bottom() - 1));
    Settle();
    EXPECT_EQ(Rows(), (QStringList{"Grafik", "Grafik", "Farbverlauf"}));
    EXPECT_EQ(SelectedRow(), 2);
    undo({"Farbverlauf", "Grafik", "Grafik"});
}

// "Format:" fills width and height as a part of the paper; a typed size is
// "Benutzerdefiniert".
TEST_F(MainFormTest, PaperSizesByNameFillTheFields) {
    auto* format = Find<QComboBox>("FormatBox");
    auto* orientation = Find<QComboBox>("OrientationBox");
    orientation->setCurrentIndex(1);
    format->setCurrentText("A3");
    EXPECT_FALSE(D().Paper.PrintAll);
    EXPECT_EQ(D().Paper.Breit, 42.0);
    EXPECT_EQ(D().Paper.Hoch, 29.7);
    // Larger than the A4 stand-in page: the print page names the way to print it whole.
    EXPECT_TRUE(Find<QLabel>("PosterInfo")->text().contains(QString::fromUtf8("„Auf mehrere Seiten verteilen“")));
    Click("UndoBtn");
    EXPECT_EQ(Find<QLabel>("PosterInfo")->text(), "");
    EXPECT_TRUE(D().Paper.PrintAll);
    Click("RedoBtn");
    EXPECT_EQ(format->currentText(), "A3");
    EXPECT_EQ(orientation->currentIndex(), 1);

    Find<zb::TSpinEdit>("BreitEd")->SetText("30");
    EXPECT_EQ(format->currentText(), "Benutzerdefiniert");
    EXPECT_EQ(D().Paper.Breit, 30.0);
}

// The gallery shows every template and sample; choosing one opens it as a
// new, untitled design.
TEST_F(MainFormTest, ATemplateBecomesANewUntitledDesign) {
    zb::TemplateGallery gallery(form->TemplateFolders(), {"Vorlage", "Beispiel"});
    EXPECT_GE(gallery.Count(), 12 + 3);
    EXPECT_EQ(zb::TemplateTitle("13-rauten-nahtlos.zbg"), "Rauten nahtlos");

    form->NewFromTemplate(QStringLiteral(ZB_SOURCE_DIR "/data/vorlagen/01-weihnachten.zbg"));
    EXPECT_EQ(D().Layers.size(), 3u);
    EXPECT_EQ(form->Workspace().FileName(), "");
    EXPECT_FALSE(form->Workspace().Modified());
    EXPECT_EQ(Rows(), (QStringList{"Weinrot", "Goldpunkte", QString::fromUtf8("Gruß")}));
}
