#pragma once
// The core's font interface on Qt Gui: the installed font families and texts
// rendered black on white without antialiasing. Needs a QGuiApplication.
// One engine serves every thread (the screen's composition, a print, an
// export at once): its calls take turns behind a lock, so a text comes out
// the same whichever thread asks.
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "render/FontEngine.h"

namespace zb::platform {

class QtFontEngine final : public FontEngine {
public:
    // Every installed family once, as Windows-1252 (the bytes a layer's
    // FontName holds), sorted alphabetically without regard to case. A family
    // installed by several foundries ("C059 [urw]", "C059 [UKWN]") is listed
    // once by its plain name. Generic aliases ("Sans Serif" and the like) and
    // families whose names have no Windows-1252 spelling are left out. Read
    // once, then cached.
    const std::vector<std::string>& Families() override;
    // The families with a glyph of their own for every character of `text`
    // (spaces and soft hyphens need none). Symbol fonts write no ordinary
    // text: they put their symbols where letters are asked for, so they are
    // left out. Worked out once per text; safe to call from the composing
    // thread while the window asks too.
    const std::vector<std::string>& FamiliesFor(std::string_view text) override;
    // Whether `family` (Windows-1252) is installed under that name (a stored
    // font that is not is drawn with the platform's substitute).
    static bool Installed(const std::string& family);

    // `family` and `text` are Windows-1252. The character height (em height,
    // without internal leading) is `pixelHeight` pixels; 0 uses the height of
    // the application's default font. The bitmap is as wide as the text's
    // advance width and as high as the font's line height (ascent + descent);
    // every pixel is exactly 0 or 255. Sides are capped at kMaxSide pixels.
    // Texts are drawn into a one-bit picture (an eighth of the memory).
    // Qt's paint engine spreads large fills over its global thread pool and
    // waits for them; a helper it cannot start (memory short) would leave it
    // waiting forever. So the first engine starts the pool's threads while
    // there is memory, keeps them, and lets the pool make no more; where not
    // one could be started, rendering throws std::bad_alloc instead.
    // Resolves each family and loads its face once; later calls skip what is
    // loaded. Rendering and preparing throw std::bad_alloc when memory is too
    // short for the font library to work safely (it would crash instead).
    void Prepare(const std::vector<std::string>& families) override;

    TextBitmap Render(const std::string& family, int pixelHeight, std::string_view text) override;
    TextBitmap RenderClipped(const std::string& family, int pixelHeight, std::string_view text, int maxWidth,
                             int maxHeight) override;

    // The family the platform actually uses for `family` (Windows-1252 in and
    // out), e.g. a metric-compatible face for a family that is not installed.
    static std::string ResolvedFamily(const std::string& family);

    // Pixel height used for a request of height 0.
    static int DefaultPixelHeight();

    static constexpr int kMaxSide = 16384;

    QtFontEngine();

private:
    std::mutex mutex_;
    std::optional<std::vector<std::string>> families_;
    std::set<std::string> prepared_;
    std::mutex writersMutex_;
    std::map<std::string, std::vector<std::string>, std::less<>> writers_;
};

} // namespace zb::platform
