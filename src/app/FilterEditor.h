#pragma once
// The page "Grafikfilter": which filter a filter layer applies.
#include "app/LayerEditor.h"

namespace zb {

class FilterEditor : public LayerEditor {
    Q_OBJECT
public:
    explicit FilterEditor(QWidget* parent = nullptr);
    void store(TLayerRecord& layer) const override;

protected:
    void LoadControls(const TLayerRecord& layer) override;

private:
    // Item i is entry i of the filter table.
    QComboBox* FilterBox = nullptr;
};

} // namespace zb
