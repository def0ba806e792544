#pragma once
// The page "Farbverlauf": two colours and the fill direction of a gradient layer.
#include "app/LayerEditor.h"

namespace zb {

class GradientEditor : public LayerEditor {
    Q_OBJECT
public:
    explicit GradientEditor(QWidget* parent = nullptr);
    void store(TLayerRecord& layer) const override;

protected:
    void LoadControls(const TLayerRecord& layer) override;

private:
    TPaloColorComboBox* FillCol1 = nullptr;
    TPaloColorComboBox* FillCol2 = nullptr;
    // Button i is GradientDirection i.
    QButtonGroup* FillDirection = nullptr;
};

} // namespace zb
