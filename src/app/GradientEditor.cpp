#include "app/GradientEditor.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/FormControls.h"
#include "app/TPaloColorComboBox.h"
#include "model/LayerChoices.h"

namespace zb {

GradientEditor::GradientEditor(QWidget* parent) : LayerEditor(parent) {
    setObjectName(QStringLiteral("FarbverlaufSheet"));
    auto* grid = new QGridLayout(this);
    FillCol1 = Control(new TPaloColorComboBox, "FillCol1");
    FillCol2 = Control(new TPaloColorComboBox, "FillCol2");
    grid->addWidget(LabelFor("Farbe 1:", FillCol1), 0, 0);
    grid->addWidget(FillCol1, 0, 1);
    grid->addWidget(LabelFor("Farbe 2:", FillCol2), 1, 0);
    grid->addWidget(FillCol2, 1, 1);
    auto* group = new QGroupBox(QString::fromUtf8("Füllrichtung"));
    group->setObjectName(QStringLiteral("FillDirection"));
    auto* radios = new QVBoxLayout(group);
    radios->setSpacing(0);
    FillDirection = new QButtonGroup(this);
    FillDirection->setObjectName(QStringLiteral("FillDirectionGroup"));
    for (size_t i = 0; i < kGradientDirectionCaptions.size(); ++i) {
        auto* radio = new QRadioButton(FromUtf8(kGradientDirectionCaptions[i]));
        radio->setObjectName(QStringLiteral("FillDirection%1").arg(i));
        FillDirection->addButton(radio, int(i));
        radios->addWidget(radio);
    }
    FillDirection->button(0)->setChecked(true);
    grid->addWidget(group, 0, 2, 3, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);

    Watch(FillCol1);
    Watch(FillCol2);
    Watch(FillDirection);
}

void GradientEditor::LoadControls(const TLayerRecord& layer) {
    FillCol1->SetColorValue(layer.GradientColor1);
    FillCol2->SetColorValue(layer.GradientColor2);
    // A direction outside the group (a foreign file) leaves the shown one.
    if (QAbstractButton* radio = FillDirection->button(layer.GradientDirection)) radio->setChecked(true);
}

void GradientEditor::store(TLayerRecord& layer) const {
    layer.GradientColor1 = FillCol1->ColorValue();
    layer.GradientColor2 = FillCol2->ColorValue();
    layer.GradientDirection = FillDirection->checkedId();
}

} // namespace zb
