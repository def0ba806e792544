#include "workspace/UndoHistory.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
#include <unordered_set>

#include "base/DibCopy.h"

namespace zb {

namespace {

size_t PixelBytes(const TDibRecord& dib) {
    return dib.Bits ? size_t(dib.BytesPerLine) * size_t(DibHeight(dib)) : 0;
}

bool SamePixels(const TDibRecord& a, const TDibRecord& b) {
    if (DibWidth(a) != DibWidth(b) || DibHeight(a) != DibHeight(b) || DibBitCount(a) != DibBitCount(b) ||
        a.BytesPerLine != b.BytesPerLine)
        return false;
    if (DibTableSize(DibBitCount(a)) > 0 &&
        std::memcmp(DibColorTable(a), DibColorTable(b), size_t(DibTableSize(DibBitCount(a))) * sizeof(TRgbQuad)))
        return false;
    return std::memcmp(a.Bits, b.Bits, PixelBytes(a)) == 0;
}

bool SamePaper(const PaperSettings& a, const PaperSettings& b) {
    return a.Breit == b.Breit && a.Hoch == b.Hoch && a.BreitV == b.BreitV && a.HochV == b.HochV &&
           a.DezV == b.DezV && a.RandX == b.RandX && a.RandY == b.RandY && a.PrintAll == b.PrintAll &&
           a.HoldWidth2 == b.HoldWidth2 && a.SVerh == b.SVerh && a.HoldWidth == b.HoldWidth &&
           a.Seamless == b.Seamless && a.Repeat == b.Repeat;
}

} // namespace

struct UndoHistory::Picture {
    DibPicture dib;
    size_t Bytes() const { return PixelBytes(dib) + size_t(DibInfoSize(DibBitCount(dib))); }
};

struct UndoHistory::LayerState {
    LayerSettings settings;
    std::string fontName;
    std::string layerText;
    std::shared_ptr<const Picture> picture; // null: the layer had no pixels
};

struct UndoHistory::State {
    std::vector<LayerState> layers;
    int32_t currentIndex = 0;
    PaperSettings paper;
    // The generator state the sheet shown for this design started from.
    std::optional<uint32_t> sheet;
    uint64_t name = 0;

    // How many bottom layers the two states have in common; a layer's name
    // plays no part in the sheet, so only `withNames` compares it.
    size_t SharedBottomLayers(const State& o, bool withNames = false) const {
        const size_t n = std::min(layers.size(), o.layers.size());
        for (size_t i = 0; i < n; ++i) {
            const LayerState& a = layers[i];
            const LayerState& b = o.layers[i];
            LayerSettings sa = a.settings;
            if (!withNames) sa.Name = b.settings.Name;
            if (sa != b.settings || a.fontName != b.fontName || a.layerText != b.layerText ||
                a.picture != b.picture)
                return i;
        }
        return n;
    }

