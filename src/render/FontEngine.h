#pragma once
// The core's window onto the platform's fonts: the installed families and a
// text rendered black on white without antialiasing.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zb {

// An 8-bit grey bitmap, top-down, stride == width: 0 is black, 255 white.
struct TextBitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

class FontEngine {
public:
    virtual ~FontEngine() = default;
    // Every installed family once, sorted alphabetically: the list the editor shows.
    virtual const std::vector<std::string>& Families() = 0;
    // Renders `text` (Windows-1252 bytes) in `family` at a character height of
    // `pixelHeight` pixels (0: the platform's default height), black on white,
    // as wide and high as the text. An unknown family falls back the way the
    // platform does.
    virtual TextBitmap Render(const std::string& family, int pixelHeight, std::string_view text) = 0;
};

} // namespace zb
