#pragma once
// The choice fields of a layer record: named values, each beside the German
// caption its list shows. The generators compare against the names, and the
// window, the command-line program and design info take the captions from
// these tables, so there is one place for both.
//
// Records hold the values as plain 32-bit integers (the design file stores
// them that way); a value read from a foreign file may lie outside a table.
// Captions are UTF-8.
#include <array>
#include <cstdint>
#include <string_view>

namespace zb {

// Layer kinds are LayerKind in TLayerRecord.h (the editor's page index).
inline constexpr std::array<std::string_view, 5> kKindPageCaptions = {"Farbverlauf", "Muster", "Textur/Grafik",
                                                                      "Grafikfilter", "Text"};

enum GradientDirection : int32_t {
    kGradientTopToBottom = 0,     // "Oben -> Unten"
    kGradientLeftToRight = 1,     // "Links -> Rechts"
    kGradientTopLeftDiagonal = 2, // "Oben links -> Unten rechts"
    kGradientTopRightDiagonal = 3 // "Oben rechts -> Unten links"
};
inline constexpr std::array<std::string_view, 4> kGradientDirectionCaptions = {
    "Oben -> Unten", "Links -> Rechts", "Oben links -> Unten rechts", "Oben rechts -> Unten links"};

enum PatternShape : int32_t {
    kShapeDiscs = 0,     // "Punkte"
    kShapeTriangles = 1, // "Dreiecke"
    kShapeRectangles = 2,// "Rechtecke"
    kShapeSquares = 3,   // "Quadrate"
    kShapeStripes = 4,   // "Streifen"
    kShapeStripes2 = 5   // "Streifen 2"
};
inline constexpr std::array<std::string_view, 6> kPatternShapeCaptions = {"Punkte",   "Dreiecke", "Rechtecke",
                                                                          "Quadrate", "Streifen", "Streifen 2"};

// Pattern and text colours.
enum ColorMode : int32_t {
    kColorRandom = 0,  // "Zufällig"
    kColorSimilar = 1, // "Zufällig - ähnliche Farben"
    kColorSingle = 2   // "Einfarbig"
};
inline constexpr std::array<std::string_view, 3> kColorModeCaptions = {"Zufällig", "Zufällig - ähnliche Farben",
                                                                       "Einfarbig"};

// Pattern size. "Feste Göße" is the product's caption as it stands.
enum PatternSizeMode : int32_t {
    kPatternSizeRandom = 0, // "Zufällig"
    kPatternSizeFixed = 1   // "Feste Göße"
};
inline constexpr std::array<std::string_view, 2> kPatternSizeModeCaptions = {"Zufällig", "Feste Göße"};

// Pattern and text positions.
enum PositionMode : int32_t {
    kPositionRandom = 0, // "Zufällig"
    kPositionRegular = 1 // "Regelmäßig"
};
inline constexpr std::array<std::string_view, 2> kPositionModeCaptions = {"Zufällig", "Regelmäßig"};

enum TextSizeMode : int32_t {
    kTextSizeRandom = 0, // "Zufällig"
    kTextSizeChosen = 1  // "Die gewählte Größe"
};
inline constexpr std::array<std::string_view, 2> kTextSizeModeCaptions = {"Zufällig", "Die gewählte Größe"};

enum TextFontMode : int32_t {
    kFontRandom = 0, // "Zufällig"
    kFontChosen = 1  // "Die gewählte"
};
inline constexpr std::array<std::string_view, 2> kTextFontModeCaptions = {"Zufällig", "Die gewählte"};

// Caption of value v in a table; empty when v lies outside it.
template <size_t N>
constexpr std::string_view ChoiceCaption(const std::array<std::string_view, N>& table, int64_t v) {
    return v >= 0 && v < int64_t(N) ? table[size_t(v)] : std::string_view{};
}

} // namespace zb
