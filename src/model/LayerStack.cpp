#include "model/LayerStack.h"

#include "base/DibCopy.h"

namespace zb {

std::string AddLayer(Design& design, const TDynaArray<DibPicture>& textures) {
    TLayerRecord* layer = design.Layers.Add();
    SetLayerDefaults(*layer);
    if (textures.Count > 0) {
        if (!MakeDIBCopy(textures[0], layer->LayerPicture)) return kCopyMemoryMessage;
    } else {
        layer->LayerPicture = DibPicture(10, 10, 24);
        if (layer->LayerPicture.empty()) return kCopyMemoryMessage;
    }
    return {};
}

std::string NewPlane(Design& design, const TDynaArray<DibPicture>& textures) {
    std::string message = AddLayer(design, textures);
    design.CurrentIndex = int32_t(design.Layers.Count) - 1;
    return message;
}

std::string DeletePlane(Design& design, int selectedRow) {
    if (selectedRow < 0 || selectedRow >= int(design.Layers.Count)) return kNoLayerSelected;
    if (design.Layers.Count <= 1) return kCannotDeleteLast;
    design.CurrentIndex = selectedRow;
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

std::string DuplicatePlane(Design& design, int selectedRow) {
    if (selectedRow < 0 || selectedRow >= int(design.Layers.Count)) return kNoLayerSelected;
    TLayerRecord copy;
    const TLayerRecord& from = design.Layers[uint32_t(selectedRow)];
    static_cast<LayerSettings&>(copy) = from;
    copy.FontName = from.FontName;
    copy.LayerText = from.LayerText;
    if (!from.LayerPicture.empty() && !MakeDIBCopy(from.LayerPicture, copy.LayerPicture)) return kCopyMemoryMessage;
    *design.Layers.Add() = std::move(copy);
    // The copy climbs from the top to just above its original.
    for (int i = int(design.Layers.Count) - 1; i > selectedRow + 1; --i) design.Layers.Exchange(i, i - 1);
    design.CurrentIndex = selectedRow + 1;
    design.Layers.Select(design.CurrentIndex);
    return {};
}

std::string MovePlane(Design& design, int from, int to) {
    const int count = int(design.Layers.Count);
    if (from < 0 || from >= count || to < 0 || to >= count) return kNoLayerSelected;
    for (int i = from; i < to; ++i) design.Layers.Exchange(i, i + 1);
    for (int i = from; i > to; --i) design.Layers.Exchange(i, i - 1);
    design.CurrentIndex = to;
    design.Layers.Select(to);
    return {};
}

int DropPlace(int from, int overRow, bool below, int count) {
    if (count <= 0) return 0;
    // The gap the row is dropped into, counted before the row leaves its place.
    int gap = overRow < 0 ? count : overRow + (below ? 1 : 0);
    if (gap > from) --gap;
    return gap < 0 ? 0 : (gap > count - 1 ? count - 1 : gap);
}

int LowerOfExchanged(int row, int step, int count) {
    const int other = row + step;
    if (row < 0 || row >= count || other < 0 || other >= count) return count;
    return row < other ? row : other;
}

void KeepBottomLayer(Design& design) {
    for (int n = int(design.Layers.Count) - 1; n >= 1; --n) {
        design.Layers.Delete(n);
    }
    design.CurrentIndex = 0;
    if (design.Layers.Count > 0) design.Layers.Select(0);
}

} // namespace zb
