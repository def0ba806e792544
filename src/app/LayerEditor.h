#pragma once
// One page of the layer editor: the controls of one layer kind. It shows the
// settings of a layer (load) and writes what it shows into a layer (store); it
// owns no layer, and the window stores through the workspace.
//
// changed() says the user edited a control. While a page loads, its controls
// change without a word: the page owns that guard.
#include <QWidget>

#include "model/TLayerRecord.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QSlider;

namespace zb {

class TPaloColorComboBox;
class TSpinEdit;

class LayerEditor : public QWidget {
    Q_OBJECT
public:
    explicit LayerEditor(QWidget* parent = nullptr) : QWidget(parent) {}

    // Shows the settings of `layer` in the page's controls.
    void load(const TLayerRecord& layer);
    // Writes the settings the page's controls show into `layer`.
    virtual void store(TLayerRecord& layer) const = 0;

signals:
    void changed();

protected:
    // load() without a word from the controls.
    virtual void LoadControls(const TLayerRecord& layer) = 0;
    // Sends changed() unless the page is loading.
    void Edited();
    // Each control's change is an edit.
    void Watch(QComboBox* box);
    void Watch(QSlider* slider);
    void Watch(QLineEdit* field);
    void Watch(TSpinEdit* field);
    void Watch(TPaloColorComboBox* colour);
    // A checked button of the group is an edit; the one unchecked with it is not.
    void Watch(QButtonGroup* group);

private:
    bool loading_ = false;
};

} // namespace zb
