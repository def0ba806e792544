#include "render/TextWalkCache.h"

namespace zb {

TextWalkKey TextWalkKey::Of(const TLayerRecord& layer, uint32_t startSeed, int sheetWidth, int sheetHeight,
                            double ppi, double zoom) {
    TextWalkKey key;
    key.startSeed = startSeed;
    key.sheetWidth = sheetWidth;
    key.sheetHeight = sheetHeight;
    key.ppi = ppi;
    key.zoom = zoom;
    key.text = layer.LayerText;
    key.font = layer.FontName;
    key.count = layer.TextCount;
    key.colorMode = layer.TextColorMode;
    key.size = layer.TextSize;
    key.sizeMode = layer.TextSizeMode;
    key.positionMode = layer.TextPosMode;
    key.fontMode = layer.TextFontMode;
    key.color = layer.TextColor;
    return key;
}

std::shared_ptr<const TextWalk> TextWalkCache::Find(const TextWalkKey& key) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& [k, walk] : walks_)
        if (k == key) return walk;
    return nullptr;
}

bool TextWalkCache::Keep(const TextWalkKey& key, std::shared_ptr<const TextWalk> walk) {
    if (!walk) return false;
    const size_t bytes = walk->Bytes();
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& entry : walks_)
        if (entry.first == key) return true; // another band was quicker; its walk is the same
    if (bytes > byteLimit_ - bytes_) return false;
    walks_.emplace_back(key, std::move(walk));
    bytes_ += bytes;
    return true;
}

size_t TextWalkCache::Room() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return byteLimit_ - bytes_;
}

} // namespace zb
