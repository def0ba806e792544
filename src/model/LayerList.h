#pragma once
// The layer stack of a design, bottom layer first, and the selection: the
// index of the layer the editor shows.
//
// Ownership: owns its layer records and with them their texts and their share
// of the pictures. A reference to a record goes stale when the list grows or
// shrinks.
#include <cstddef>
#include <vector>

#include "model/TLayerRecord.h"

namespace zb {

class LayerList {
public:
    using iterator = std::vector<TLayerRecord>::iterator;
    using const_iterator = std::vector<TLayerRecord>::const_iterator;

    size_t size() const { return layers_.size(); }
    bool empty() const { return layers_.empty(); }
    TLayerRecord& operator[](size_t index) { return layers_[index]; }
    const TLayerRecord& operator[](size_t index) const { return layers_[index]; }
    TLayerRecord& back() { return layers_.back(); }
    const TLayerRecord& back() const { return layers_.back(); }
    iterator begin() { return layers_.begin(); }
    iterator end() { return layers_.end(); }
    const_iterator begin() const { return layers_.begin(); }
    const_iterator end() const { return layers_.end(); }

    // Puts `layer` on top of the stack and returns it. The selection stays.
    TLayerRecord& Add(TLayerRecord layer = {});
    // Puts `layer` at place `index` (0 .. size), the layers from there up
    // moving one place up. The selection stays.
    TLayerRecord& Insert(size_t index, TLayerRecord layer);
    // Removes layer `index`; an index outside the stack changes nothing. A
    // selection beyond the new top moves down onto it.
    void Remove(size_t index);
    // Exchanges two layers; an index outside the stack changes nothing.
    void Swap(size_t a, size_t b);
    // Moves layer `from` to place `to`, the layers between shifting by one
    // towards `from`; a place outside the stack changes nothing.
    void Move(size_t from, size_t to);
    // Empties the stack; the selection goes back to 0.
    void Clear();

    int SelectedIndex() const { return selected_; }
    // Any index is kept; one outside the stack selects no layer.
    void Select(int index) { selected_ = index; }
    // The selected layer, or null when the selection lies outside the stack.
    TLayerRecord* Selected();
    const TLayerRecord* Selected() const;

private:
    std::vector<TLayerRecord> layers_;
    int selected_ = 0;
};

} // namespace zb
