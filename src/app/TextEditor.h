#pragma once
// The page "Text": the text, its colour, size, position, font and how many
// copies a text layer scatters.
#include <string>
#include <vector>

#include "app/LayerEditor.h"

namespace zb {

class TextEditor : public LayerEditor {
    Q_OBJECT
public:
    // `families`: the fonts the list offers, Windows-1252 names as the font
    // engine gives them.
    explicit TextEditor(const std::vector<std::string>& families, QWidget* parent = nullptr);
    void store(TLayerRecord& layer) const override;

protected:
    void LoadControls(const TLayerRecord& layer) override;

private:
    void SelectFont(const QString& family);

    QLineEdit* TextEd = nullptr;
    // The lists' item i is the choice value i (LayerChoices.h).
    QComboBox* FColBox = nullptr;
    TPaloColorComboBox* FColor = nullptr;
    QComboBox* FSizeKBox = nullptr;
    TSpinEdit* FSizeEd = nullptr;
    QComboBox* FPosBox = nullptr;
    QComboBox* FKindBox = nullptr;
    QComboBox* FontBox = nullptr;
    // "Anzahl:" 0 .. 10.
    QSlider* TrackBar2 = nullptr;
};

} // namespace zb
