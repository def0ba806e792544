#include "app/TextEditor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "app/Cp1252Validator.h"
#include "app/FormControls.h"
#include "app/TPaloColorComboBox.h"
#include "app/TSpinEdit.h"
#include "model/Cp1252.h"
#include "model/LayerChoices.h"
#include "model/SpinField.h"
#include "platform/QtFontEngine.h"
#include "workspace/EditorFields.h"

namespace zb {

TextEditor::TextEditor(const std::vector<std::string>& families, QWidget* parent) : LayerEditor(parent) {
    setObjectName(QStringLiteral("TextSheet"));
    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(2);
    TextEd = Control(new QLineEdit, "TextEd");
    TextEd->setValidator(new Cp1252Validator(TextEd));
    FColBox = ChoiceBox("FColBox", kColorModeCaptions);
    FColor = Control(new TPaloColorComboBox, "FColor", "Textfarbe");
    FSizeKBox = ChoiceBox("FSizeKBox", kTextSizeModeCaptions);
    FSizeEd = Control(new TSpinEdit(kFSizeEd, 1), "FSizeEd", "Textgröße in Punkt");
    FPosBox = ChoiceBox("FPosBox", kPositionModeCaptions);
    FKindBox = ChoiceBox("FKindBox", kTextFontModeCaptions);
    FontBox = Control(new QComboBox, "FontBox", "Schrift");
    for (const std::string& family : families) {
        const QString name = FromUtf8(Cp1252ToUtf8(family));
        FontBox->addItem(name, name);
    }
    TrackBar2 = ElevenStepSlider("TrackBar2");
    grid->addWidget(LabelFor("Text:", TextEd), 0, 0);
    grid->addWidget(TextEd, 0, 1, 1, 2);
    grid->addWidget(LabelFor("Farbe:", FColBox), 1, 0);
    grid->addWidget(FColBox, 1, 1);
    grid->addWidget(FColor, 1, 2);
    grid->addWidget(LabelFor("Größe:", FSizeKBox), 2, 0);
    grid->addWidget(FSizeKBox, 2, 1);
    grid->addWidget(FSizeEd, 2, 2);
    grid->addWidget(LabelFor("Position:", FPosBox), 3, 0);
    grid->addWidget(FPosBox, 3, 1);
    grid->addWidget(LabelFor("Schriftart:", FKindBox), 4, 0);
    grid->addWidget(FKindBox, 4, 1);
    grid->addWidget(FontBox, 4, 2);
    grid->addWidget(LabelFor("Anzahl:", TrackBar2), 5, 0);
    grid->addWidget(TrackBar2, 5, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    Watch(TextEd);
    for (QComboBox* box : {FColBox, FSizeKBox, FPosBox, FKindBox, FontBox}) Watch(box);
    Watch(FColor);
    Watch(FSizeEd);
    Watch(TrackBar2);
}

void TextEditor::SelectFont(const QString& family) {
    int index = FontBox->findData(family);
    if (index < 0 && !family.isEmpty()) {
        // A font this machine lacks stays the layer's choice (the text is then
        // drawn in the platform's stand-in), so a design keeps it when saved;
        // the list says that it is not installed.
        const bool installed = platform::QtFontEngine::Installed(Utf8ToCp1252(family.toStdString()));
        FontBox->addItem(installed ? family : family + QStringLiteral(" (nicht installiert)"), family);
        index = FontBox->count() - 1;
    }
    FontBox->setCurrentIndex(index);
}

void TextEditor::LoadControls(const TLayerRecord& layer) {
    TextEd->setText(QString::fromStdString(ShownText(layer.LayerText)));
    FColBox->setCurrentIndex(layer.TextColorMode);
    FColor->SetColorValue(layer.TextColor);
    FSizeKBox->setCurrentIndex(layer.TextSizeMode);
    FSizeEd->SetValue(layer.TextSize);
    FPosBox->setCurrentIndex(layer.TextPosMode);
    FKindBox->setCurrentIndex(layer.TextFontMode);
    SelectFont(QString::fromStdString(ShownText(layer.FontName)));
    TrackBar2->setValue(layer.TextCount);
}

void TextEditor::store(TLayerRecord& layer) const {
    StoreShownText(layer.LayerText, TextEd->text().toStdString());
    layer.TextColorMode = FColBox->currentIndex();
    layer.TextColor = FColor->ColorValue();
    layer.TextSizeMode = FSizeKBox->currentIndex();
    layer.TextSize = WholeNumber(FSizeEd->Value());
    layer.TextPosMode = FPosBox->currentIndex();
    layer.TextFontMode = FKindBox->currentIndex();
    StoreShownText(layer.FontName, FontBox->currentData().toString().toStdString());
    layer.TextCount = TrackBar2->value();
}

} // namespace zb

