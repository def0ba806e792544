#include "model/LayerList.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace zb {

TLayerRecord& LayerList::Add(TLayerRecord layer) { return layers_.emplace_back(std::move(layer)); }

TLayerRecord& LayerList::Insert(size_t index, TLayerRecord layer) {
    return *layers_.insert(layers_.begin() + std::ptrdiff_t(std::min(index, layers_.size())), std::move(layer));
}

void LayerList::Remove(size_t index) {
    if (index >= layers_.size()) return;
    layers_.erase(layers_.begin() + std::ptrdiff_t(index));
    if (selected_ > int(layers_.size()) - 1 && !layers_.empty()) selected_ = int(layers_.size()) - 1;
}

void LayerList::Swap(size_t a, size_t b) {
    if (a >= layers_.size() || b >= layers_.size()) return;
    std::swap(layers_[a], layers_[b]);
}

void LayerList::Move(size_t from, size_t to) {
    if (from >= layers_.size() || to >= layers_.size()) return;
    const auto at = [this](size_t i) { return layers_.begin() + std::ptrdiff_t(i); };
    if (from < to) std::rotate(at(from), at(from + 1), at(to + 1));
    else if (from > to) std::rotate(at(to), at(from), at(from + 1));
}

void LayerList::Clear() {
    layers_.clear();
    selected_ = 0;
}

TLayerRecord* LayerList::Selected() {
    return selected_ >= 0 && size_t(selected_) < layers_.size() ? &layers_[size_t(selected_)] : nullptr;
}

const TLayerRecord* LayerList::Selected() const { return const_cast<LayerList*>(this)->Selected(); }

} // namespace zb
