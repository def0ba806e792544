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
    // The families of Families() that can write every character of `text`
    // (Windows-1252): those a random font is drawn from. The default keeps
    // them all; engines that know their glyphs leave out the others.
    virtual const std::vector<std::string>& FamiliesFor(std::string_view text);
    // Renders `text` (Windows-1252 bytes) in `family` at a character height of
    // `pixelHeight` pixels (0: the platform's default height), black on white,
    // as wide and high as the text. An unknown family falls back the way the
    // platform does.
    virtual TextBitmap Render(const std::string& family, int pixelHeight, std::string_view text) = 0;

    // The top-left part of Render()'s bitmap, at most maxWidth x maxHeight
    // pixels: a bitmap as wide as the text when that is narrower, else exactly
    // maxWidth wide (likewise for the height). Lets a caller that can show only
    // a raster's worth of pixels render long or huge texts without allocating
    // them whole. The default crops Render(); engines override it to render
    // only the part asked for.
    virtual TextBitmap RenderClipped(const std::string& family, int pixelHeight, std::string_view text,
                                     int maxWidth, int maxHeight);

    // Loads what rendering in `families` takes (the font list, the faces),
    // so that compositions that follow ask the platform for nothing new.
    virtual void Prepare(const std::vector<std::string>& families) { (void)families; }
};

struct Design;

// Prepares the fonts the design's text layers draw with: a layer's own font,
// or every family for a layer of random fonts. Called before a composition
// that runs short of memory, so the font library gets its memory first.
void PrepareFonts(const Design& design, FontEngine& fonts);

// The top-left part of a bitmap, at most maxWidth x maxHeight. A bitmap whose
// pixels do not cover width x height is treated as blank (white).
TextBitmap CropTextBitmap(TextBitmap bitmap, int maxWidth, int maxHeight);

} // namespace zb