    bool SameDesign(const State& o) const {
        return layers.size() == o.layers.size() && SamePaper(paper, o.paper) &&
               SharedBottomLayers(o, true) == layers.size();
    }
};

UndoHistory::UndoHistory(size_t byteLimit) : byteLimit_(byteLimit) {}
UndoHistory::~UndoHistory() = default;

std::shared_ptr<UndoHistory::State> UndoHistory::Snapshot(const Design& design) const {
    auto state = std::make_shared<State>();
    state->currentIndex = design.Layers.SelectedIndex();
    state->paper = design.Paper;
    const State* shown = states_.empty() ? nullptr : states_[index_].get();
    for (uint32_t i = 0; i < design.Layers.size(); ++i) {
        const TLayerRecord& rec = design.Layers[i];
        LayerState layer;
        layer.settings = rec;
        layer.fontName = rec.FontName;
        layer.layerText = rec.LayerText;
        if (!rec.LayerPicture.empty()) {
            // Share the shown state's copy when the pixels are the same; the
            // same layer's picture is the likely match, so it is tried first.
            if (shown) {
                if (i < shown->layers.size() && shown->layers[i].picture &&
                    SamePixels(shown->layers[i].picture->dib, rec.LayerPicture))
                    layer.picture = shown->layers[i].picture;
                for (size_t k = 0; !layer.picture && k < shown->layers.size(); ++k) {
                    const auto& p = shown->layers[k].picture;
                    if (p && SamePixels(p->dib, rec.LayerPicture)) layer.picture = p;
                }
            }
            if (!layer.picture) {
                auto copy = std::make_shared<Picture>();
                if (!MakeDIBCopy(rec.LayerPicture, copy->dib)) return nullptr;
                layer.picture = std::move(copy);
            }
        }
        state->layers.push_back(std::move(layer));
    }
    return state;
}

void UndoHistory::Reset(const Design& design) {
    states_.clear();
    index_ = 0;
    auto state = Snapshot(design);
    if (state) {
        state->name = ++lastName_;
        states_.push_back(std::move(state));
    }
    bytes_ = CountBytes();
}

bool UndoHistory::Record(const Design& design) {
    if (states_.empty()) {
        Reset(design);
        return false;
    }
    auto state = Snapshot(design);
    if (!state) {
        // No memory for a snapshot: the history cannot follow this change, so
        // offering to undo across it would restore the wrong design.
        states_.clear();
        index_ = 0;
        bytes_ = 0;
        return false;
    }
    if (state->SameDesign(*states_[index_])) {
        states_[index_]->currentIndex = design.Layers.SelectedIndex();
        return false;
    }
    states_.resize(index_ + 1);
    state->name = ++lastName_;
    states_.push_back(std::move(state));
    index_ = states_.size() - 1;
    Trim();
    return true;
}

std::string UndoHistory::Undo(Design& design) {
    if (!CanUndo()) return {};
    --index_;
    return Restore(*states_[index_], design);
}

std::string UndoHistory::Redo(Design& design) {
    if (!CanRedo()) return {};
    ++index_;
    return Restore(*states_[index_], design);
}

std::string UndoHistory::Restore(const State& state, Design& design) const {
    std::string message;
    const double zoom = design.Paper.Zoom;
    design.Layers.Clear();
    for (const LayerState& layer : state.layers) {
        TLayerRecord& rec = design.Layers.Add();
        static_cast<LayerSettings&>(rec) = layer.settings;
        rec.FontName = layer.fontName;
        rec.LayerText = layer.layerText;
        if (layer.picture && !MakeDIBCopy(layer.picture->dib, rec.LayerPicture)) message = kCopyMemoryMessage;
    }
    design.Paper = state.paper;
    design.Paper.Zoom = zoom;
    const int32_t last = int32_t(design.Layers.size()) - 1;
    design.Layers.Select(state.currentIndex < 0 ? 0 : (state.currentIndex > last ? last : state.currentIndex));
    return message;
}

size_t UndoHistory::CountBytes() const {
    std::unordered_set<const Picture*> seen;
    size_t bytes = 0;
    for (const auto& state : states_) {
        bytes += sizeof(State);
        for (const LayerState& layer : state->layers) {
            bytes += sizeof(LayerState) + layer.fontName.size() + layer.layerText.size() +
                     layer.settings.Name.size();
            if (layer.picture && seen.insert(layer.picture.get()).second) bytes += layer.picture->Bytes();
        }
    }
    return bytes;
}

void UndoHistory::Trim() {
    bytes_ = CountBytes();
    // The shown state always stays, however large it is.
    while (bytes_ > byteLimit_ && index_ > 0) {
        states_.erase(states_.begin());
        --index_;
        bytes_ = CountBytes();
    }
}

} // namespace zb

namespace zb {

void UndoHistory::SetSheet(uint32_t startSeed) {
    if (index_ < states_.size()) states_[index_]->sheet = startSeed;
}

int UndoHistory::SharedBottomLayers(bool back) const {
    if (back ? !CanUndo() : !CanRedo()) return 0;
    return int(states_[index_]->SharedBottomLayers(*states_[back ? index_ - 1 : index_ + 1]));
}

uint64_t UndoHistory::CurrentState() const { return index_ < states_.size() ? states_[index_]->name : 0; }

std::optional<uint32_t> UndoHistory::Sheet() const {
    if (index_ < states_.size()) return states_[index_]->sheet;
    return std::nullopt;
}

} // namespace zb
