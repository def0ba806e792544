#include "cli/DesignInfo.h"

#include <cstdio>
#include <sstream>

#include "imaging/FilterTable.h"
#include "model/Cp1252.h"
#include "model/SpinField.h"

namespace zb::cli {
namespace {

constexpr const char* kDirections[] = {"Oben -> Unten", "Links -> Rechts", "Oben links -> Unten rechts",
                                       "Oben rechts -> Unten links"};
constexpr const char* kShapes[] = {"Punkte", "Dreiecke", "Rechtecke", "Quadrate", "Streifen", "Streifen 2"};
constexpr const char* kColorModes[] = {"Zufällig", "Zufällig - ähnliche Farben", "Einfarbig"};
constexpr const char* kRandomOrFixedSize[] = {"Zufällig", "Feste Göße"};
constexpr const char* kRandomOrRegular[] = {"Zufällig", "Regelmäßig"};
constexpr const char* kTextSizeModes[] = {"Zufällig", "Die gewählte Größe"};
constexpr const char* kFontModes[] = {"Zufällig", "Die gewählte"};

template <size_t N>
std::string Choice(const char* const (&names)[N], int32_t index) {
    if (index >= 0 && size_t(index) < N) return names[index];
    return "unbekannt (" + std::to_string(index) + ")";
}

std::string Hex(uint32_t color) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(color), GreenOf(color), BlueOf(color));
    return text;
}

std::string Number(double value, int decimals) {
    return SpinField{value, value, decimals}.Format(value);
}

std::string PictureText(const TDibRecord& pic) {
    if (!pic.Bits) return "keine Bilddaten";
    return std::to_string(DibWidth(pic)) + " x " + std::to_string(DibHeight(pic)) + " Pixel, " +
           std::to_string(DibBitCount(pic)) + " Bit";
}

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04x", c);
                out += esc;
            } else {
                out += char(c);
            }
        }
    }
    return out + "\"";
}

std::string JsonNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

} // namespace

std::string DesignInfoText(const Design& design, const std::string& fileName) {
    std::ostringstream out;
    const uint32_t n = design.Layers.Count;
    out << "Entwurf: " << fileName << "\n";
    out << "Ebenen (von unten nach oben): " << n << "\n";
    for (uint32_t i = 0; i < n; ++i) {
        const TLayerRecord& l = design.Layers[i];
        const std::string_view caption = LayerKindCaption(l.Kind);
        out << "\n" << (i + 1) << ". "
            << (caption.empty() ? "unbekannte Ebenenart (" + std::to_string(l.Kind) + ")" : std::string(caption))
            << "   Transparenz: " << (l.Transparency + 5) << " von 10\n";
        out << "   Farbverlauf: Farbe 1 " << Hex(l.GradientColor1) << ", Farbe 2 " << Hex(l.GradientColor2)
            << ", Füllrichtung " << Choice(kDirections, l.GradientDirection) << "\n";
        out << "   Muster: " << Choice(kShapes, l.PatternShape) << ", Farbe "
            << Choice(kColorModes, l.PatternColorMode) << " " << Hex(l.PatternColor) << ", Größe "
            << Choice(kRandomOrFixedSize, l.PatternSizeMode) << " " << Number(l.PatternSizeMM, 2)
            << " mm, Position " << Choice(kRandomOrRegular, l.PatternPosMode) << ", Anzahl " << l.PatternCount
            << "\n";
        out << "   Grafik: " << PictureText(l.LayerPicture) << ", Breite der Grafik "
            << Number(l.PictureWidthMM, 2) << " mm\n";
        out << "   Grafikfilter: " << FilterForIndex(l.FilterIndex).Name
            << (l.FilterIndex < 0 || l.FilterIndex >= kFilterCount
                    ? " (gespeicherter Index " + std::to_string(l.FilterIndex) + ")"
                    : std::string())
            << "\n";
        out << "   Text: \"" << Cp1252ToUtf8(LayerString(l.LayerText)) << "\", Farbe "
            << Choice(kColorModes, l.TextColorMode) << " " << Hex(l.TextColor) << ", Größe "
            << Choice(kTextSizeModes, l.TextSizeMode) << " " << l.TextSize << " pt, Position "
            << Choice(kRandomOrRegular, l.TextPosMode) << ", Schriftart " << Choice(kFontModes, l.TextFontMode)
            << " \"" << Cp1252ToUtf8(LayerString(l.FontName)) << "\", Anzahl " << l.TextCount << "\n";
    }
    const PaperSettings& p = design.Paper;
    out << "\nPapiergröße: "
        << (p.PrintAll ? "Gesamtes Papier bedrucken" : "Nur einen Teil des Papiers bedrucken") << "\n";
    out << "Größe: " << kBreitEd.Format(p.Breit) << " cm x " << kHochEd.Format(p.Hoch) << " cm ("
        << (p.HoldWidth2 ? "Breite fest lassen" : "Höhe fest lassen") << ", "
        << (p.SVerh ? "Seitenverhältnis beibehalten" : "Seitenverhältnis frei") << ")\n";
    out << "Seitenverhältnis: " << kBreitVEd.Format(p.BreitV) << " zu " << kHochVEd.Format(p.HochV)
        << ", dezimal " << kDezVEd.Format(p.DezV) << " ("
        << (p.HoldWidth ? "Breite fest lassen" : "Höhe fest lassen") << ")\n";
    out << "Zoom: " << kZoomEd.Format(p.Zoom) << " %\n";
    out << "Ränder: links " << kRandXEd.Format(p.RandX) << " cm, oben " << kRandYEd.Format(p.RandY) << " cm\n";
    return out.str();
}

