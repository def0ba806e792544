#pragma once
// The text walks of one sheet (TextWalk), shared by all bands or tiles of it:
// the first band that composes a text layer walks its cells and keeps what it
// drew, the others only stamp. A walk is found again only for the same layer
// settings, sheet size, resolution, zoom and generator state at its start, so
// a walk never stands in for another sheet's. Bounded by bytes: a walk that
// does not fit is not kept, and its bands walk on their own as before.
//
// Ownership: holds the walks it was given, shared read-only; may be used from
// several threads at once (the walks are immutable, the table is locked).
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "model/TLayerRecord.h"
#include "render/TextWalk.h"

namespace zb {

struct TextWalkKey {
    uint32_t startSeed = 0;
    int sheetWidth = 0, sheetHeight = 0;
    double ppi = 0, zoom = 0;
    // What the walk takes from the layer.
    std::string text, font;
    int32_t count = 0, colorMode = 0, size = 0, sizeMode = 0, positionMode = 0, fontMode = 0;
    uint32_t color = 0;

    static TextWalkKey Of(const TLayerRecord& layer, uint32_t startSeed, int sheetWidth, int sheetHeight,
                          double ppi, double zoom);
    friend bool operator==(const TextWalkKey&, const TextWalkKey&) = default;
};

class TextWalkCache {
public:
    explicit TextWalkCache(size_t byteLimit = size_t{64} << 20) : byteLimit_(byteLimit) {}

    // The walk kept under the key, or null.
    std::shared_ptr<const TextWalk> Find(const TextWalkKey& key) const;
    // Keeps the walk unless the limit would be passed; says whether it did.
    bool Keep(const TextWalkKey& key, std::shared_ptr<const TextWalk> walk);
    // Bytes a walk may still take.
    size_t Room() const;

private:
    mutable std::mutex mutex_;
    size_t byteLimit_;
    size_t bytes_ = 0;
    std::vector<std::pair<TextWalkKey, std::shared_ptr<const TextWalk>>> walks_; // a few text layers
};

} // namespace zb
