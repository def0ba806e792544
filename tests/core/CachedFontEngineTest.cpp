#include <gtest/gtest.h>

#include "render/CachedFontEngine.h"

using namespace zb;

namespace {

// Renders a bitmap of height x (10 * text length) and counts the calls.
class CountingEngine : public FontEngine {
public:
    int calls = 0;
    std::vector<std::string> families{"A", "B"};
    const std::vector<std::string>& Families() override { return families; }
    TextBitmap Render(const std::string& family, int h, std::string_view text) override {
        ++calls;
        TextBitmap b;
        b.width = int(text.size()) * 10;
        b.height = h;
        b.pixels.assign(size_t(b.width) * size_t(h), uint8_t(family[0]));
        return b;
    }
};

} // namespace

TEST(CachedFontEngine, RendersEachFontSizeAndTextOnceUntilTheBoundDropsTheOldest) {
    CountingEngine engine;
    CachedFontEngine cached(engine, 20000);
    const TextBitmap a = cached.Render("A", 20, "Test");
    EXPECT_EQ(cached.Render("A", 20, "Test").pixels, a.pixels);
    EXPECT_EQ(engine.calls, 1);
    // Another family, height, text or clip is another bitmap.
    cached.Render("B", 20, "Test");
    cached.Render("A", 21, "Test");
    cached.Render("A", 20, "Tests");
    const TextBitmap clipped = cached.RenderClipped("A", 20, "Test", 15, 7);
    EXPECT_EQ(clipped.width, 15);
    EXPECT_EQ(clipped.height, 7);
    EXPECT_EQ(engine.calls, 5);
    EXPECT_EQ(cached.Entries(), 5u);

    // Each 4000-pixel bitmap: only the most recent few stay within 20000 bytes.
    for (int h = 100; h < 110; ++h) cached.Render("A", h, "Test");
    EXPECT_LE(cached.Bytes(), 20000u);
    const int before = engine.calls;
    cached.Render("A", 109, "Test"); // recent: kept
    EXPECT_EQ(engine.calls, before);
    cached.Render("A", 20, "Test"); // oldest: dropped
    EXPECT_EQ(engine.calls, before + 1);
    // A bitmap larger than a quarter of the bound is not kept at all.
    cached.Render("A", 2000, "Test");
    cached.Render("A", 2000, "Test");
    EXPECT_EQ(engine.calls, before + 3);
}
