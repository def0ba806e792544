#include "workspace/SheetCache.h"

#include <new>

namespace zb {

namespace {

size_t StateBytes(RasterSize size) {
    return size.empty() ? 0 : size_t(size.width) * 3 * size_t(size.height);
}

} // namespace

void SheetCache::LetGo(std::shared_ptr<KeptState> state) {
    if (!state || state.use_count() > 1 || !state->pixels) return;
    if (!(state->size == spareSize_)) {
        spare_.clear();
        spareSize_ = state->size;
    }
    if (HeldBytes() + state->Bytes() <= byteLimit_) spare_.push_back(std::move(state->pixels));
}

size_t SheetCache::HeldBytes() const {
    size_t bytes = spare_.size() * StateBytes(spareSize_);
    for (const auto& [layers, state] : states_) bytes += state->Bytes();
    return bytes;
}

void SheetCache::DropAbove(int layer) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++epoch_;
    for (auto it = states_.upper_bound(layer); it != states_.end();) {
        std::shared_ptr<KeptState> state = std::move(it->second);
        it = states_.erase(it);
        LetGo(std::move(state));
    }
}

uint64_t SheetCache::Epoch() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return epoch_;
}

std::shared_ptr<const KeptState> SheetCache::Nearest(const SheetKey& key, int layers) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!(key == key_)) return nullptr;
    auto it = states_.upper_bound(layers);
    if (it == states_.begin()) return nullptr;
    return std::prev(it)->second;
}

int SheetCache::Spacing(int count, size_t stateBytes) const {
    if (count <= 0 || stateBytes == 0) return 0;
    const size_t fit = byteLimit_ / stateBytes;
    if (fit == 0) return 0;
    // ceil(count / fit): then count / spacing states are kept, at most `fit`.
    return int((size_t(count) + fit - 1) / fit);
}

std::shared_ptr<KeptState> SheetCache::NewState(RasterSize size) {
    auto state = std::make_shared<KeptState>();
    state->size = size;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (size == spareSize_ && !spare_.empty()) {
            state->pixels = std::move(spare_.back());
            spare_.pop_back();
            return state;
        }
    }
    state->pixels.reset(new (std::nothrow) uint8_t[StateBytes(size)]);
    if (!state->pixels) return nullptr;
    return state;
}

void SheetCache::Keep(uint64_t epoch, const SheetKey& key, int spacing, std::shared_ptr<KeptState> kept) {
    if (!kept) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (epoch != epoch_ || spacing <= 0 || kept->layers % spacing != 0) {
        LetGo(std::move(kept));
        return;
    }
    if (!(key == key_)) {
        std::map<int, std::shared_ptr<KeptState>> other;
        other.swap(states_);
        for (auto& [layers, old] : other) LetGo(std::move(old));
        key_ = key;
    }
    for (auto it = states_.begin(); it != states_.end();) {
        if (it->first % spacing == 0 && it->first != kept->layers) {
            ++it;
            continue;
        }
        std::shared_ptr<KeptState> old = std::move(it->second);
        it = states_.erase(it);
        LetGo(std::move(old));
    }
    // The bound holds even when the spacing was worked out for fewer layers.
    while (HeldBytes() + kept->Bytes() > byteLimit_ && !spare_.empty()) spare_.pop_back();
    if (HeldBytes() + kept->Bytes() > byteLimit_) return;
    states_[kept->layers] = std::move(kept);
}

size_t SheetCache::Bytes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    size_t bytes = 0;
    for (const auto& [layers, state] : states_) bytes += state->Bytes();
    return bytes;
}

} // namespace zb
