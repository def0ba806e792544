#pragma once
// The page "Muster": shape, colour, size, position and count of a pattern layer.
#include "app/LayerEditor.h"

namespace zb {

class PatternEditor : public LayerEditor {
    Q_OBJECT
public:
    explicit PatternEditor(QWidget* parent = nullptr);
    void store(TLayerRecord& layer) const override;

protected:
    void LoadControls(const TLayerRecord& layer) override;

private:
    // The lists' item i is the choice value i (LayerChoices.h).
    QComboBox* MTypBox = nullptr;
    QComboBox* MColBox = nullptr;
    TPaloColorComboBox* MusterCol = nullptr;
    QComboBox* MSizeBox = nullptr;
    TSpinEdit* MSizeEd = nullptr;
    QComboBox* MPosBox = nullptr;
    TSpinEdit* AnzMEd = nullptr;
};

} // namespace zb
