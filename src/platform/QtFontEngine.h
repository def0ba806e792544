#pragma once
// The core's font interface on Qt Gui: the installed font families and texts
// rendered black on white without antialiasing. Needs a QGuiApplication.
// One engine serves every thread (the screen's composition, a print, an
// export at once): its calls take turns behind a lock, so a text comes out
// the same whichever thread asks.
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "render/FontEngine.h"

namespace zb::platform {

class QtFontEngine final : public FontEngine {
public:
    // Every installed family once, as Windows-1252 (the bytes a layer's
    // FontName holds), sorted alphabetically without regard to case. Generic
    // aliases ("Sans Serif" and the like) and families whose names have no
    // Windows-1252 spelling are left out. Read once, then cached.
    const std::vector<std::string>& Families() override;

    // `family` and `text` are Windows-1252. The character height (em height,
    // without internal leading) is `pixelHeight` pixels; 0 uses the height of
    // the application's default font. The bitmap is as wide as the text's
    // advance width and as high as the font's line height (ascent + descent);
    // every pixel is exactly 0 or 255. Sides are capped at kMaxSide pixels.
    TextBitmap Render(const std::string& family, int pixelHeight, std::string_view text) override;
    TextBitmap RenderClipped(const std::string& family, int pixelHeight, std::string_view text, int maxWidth,
                             int maxHeight) override;

    // The family the platform actually uses for `family` (Windows-1252 in and
    // out), e.g. a metric-compatible face for a family that is not installed.
    static std::string ResolvedFamily(const std::string& family);

    // Pixel height used for a request of height 0.
    static int DefaultPixelHeight();

    static constexpr int kMaxSide = 16384;

private:
    std::mutex mutex_;
    std::optional<std::vector<std::string>> families_;
};

} // namespace zb::platform
