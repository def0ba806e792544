#include "model/LayerStack.h"

#include "base/DibCopy.h"

namespace zb {

std::string AddLayer(Design& design, const TDynaArray<TDibRecord>& textures) {
    TLayerRecord* layer = design.Layers.Add();
    SetLayerDefaults(*layer);
    if (textures.Count > 0) {
        if (!MakeDIBCopy(textures[0], layer->LayerPicture)) return kCopyMemoryMessage;
    } else {
        newdib(layer->LayerPicture, 10, 10, 24, nullptr, 0);
        if (!layer->LayerPicture.Bits) return kCopyMemoryMessage;
    }
    return {};
}

std::string NewPlane(Design& design, const TDynaArray<TDibRecord>& textures) {
    std::string message = AddLayer(design, textures);
    design.CurrentIndex = int32_t(design.Layers.Count) - 1;
    return message;
}

std::string DeletePlane(Design& design, int selectedRow) {
    if (selectedRow < 0 || selectedRow >= int(design.Layers.Count)) return kNoLayerSelected;
    if (design.Layers.Count <= 1) return kCannotDeleteLast;
    design.CurrentIndex = selectedRow;
    ReleaseLayer(*design.Layers.Select(selectedRow));
    design.Layers.Delete(selectedRow);
    if (design.CurrentIndex > int32_t(design.Layers.Count) - 1)
        design.CurrentIndex = int32_t(design.Layers.Count) - 1;
    design.Layers.Select(design.CurrentIndex);
    return {};
}

std::string MovePlaneUp(Design& design, int selectedRow) {
    if (selectedRow < 0 || selectedRow >= int(design.Layers.Count)) return kNoLayerSelected;
    design.CurrentIndex = selectedRow;
    if (design.CurrentIndex > 0) {
        design.Layers.Exchange(design.CurrentIndex, design.CurrentIndex - 1);
        --design.CurrentIndex;
    }
    return {};
}

std::string MovePlaneDown(Design& design, int selectedRow) {
    if (selectedRow < 0 || selectedRow >= int(design.Layers.Count)) return kNoLayerSelected;
    design.CurrentIndex = selectedRow;
    if (design.CurrentIndex < int32_t(design.Layers.Count) - 1) {
        design.Layers.Exchange(design.CurrentIndex, design.CurrentIndex + 1);
        ++design.CurrentIndex;
    }
    return {};
}

int LowerOfExchanged(int row, int step, int count) {
    const int other = row + step;
    if (row < 0 || row >= count || other < 0 || other >= count) return count;
    return row < other ? row : other;
}

void KeepBottomLayer(Design& design) {
    for (int n = int(design.Layers.Count) - 1; n >= 1; --n) {
        ReleaseLayer(*design.Layers.Select(n));
        design.Layers.Delete(n);
    }
    design.CurrentIndex = 0;
    if (design.Layers.Count > 0) design.Layers.Select(0);
}

} // namespace zb
