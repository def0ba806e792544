#include "app/FilterEditor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "app/FormControls.h"
#include "imaging/FilterTable.h"

namespace zb {

FilterEditor::FilterEditor(QWidget* parent) : LayerEditor(parent) {
    setObjectName(QStringLiteral("FilterSheet"));
    auto* grid = new QGridLayout(this);
    FilterBox = Control(new QComboBox, "FilterBox");
    for (const FilterEntry& f : FilterTable) FilterBox->addItem(QString::fromUtf8(f.Name));
    grid->addWidget(LabelFor("Filter:", FilterBox), 0, 0);
    grid->addWidget(FilterBox, 0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    Watch(FilterBox);
}

void FilterEditor::LoadControls(const TLayerRecord& layer) { FilterBox->setCurrentIndex(layer.FilterIndex); }

void FilterEditor::store(TLayerRecord& layer) const { layer.FilterIndex = FilterBox->currentIndex(); }

} // namespace zb