std::string DesignInfoJson(const Design& design, const std::string& fileName) {
    std::ostringstream out;
    out << "{\n  \"file\": " << JsonString(fileName) << ",\n  \"layers\": [";
    for (uint32_t i = 0; i < design.Layers.Count; ++i) {
        const TLayerRecord& l = design.Layers[i];
        const TDibRecord& pic = l.LayerPicture;
        out << (i ? "," : "") << "\n    {";
        out << "\"kind\": " << l.Kind << ", \"kindName\": " << JsonString(LayerKindCaption(l.Kind))
            << ", \"transparency\": " << l.Transparency << ", \"gradientDirection\": " << l.GradientDirection
            << ", \"gradientColor1\": " << JsonString(Hex(l.GradientColor1))
            << ", \"gradientColor2\": " << JsonString(Hex(l.GradientColor2))
            << ", \"patternShape\": " << l.PatternShape << ", \"patternColorMode\": " << l.PatternColorMode
            << ", \"patternColor\": " << JsonString(Hex(l.PatternColor))
            << ", \"patternSizeMode\": " << l.PatternSizeMode
            << ", \"patternSizeMM\": " << JsonNumber(l.PatternSizeMM)
            << ", \"patternPosMode\": " << l.PatternPosMode << ", \"patternCount\": " << l.PatternCount
            << ", \"filterIndex\": " << l.FilterIndex
            << ", \"filterName\": " << JsonString(FilterForIndex(l.FilterIndex).Name)
            << ", \"text\": " << JsonString(Cp1252ToUtf8(LayerString(l.LayerText)))
            << ", \"fontName\": " << JsonString(Cp1252ToUtf8(LayerString(l.FontName)))
            << ", \"textColorMode\": " << l.TextColorMode << ", \"textColor\": " << JsonString(Hex(l.TextColor))
            << ", \"textSize\": " << l.TextSize << ", \"textSizeMode\": " << l.TextSizeMode
            << ", \"textPosMode\": " << l.TextPosMode << ", \"textFontMode\": " << l.TextFontMode
            << ", \"textCount\": " << l.TextCount << ", \"pictureWidthMM\": " << JsonNumber(l.PictureWidthMM)
            << ", \"picture\": {\"width\": " << DibWidth(pic) << ", \"height\": " << DibHeight(pic)
            << ", \"bits\": " << DibBitCount(pic) << "}}";
    }
    const PaperSettings& p = design.Paper;
    out << "\n  ],\n  \"paper\": {\"printAll\": " << (p.PrintAll ? "true" : "false")
        << ", \"widthCm\": " << JsonNumber(p.Breit) << ", \"heightCm\": " << JsonNumber(p.Hoch)
        << ", \"ratioWidth\": " << JsonNumber(p.BreitV) << ", \"ratioHeight\": " << JsonNumber(p.HochV)
        << ", \"ratioDecimal\": " << JsonNumber(p.DezV) << ", \"keepSheetWidth\": " << (p.HoldWidth2 ? "true" : "false")
        << ", \"keepAspect\": " << (p.SVerh ? "true" : "false")
        << ", \"keepRatioWidth\": " << (p.HoldWidth ? "true" : "false") << "},\n";
    out << "  \"zoom\": " << JsonNumber(p.Zoom) << ",\n  \"margins\": {\"leftCm\": " << JsonNumber(p.RandX)
        << ", \"topCm\": " << JsonNumber(p.RandY) << "}\n}\n";
    return out.str();
}

} // namespace zb::cli
