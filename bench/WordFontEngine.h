#pragma once
// A synthetic font engine for benchmarks: bitmaps shaped like a word, so text
// layers can be timed without the platform's font rendering.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "render/FontEngine.h"

namespace zb::bench {

// Returns a bitmap shaped like a four-letter word at the asked height: about
// 1.84 em wide, 1.12 em high, a fifth of it ink in strokes, as a sans-serif
// "Test" renders.
class WordEngine : public zb::FontEngine {
public:
    const std::vector<std::string>& Families() override { return families_; }
    zb::TextBitmap Render(const std::string& family, int pixelHeight, std::string_view) override {
        const int em = std::max(pixelHeight == 0 ? 16 : pixelHeight, 2) + int(family.size() % 3);
        zb::TextBitmap b;
        b.width = em * 184 / 100;
        b.height = em * 112 / 100;
        b.pixels.assign(size_t(b.width) * size_t(b.height), 255);
        const int stroke = std::max(em / 9, 1);
        const int top = em * 18 / 100, base = em * 90 / 100;
        auto ink = [&](int x0, int y0, int x1, int y1) {
            for (int y = std::max(y0, 0); y < std::min(y1, b.height); ++y)
                for (int x = std::max(x0, 0); x < std::min(x1, b.width); ++x) b.pixels[size_t(y * b.width + x)] = 0;
        };
        const int cell = b.width / 4;
        for (int letter = 0; letter < 4; ++letter) {
            const int x = letter * cell;
            const int mid = x + cell / 2;
            ink(mid - stroke / 2, letter % 2 ? (top + base) / 2 : top, mid + stroke / 2 + 1, base); // stem
            ink(x + cell / 8, letter % 2 ? (top + base) / 2 : top, x + cell * 7 / 8,
                (letter % 2 ? (top + base) / 2 : top) + stroke);                                    // bar
            if (letter % 2) {
                ink(x + cell / 8, base - stroke, x + cell * 7 / 8, base);                            // foot
                ink(x + cell / 8, (top + base) / 2, x + cell / 8 + stroke, base);                    // bowl
            }
        }
        return b;
    }

private:
    std::vector<std::string> families_{"Arial", "Courier New", "Georgia", "Times New Roman", "Verdana"};
};

} // namespace zb::bench
