#include "app/LayerEditor.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

#include "app/ScopedFlag.h"
#include "app/TPaloColorComboBox.h"
#include "app/TSpinEdit.h"

namespace zb {

void LayerEditor::load(const TLayerRecord& layer) {
    ScopedFlag guard(loading_);
    LoadControls(layer);
}

void LayerEditor::Edited() {
    if (!loading_) emit changed();
}

void LayerEditor::Watch(QComboBox* box) { connect(box, &QComboBox::currentIndexChanged, this, &LayerEditor::Edited); }

void LayerEditor::Watch(QSlider* slider) { connect(slider, &QSlider::valueChanged, this, &LayerEditor::Edited); }

void LayerEditor::Watch(QLineEdit* field) { connect(field, &QLineEdit::textChanged, this, &LayerEditor::Edited); }

void LayerEditor::Watch(TSpinEdit* field) { connect(field, &TSpinEdit::Change, this, &LayerEditor::Edited); }

void LayerEditor::Watch(TPaloColorComboBox* colour) {
    connect(colour, &TPaloColorComboBox::Change, this, &LayerEditor::Edited);
}

void LayerEditor::Watch(QButtonGroup* group) {
    connect(group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) Edited();
    });
}

} // namespace zb
