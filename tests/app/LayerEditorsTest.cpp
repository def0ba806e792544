// The layer editor's pages on their own: every control reaches its field of
// the layer and comes back, every control is an edit, and loading is none.
#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <memory>

#include "LayerSettings.h"
#include "MainFormFixture.h"
#include "app/FilterEditor.h"
#include "app/GradientEditor.h"
#include "app/PatternEditor.h"
#include "app/TPaloColorComboBox.h"
#include "app/TSpinEdit.h"
#include "app/TextEditor.h"
#include "app/TextureEditor.h"
#include "model/LayerChoices.h"
#include "output/PrinterPage.h"
#include "platform/QtPictureDecoder.h"
#include "workspace/DesignWorkspace.h"

using namespace zb;
using zbtest::LayerSettings;
using zbtest::SettingsOf;

namespace {

// A layer record that owns its texts and picture for the test's lifetime.
struct OwnedLayer {
    TLayerRecord record{};
    OwnedLayer() { SetLayerDefaults(record); }
};

// Every setting away from its default, each within its control's range and
// decimals; the font is one this machine's list lacks.
void SetEveryField(TLayerRecord& l) {
    l.Kind = kKindText;
    l.Transparency = 3;
    l.GradientDirection = kGradientTopRightDiagonal;
    l.PatternShape = kShapeStripes2;
    l.PatternColorMode = kColorSingle;
    l.PatternSizeMode = kPatternSizeFixed;
    l.PatternPosMode = kPositionRegular;
    l.PatternCount = 250;
    l.TextCount = 3;
    l.FilterIndex = 13;
    l.TextColorMode = kColorSimilar;
    l.TextSize = 36;
    l.TextSizeMode = kTextSizeChosen;
    l.TextPosMode = kPositionRegular;
    l.TextFontMode = kFontChosen;
    l.GradientColor1 = RGBColor(1, 2, 3);
    l.GradientColor2 = RGBColor(4, 5, 6);
    l.PatternColor = RGBColor(7, 8, 9);
    l.TextColor = RGBColor(10, 11, 12);
    l.PatternSizeMM = 12.5;
    l.PictureWidthMM = 60.5;
    l.LayerText = "Gr\xFC\xDF\x65 \x80";
    l.FontName = "Fantasieschrift";
}

// Gives a control of a page another value the way a user would. False for a
// control that holds no setting (a push button) or would not change.
bool Poke(QWidget* w) {
    if (auto* colour = qobject_cast<TPaloColorComboBox*>(w)) {
        emit colour->activated((colour->currentIndex() + 1) % 16);
        return true;
    }
    if (auto* box = qobject_cast<QComboBox*>(w)) {
        if (box->count() < 2) return false;
        box->setCurrentIndex((box->currentIndex() + 1) % box->count());
        return true;
    }
    if (auto* field = qobject_cast<TSpinEdit*>(w)) {
        field->SetValue(field->Value() + 1);
        return true;
    }
    if (auto* slider = qobject_cast<QSlider*>(w)) {
        slider->setValue(slider->value() == slider->maximum() ? slider->minimum() : slider->value() + 1);
        return true;
    }
    if (auto* radio = qobject_cast<QRadioButton*>(w)) {
        if (radio->isChecked()) return false;
        radio->click();
        return true;
    }
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        line->setText(line->text() + QStringLiteral("x"));
        return true;
    }
    return false;
}

class LayerEditorsTest : public ::testing::Test {
protected:
    LayerEditorsTest()
        : workspace(1, PrinterFacts{kFallbackPrintablePage, true}, nullptr),
          pages{std::make_unique<GradientEditor>(), std::make_unique<PatternEditor>(),
                std::make_unique<TextureEditor>(workspace, dialogs, decoder, folders, [] { return QString(); }),
                std::make_unique<FilterEditor>(),
                std::make_unique<TextEditor>(std::vector<std::string>{"Alpha", "Beta", "Gr\xFCn"})} {}

    // The page's controls, by their form names (not the inner parts Qt names).
    static QList<QWidget*> Controls(LayerEditor& page) {
        QList<QWidget*> named;
        for (QWidget* w : page.findChildren<QWidget*>())
            if (!w->objectName().isEmpty() && !w->objectName().startsWith(QStringLiteral("qt_"))) named << w;
        return named;
    }

    zbtest::FakeDialogs dialogs;
    platform::QtPictureDecoder decoder;
    DialogFolders folders;
    DesignWorkspace workspace;
    std::unique_ptr<LayerEditor> pages[5];
};

} // namespace

TEST_F(LayerEditorsTest, EveryFieldComesBackThroughItsPage) {
    OwnedLayer every;
    SetEveryField(every.record);
    OwnedLayer stored;
    // Kind and transparency belong to the window's own controls.
    stored.record.Kind = every.record.Kind;
    stored.record.Transparency = every.record.Transparency;
    ASSERT_NE(SettingsOf(stored.record), SettingsOf(every.record));
    for (auto& page : pages) page->load(every.record);
    for (auto& page : pages) page->store(stored.record);
    EXPECT_EQ(SettingsOf(stored.record), SettingsOf(every.record));
    EXPECT_EQ(stored.record.LayerText, "Gr\xFC\xDF\x65 \x80");
    EXPECT_EQ(stored.record.FontName, "Fantasieschrift");
}

TEST_F(LayerEditorsTest, EveryControlIsAnEditAndLoadingIsNone) {
    OwnedLayer shown;
    int poked = 0;
    for (auto& page : pages) {
        int edits = 0;
        QObject::connect(page.get(), &LayerEditor::changed, [&edits] { ++edits; });
        page->load(shown.record);
        EXPECT_EQ(edits, 0) << page->objectName().toStdString();
        for (QWidget* control : Controls(*page)) {
            const std::string name = control->objectName().toStdString();
            if (!Poke(control)) continue;
            ++poked;
            EXPECT_EQ(edits, 1) << name;
            OwnedLayer after;
            page->store(after.record);
            EXPECT_NE(SettingsOf(after.record), SettingsOf(shown.record)) << name << " reaches no field";
            // Loading the layer again puts the control back without a word.
            edits = 0;
            page->load(shown.record);
            EXPECT_EQ(edits, 0) << name;
            OwnedLayer again;
            page->store(again.record);
            EXPECT_EQ(SettingsOf(again.record), SettingsOf(shown.record)) << name << " does not load";
        }
    }
    // Three of the four directions (the first is shown), six on the pattern
    // page and its colour, the picture width, the filter, nine on the text page.
    EXPECT_GE(poked, 23);
}
