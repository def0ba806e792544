#pragma once
// The colour picker's rules without a widget: its colour table with the names
// in three languages, the match of a colour against the table and the reading
// and writing of HTML colour texts. Colours are 32-bit colour references with
// red in the lowest byte, then green, then blue.
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

#include "base/TDibRecord.h"

namespace zb {

enum TCLanguage : int {
    lgEnglish = 0, // "Black", "Maroon", ...
    lgDeutsch = 1, // "Schwarz", "Dunkelrot", ...
    lgFrensh = 2   // "Noir", "Rouge foncé", ...
};

struct ColorTableEntry {
    uint32_t Color;      // colour reference
    const char* English; // UTF-8
    const char* German;
    const char* French;
};

constexpr uint32_t ColorRef(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}
// RedOf, GreenOf and BlueOf come with the colour values of base/TDibRecord.h.

// Sixteen standard colours and, last, the entry that opens the colour dialog;
// its colour is only the start value of the custom colour.
inline constexpr int kCustomColorIndex = 16;
inline constexpr std::array<ColorTableEntry, 17> kColorTable = {{
    {ColorRef(0, 0, 0), "Black", "Schwarz", "Noir"},
    {ColorRef(128, 0, 0), "Maroon", "Dunkelrot", "Rouge foncé"},
    {ColorRef(0, 128, 0), "Green", "Grün", "Vert"},
    {ColorRef(128, 128, 0), "Olive", "Oliv", "Marron clair"},
    {ColorRef(0, 0, 128), "Navy", "Dunkelblau", "Bleu foncé"},
    {ColorRef(128, 0, 128), "Purple", "Purpur", "Violet"},
    {ColorRef(0, 128, 128), "Teal", "Grünblau", "Bleu-vert"},
    {ColorRef(128, 128, 128), "Gray", "Grau", "Gris"},
    {ColorRef(192, 192, 192), "Silver", "Silber", "Argenté"},
    {ColorRef(255, 0, 0), "Red", "Rot", "Rouge"},
    {ColorRef(0, 255, 0), "Lime", "Hellgrün", "Vert"},
    {ColorRef(255, 255, 0), "Yellow", "Gelb", "Jaune"},
    {ColorRef(0, 0, 255), "Blue", "Blau", "Bleu"},
    {ColorRef(255, 0, 255), "Fuchsia", "Rosa", "Fuchsia"},
    {ColorRef(0, 255, 255), "Aqua", "Hellblau", "Vert d'eau"},
    {ColorRef(255, 255, 255), "White", "Weiß", "Blanc"},
    {ColorRef(255, 255, 255), "More...", "Mehr...", "Autres...."},
}};

// Name of table entry `index` in `language`; any language value other than
// German or French gives the English name. Empty outside the table.
QString ColorName(int index, TCLanguage language);

// Index of the LAST entry among 0 .. count-2 whose colour equals `color`
// (so white is entry 15, never the custom entry), or -1 when none does.
// `colors` are the colours the list items hold.
int MatchColorIndex(uint32_t color, const uint32_t* colors, int count);
int MatchColorIndex(uint32_t color); // against the table's 17 colours

// Reads an HTML colour text: upper-cased, empty as "#000000"; characters 2-3
// are red, 4-5 green, 6-7 blue (the first character is skipped whatever it is,
// missing characters give shorter parts), joined as blue, green, red into one
// hexadecimal number. Nothing when a part holds a character that is not a
// hexadecimal digit. So "FF0000" reads as red F0, green 00, blue 0.
std::optional<uint32_t> ParseHtmlColor(const QString& text);

// "#RRGGBB", upper case; the top byte is ignored.
QString FormatHtmlColor(uint32_t color);

} // namespace zb
