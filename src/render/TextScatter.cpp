#include "render/TextScatter.h"

#include "base/StopScope.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <deque>
#include <iterator>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/LayerChoices.h"
#include "render/TextWalk.h"
#include "render/TextWalkCache.h"

namespace zb {

namespace {

// Character heights beyond this come only from damaged files; no sheet needs
// them and engines would spend seconds on them.
constexpr int kMaxCharacterHeight = 16384;

// Rendered texts are kept for the whole walk; past this many bytes of runs the
// cache starts over (rendering is deterministic, so the output is unchanged).
constexpr size_t kCacheBudgetBytes = size_t{64} << 20;

TextRuns ExtractRuns(const TextBitmap& bitmap) {
    TextRuns out;
    out.width = bitmap.width;
    out.height = bitmap.height;
    out.rowStart.reserve(size_t(bitmap.height) + 1);
    for (int y = 0; y < bitmap.height; ++y) {
        out.rowStart.push_back(uint32_t(out.runs.size()));
        const uint8_t* row = bitmap.pixels.data() + size_t(y) * size_t(bitmap.width);
        int x = 0;
        while (x < bitmap.width) {
            while (x < bitmap.width && row[x] != 0) ++x;
            if (x == bitmap.width) break;
            const int start = x;
            while (x < bitmap.width && row[x] == 0) ++x;
            out.runs.push_back(TextRun{start, x});
        }
    }
    out.rowStart.push_back(uint32_t(out.runs.size()));
    return out;
}

// Font height := Trunc(z * (-size) / 100 * s / 72) in floating point, in this
// order; the character height asked of the engine is its absolute value.
int CharacterHeight(double zoom, int size, double screenPpi) {
    const double height = zoom * double(-size) / 100.0 * screenPpi / 72.0;
    if (std::isnan(height)) return 0;
    return int(std::min(std::fabs(std::trunc(height)), double(kMaxCharacterHeight)));
}

// Writes `count` pixels of one colour; four pixels (twelve bytes) at a time
// where the run is long enough.
void FillRun(uint8_t* p, int count, const uint8_t (&pattern)[12]) {
    for (; count >= 4; count -= 4, p += 12) std::memcpy(p, pattern, 12);
    for (; count > 0; --count, p += 3) std::memcpy(p, pattern, 3);
}

// Writes the colour at every black pixel of the copy whose target lies inside
// the raster. A copy may start left of or above the raster (the copies of a
// seamless tile, any copy seen through a window) and is cut at every edge. A
// copy mirrored left to right (flipX) or top to bottom (flipY) is the text's
// mirror image, its top-left corner at (px, py) all the same.
void StampCopy(const RasterView& raster, const TextRuns& text, int64_t px, int64_t py, bool flipX, bool flipY,
               uint8_t blue, uint8_t green, uint8_t red) {
    if (raster.empty()) return;
    uint8_t pattern[12];
    for (int i = 0; i < 12; i += 3) pattern[i] = blue, pattern[i + 1] = green, pattern[i + 2] = red;
    const int64_t j0 = std::max<int64_t>(0, -py);
    const int64_t rows = std::min<int64_t>(text.height, raster.height - py);
    const int64_t first = -px;                // runs are cut to columns first .. columns - 1
    const int64_t columns = raster.width - px;
    for (int64_t j = j0; j < rows; ++j) {
        uint8_t* row = raster.row(int(py + j));
        const size_t source = size_t(flipY ? text.height - 1 - j : j);
        const TextRun* run = text.runs.data() + text.rowStart[source];
        const TextRun* end = text.runs.data() + text.rowStart[source + 1];
        if (flipX) {
            for (; run != end; ++run) {
                const int64_t x0 = std::max<int64_t>(text.width - run->x1, first);
                const int64_t x1 = std::min<int64_t>(text.width - run->x0, columns);
                if (x0 < x1) FillRun(row + (px + x0) * 3, int(x1 - x0), pattern);
            }
            continue;
        }
        for (; run != end && run->x0 < columns; ++run) {
            const int64_t x0 = std::max<int64_t>(run->x0, first);
            const int64_t x1 = std::min<int64_t>(run->x1, columns);
            if (x0 < x1) FillRun(row + (px + x0) * 3, int(x1 - x0), pattern);
        }
    }
}

// Each distinct (font, character height) is rendered once per walk. The
// texts stay where they are while the walk goes on (a deque), so a walk that
// is kept can name them by their index.
class RenderCache {
public:
    RenderCache(FontEngine& fonts, std::string_view text, int maxWidth, int maxHeight)
        : fonts_(fonts), text_(text), maxWidth_(maxWidth), maxHeight_(maxHeight) {}

