#pragma once
// A font engine that remembers what it rendered. Recomposing a design renders
// the same texts in the same fonts and sizes again (a text layer with random
// fonts and sizes draws from a limited set of families and heights), and
// asking the platform for a font is far slower than the composition itself.
// The cache is bounded by bytes; the least recently used bitmaps go first.
//
// Ownership: wraps an engine owned by the caller, which must outlive it. Not
// thread-safe: one user at a time (the screen's composer, one job after the other).
#include <cstddef>
#include <list>
#include <map>
#include <string>
#include <tuple>

#include "render/FontEngine.h"

namespace zb {

class CachedFontEngine final : public FontEngine {
public:
    explicit CachedFontEngine(FontEngine& engine, size_t byteLimit = size_t(32) << 20);

    const std::vector<std::string>& Families() override { return engine_.Families(); }
    void Prepare(const std::vector<std::string>& families) override { engine_.Prepare(families); }
    const std::vector<std::string>& FamiliesFor(std::string_view text) override { return engine_.FamiliesFor(text); }
    TextBitmap Render(const std::string& family, int pixelHeight, std::string_view text) override;
    TextBitmap RenderClipped(const std::string& family, int pixelHeight, std::string_view text, int maxWidth,
                             int maxHeight) override;

    size_t Bytes() const { return bytes_; }
    size_t Entries() const { return entries_.size(); }
    void Clear();

private:
    // family, height, text, maxWidth, maxHeight (-1 for an unclipped Render).
    using Key = std::tuple<std::string, int, std::string, int, int>;
    struct Entry {
        TextBitmap bitmap;
        std::list<Key>::iterator use;
    };
    TextBitmap Lookup(Key key);
    static size_t SizeOf(const Key& key, const TextBitmap& bitmap);

    FontEngine& engine_;
    size_t byteLimit_;
    size_t bytes_ = 0;
    std::map<Key, Entry> entries_;
    std::list<Key> uses_; // most recent first
};

} // namespace zb
