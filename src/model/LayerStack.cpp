#include "model/LayerStack.h"

#include "base/DibCopy.h"

namespace zb {

std::string AddLayer(Design& design, const std::vector<DibPicture>& textures) {
    TLayerRecord& layer = design.Layers.Add();
    SetLayerDefaults(layer);
    if (!textures.empty()) {
        if (!MakeDIBCopy(textures[0], layer.LayerPicture)) return kCopyMemoryMessage;
    } else {
        layer.LayerPicture = DibPicture(10, 10, 24);
        if (layer.LayerPicture.empty()) return kCopyMemoryMessage;
    }
    return {};
}

std::string NewPlane(Design& design, const std::vector<DibPicture>& textures) {
    std::string message = AddLayer(design, textures);
    design.Layers.Select(int(design.Layers.size()) - 1);
    return message;
}

std::string DeletePlane(Design& design, int selectedRow) {
    if (selectedRow < 0 || selectedRow >= int(design.Layers.size())) return kNoLayerSelected;
    if (design.Layers.size() <= 1) return kCannotDeleteLast;
    // The layer that followed the deleted one is selected, or the new top one.
    design.Layers.Select(selectedRow);
    design.Layers.Remove(size_t(selectedRow));
    return {};
}

std::string MovePlaneUp(Design& design, int selectedRow) {
    if (selectedRow < 0 || selectedRow >= int(design.Layers.size())) return kNoLayerSelected;
    design.Layers.Select(selectedRow);
    if (selectedRow > 0) {
        design.Layers.Swap(size_t(selectedRow), size_t(selectedRow - 1));
        design.Layers.Select(selectedRow - 1);
    }
    return {};
}

std::string MovePlaneDown(Design& design, int selectedRow) {
    if (selectedRow < 0 || selectedRow >= int(design.Layers.size())) return kNoLayerSelected;
    design.Layers.Select(selectedRow);
    if (selectedRow < int(design.Layers.size()) - 1) {
        design.Layers.Swap(size_t(selectedRow), size_t(selectedRow + 1));
        design.Layers.Select(selectedRow + 1);
    }
    return {};
}

std::string DuplicatePlane(Design& design, int selectedRow) {
    if (selectedRow < 0 || selectedRow >= int(design.Layers.size())) return kNoLayerSelected;
    TLayerRecord copy;
    const TLayerRecord& from = design.Layers[size_t(selectedRow)];
    static_cast<LayerSettings&>(copy) = from;
    copy.FontName = from.FontName;
    copy.LayerText = from.LayerText;
    if (!from.LayerPicture.empty() && !MakeDIBCopy(from.LayerPicture, copy.LayerPicture)) return kCopyMemoryMessage;
    design.Layers.Insert(size_t(selectedRow) + 1, std::move(copy));
    design.Layers.Select(selectedRow + 1);
    return {};
}

std::string MovePlane(Design& design, int from, int to) {
    const int count = int(design.Layers.size());
    if (from < 0 || from >= count || to < 0 || to >= count) return kNoLayerSelected;
    design.Layers.Move(size_t(from), size_t(to));
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
    for (size_t n = design.Layers.size(); n-- > 1;) design.Layers.Remove(n);
    design.Layers.Select(0);
}

} // namespace zb
