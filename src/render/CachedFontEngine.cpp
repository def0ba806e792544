#include "render/CachedFontEngine.h"

namespace zb {

CachedFontEngine::CachedFontEngine(FontEngine& engine, size_t byteLimit) : engine_(engine), byteLimit_(byteLimit) {}

size_t CachedFontEngine::SizeOf(const Key& key, const TextBitmap& bitmap) {
    return bitmap.pixels.size() + std::get<0>(key).size() + std::get<2>(key).size() + sizeof(Entry) + sizeof(Key);
}

TextBitmap CachedFontEngine::Render(const std::string& family, int pixelHeight, std::string_view text) {
    return Lookup(Key{family, pixelHeight, std::string(text), -1, -1});
}

TextBitmap CachedFontEngine::RenderClipped(const std::string& family, int pixelHeight, std::string_view text,
                                           int maxWidth, int maxHeight) {
    return Lookup(Key{family, pixelHeight, std::string(text), maxWidth, maxHeight});
}

TextBitmap CachedFontEngine::Lookup(Key key) {
    auto found = entries_.find(key);
    if (found != entries_.end()) {
        uses_.splice(uses_.begin(), uses_, found->second.use);
        return found->second.bitmap;
    }
    const auto& [family, height, text, maxWidth, maxHeight] = key;
    TextBitmap bitmap = maxWidth < 0 ? engine_.Render(family, height, text)
                                     : engine_.RenderClipped(family, height, text, maxWidth, maxHeight);
    const size_t size = SizeOf(key, bitmap);
    if (size > byteLimit_ / 4) return bitmap; // a huge text would push out everything else
    while (bytes_ + size > byteLimit_ && !uses_.empty()) {
        auto last = entries_.find(uses_.back());
        bytes_ -= SizeOf(last->first, last->second.bitmap);
        entries_.erase(last);
        uses_.pop_back();
    }
    uses_.push_front(key);
    entries_.emplace(std::move(key), Entry{bitmap, uses_.begin()});
    bytes_ += size;
    return bitmap;
}

void CachedFontEngine::Clear() {
    entries_.clear();
    uses_.clear();
    bytes_ = 0;
}

} // namespace zb