    // `fontKey` identifies `family` within this walk (its list index, or -1
    // for the layer's own font). `index` is the text's place in Texts().
    const TextRuns& Get(int fontKey, const std::string& family, int characterHeight, uint32_t& index) {
        const uint64_t key = (uint64_t(uint32_t(fontKey)) << 32) | uint32_t(characterHeight);
        if (auto it = entries_.find(key); it != entries_.end()) {
            index = it->second;
            return texts_[index];
        }
        // An engine may hand back more than asked for; only the raster's worth matters.
        TextRuns runs = ExtractRuns(CropTextBitmap(
            fonts_.RenderClipped(family, characterHeight, text_, maxWidth_, maxHeight_), maxWidth_, maxHeight_));
        if (bytes_ + runs.Bytes() > kCacheBudgetBytes) {
            entries_.clear();
            texts_.clear();
            bytes_ = 0;
            startedOver_ = true;
        }
        bytes_ += runs.Bytes();
        index = uint32_t(texts_.size());
        texts_.push_back(std::move(runs));
        entries_.emplace(key, index);
        return texts_.back();
    }

    // True once the cache had to start over: indices given before are void.
    bool StartedOver() const { return startedOver_; }
    size_t Bytes() const { return bytes_; }
    std::vector<TextRuns> TakeTexts() {
        return std::vector<TextRuns>(std::make_move_iterator(texts_.begin()), std::make_move_iterator(texts_.end()));
    }

private:
    FontEngine& fonts_;
    std::string_view text_;
    int maxWidth_;
    int maxHeight_;
    std::unordered_map<uint64_t, uint32_t> entries_;
    std::deque<TextRuns> texts_;
    size_t bytes_ = 0;
    bool startedOver_ = false;
};

// Stamps a kept walk's copies: the same pixels as the walk that made it.
void StampWalk(const RasterView& raster, const TextWalk& walk, const TileWrap& wrap, int64_t left, int64_t top) {
    if (raster.empty()) return;
    for (const TextStamp& s : walk.stamps) {
        const TextRuns& copy = walk.texts[s.text];
        // Copies beside the raster are passed over at once, unless a wrap may bring them in.
        if (!wrap.On() && (s.y - top >= raster.height || s.y - top + copy.height <= 0 || s.x - left >= raster.width ||
                           s.x - left + copy.width <= 0))
            continue;
        const int64_t x1 = int64_t(s.x) + copy.width - 1, y1 = int64_t(s.y) + copy.height - 1;
        wrap.ForEachCopy(s.x, s.y, x1, y1, [&](const TileCopy& at) {
            StampCopy(raster, copy, at.Left(s.x, x1) - left, at.Top(s.y, y1) - top, at.flipX, at.flipY, s.blue,
                      s.green, s.red);
        });
    }
}

} // namespace

void ScatterText(RasterView raster, const TLayerRecord& layer, double screenPpi, double zoom,
                 RandomInt& random, FontEngine& fonts, const TileWrap& wrap, const SheetWindow& window,
                 TextWalkCache* walks) {
    const std::string_view text = layer.LayerText;
    // An empty text has nothing to show: the layer keeps its ground fill and
    // the walk draws nothing.
    if (text.empty() || (window.Whole() && raster.empty())) return;

    // The walk covers the sheet; copies land shifted by the window's corner.
    const int W = window.Width(raster);
    const int H = window.Height(raster);
    const int64_t left = window.Left();
    const int64_t top = window.Top();
    const std::string ownFont(layer.FontName);
    const std::vector<std::string>* families = layer.TextFontMode == kFontRandom ? &fonts.FamiliesFor(text) : nullptr;

    // A walk of this sheet kept by an earlier band: stamp it, and leave the
    // generator where the walk left it.
    const TextWalkKey key = walks ? TextWalkKey::Of(layer, random.seed(), W, H, screenPpi, zoom) : TextWalkKey{};
    if (walks) {
        if (const std::shared_ptr<const TextWalk> kept = walks->Find(key)) {
            StampWalk(raster, *kept, wrap, left, top);
            random.setSeed(kept->endSeed);
            return;
        }
    }
    // Otherwise the walk is recorded as it goes, to be kept when it fits.
    std::shared_ptr<TextWalk> record = walks ? std::make_shared<TextWalk>() : nullptr;
    const size_t room = walks ? walks->Room() : 0;
    RenderCache cache(fonts, text, W, H);

    // Cells tile the raster from its top-left corner, each as wide as its
    // text, each row as high as its tallest text.
    for (int64_t cellY = 0; cellY < H;) {
        // A cancelled composition is thrown away: stop a row of cells early.
        if (StopRequested()) return;
        int rowHeight = 1;
        for (int64_t cellX = 0; cellX < W;) {
            int fontKey = -1;
            if (families) {
                // The draw happens even for an empty list, so the order of
                // draws never depends on the installed fonts; the layer's own
                // font stands in then.
                const int n = int(std::min<size_t>(families->size(), INT32_MAX));
                const int pick = random(n);
                if (n > 0) fontKey = pick;
            }
            const int size = layer.TextSizeMode != kTextSizeRandom ? layer.TextSize : random(layer.TextSize);
            const int characterHeight = CharacterHeight(zoom, size, screenPpi);
            uint32_t textIndex = 0;
            const TextRuns& copy =
                cache.Get(fontKey, fontKey >= 0 ? (*families)[size_t(fontKey)] : ownFont, characterHeight, textIndex);

            uint8_t red, green, blue;
            if (layer.TextColorMode == kColorRandom) {
                red = uint8_t(random(256));
                green = uint8_t(random(256));
                blue = uint8_t(random(256));
            } else {
                const uint32_t c = layer.TextColor;
                const uint32_t k = layer.TextColorMode == kColorSimilar ? uint32_t(random(50) + 51) : 100u;
                red = uint8_t((c & 0xFF) * k / 100);
                green = uint8_t(((c >> 8) & 0xFF) * k / 100);
                blue = uint8_t(((c >> 16) & 0xFF) * k / 100);
            }

            int px, py;
            if (layer.TextPosMode == kPositionRandom) {
                px = random(W);
                py = random(H);
            } else {
                px = int(cellX);
                py = int(cellY);
            }

            if (random(10) - 1 < layer.TextCount && copy.width > 0 && copy.height > 0) {
                const int64_t x1 = int64_t(px) + copy.width - 1, y1 = int64_t(py) + copy.height - 1;
                wrap.ForEachCopy(px, py, x1, y1, [&](const TileCopy& at) {
                    StampCopy(raster, copy, at.Left(px, x1) - left, at.Top(py, y1) - top, at.flipX, at.flipY, blue,
                              green, red);
                });
                if (record) {
                    record->stamps.push_back(TextStamp{px, py, textIndex, blue, green, red});
                    if (cache.StartedOver() || record->stamps.size() * sizeof(TextStamp) + cache.Bytes() > room)
                        record.reset(); // too large to keep: the other bands walk on their own
                }
            }

            // A text that renders no width still moves on by one pixel, so the
            // walk always ends.
            cellX += std::max(copy.width, 1);
            rowHeight = std::max(rowHeight, copy.height);
        }
        cellY += rowHeight;
    }
    if (record && !cache.StartedOver()) {
        record->texts = cache.TakeTexts();
        record->endSeed = random.seed();
        walks->Keep(key, std::move(record));
    }
}

} // namespace zb
