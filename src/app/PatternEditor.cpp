#include "app/PatternEditor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "app/FormControls.h"
#include "app/TPaloColorComboBox.h"
#include "app/TSpinEdit.h"
#include "model/LayerChoices.h"
#include "model/SpinField.h"
#include "workspace/EditorFields.h"

namespace zb {

PatternEditor::PatternEditor(QWidget* parent) : LayerEditor(parent) {
    setObjectName(QStringLiteral("MusterSheet"));
    auto* grid = new QGridLayout(this);
    MTypBox = ChoiceBox("MTypBox", kPatternShapeCaptions);
    MColBox = ChoiceBox("MColBox", kColorModeCaptions);
    MusterCol = Control(new TPaloColorComboBox, "MusterCol", "Musterfarbe");
    MSizeBox = ChoiceBox("MSizeBox", kPatternSizeModeCaptions);
    MSizeEd = Control(new TSpinEdit(kMSizeEd, 1), "MSizeEd", "Mustergröße in mm");
    MPosBox = ChoiceBox("MPosBox", kPositionModeCaptions);
    AnzMEd = Control(new TSpinEdit(kAnzMEd, 1), "AnzMEd");
    grid->addWidget(LabelFor("Muster Typ:", MTypBox), 0, 0);
    grid->addWidget(MTypBox, 0, 1);
    grid->addWidget(LabelFor("Farbe:", MColBox), 1, 0);
    grid->addWidget(MColBox, 1, 1);
    grid->addWidget(MusterCol, 1, 2, 1, 2);
    grid->addWidget(LabelFor("Größe:", MSizeBox), 2, 0);
    grid->addWidget(MSizeBox, 2, 1);
    grid->addWidget(MSizeEd, 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("mm")), 2, 3);
    grid->addWidget(LabelFor("Position:", MPosBox), 3, 0);
    grid->addWidget(MPosBox, 3, 1);
    grid->addWidget(LabelFor("Anzahl:", AnzMEd), 4, 0);
    grid->addWidget(AnzMEd, 4, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(5, 1);

    for (QComboBox* box : {MTypBox, MColBox, MSizeBox, MPosBox}) Watch(box);
    Watch(MusterCol);
    Watch(MSizeEd);
    Watch(AnzMEd);
}

void PatternEditor::LoadControls(const TLayerRecord& layer) {
    MTypBox->setCurrentIndex(layer.PatternShape);
    MColBox->setCurrentIndex(layer.PatternColorMode);
    MusterCol->SetColorValue(layer.PatternColor);
    MSizeBox->setCurrentIndex(layer.PatternSizeMode);
    MSizeEd->SetValue(layer.PatternSizeMM);
    MPosBox->setCurrentIndex(layer.PatternPosMode);
    AnzMEd->SetValue(layer.PatternCount);
}

void PatternEditor::store(TLayerRecord& layer) const {
    layer.PatternShape = MTypBox->currentIndex();
    layer.PatternColorMode = MColBox->currentIndex();
    layer.PatternColor = MusterCol->ColorValue();
    layer.PatternSizeMode = MSizeBox->currentIndex();
    layer.PatternSizeMM = MSizeEd->Value();
    layer.PatternPosMode = MPosBox->currentIndex();
    layer.PatternCount = WholeNumber(AnzMEd->Value());
}

} // namespace zb
