#include "cli/DesignInfo.h"

#include <array>
#include <cstdio>
#include <sstream>

#include "imaging/FilterTable.h"
#include "model/Cp1252.h"
#include "model/LayerChoices.h"
#include "model/SpinField.h"
#include "platform/FileNames.h"

namespace zb::cli {
namespace {

template <size_t N>
std::string Choice(const std::array<std::string_view, N>& captions, int32_t index) {
    const std::string_view caption = ChoiceCaption(captions, index);
    if (!caption.empty()) return std::string(caption);
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

// The caption for JSON: null for a value outside the table.
template <size_t N>
std::string JsonChoice(const std::array<std::string_view, N>& captions, int32_t index) {
    const std::string_view caption = ChoiceCaption(captions, index);
    return caption.empty() ? std::string("null") : JsonString(caption);
}

// Centimetres of a length in printer pixels, as the program converts them.
double PageCm(int32_t pixels, int32_t ppi) { return ppi > 0 ? pixels / double(ppi) * kMillimetresPerInch / 10 : 0; }

std::string PageText(const PageChoice& p) {
    const SpinField cm{0, 0, 2};
    std::string text = cm.Format(PageCm(p.page.width, p.page.ppi)) + " cm x " +
                       cm.Format(PageCm(p.page.height, VerticalPpi(p.page))) + " cm (" +
                       std::to_string(p.page.width) + " x " + std::to_string(p.page.height) + " Druckerpixel bei " +
                       std::to_string(p.page.ppi) + " dpi), ";
    if (p.fallback) return text + "Ersatzseite A4: kein Drucker eingerichtet";
    if (!p.printerName.empty()) return text + "Standarddrucker „" + p.printerName + "“";
    return text + "nach --page und --printer-dpi";
}

} // namespace

std::string DesignInfoText(const Design& design, const std::string& fileName, const PageChoice& page) {
    std::ostringstream out;
    const uint32_t n = design.Layers.size();
    out << "Entwurf: " << platform::DisplayPath(fileName) << "\n";
    out << "Ebenen (von unten nach oben): " << n << "\n";
    for (uint32_t i = 0; i < n; ++i) {
        const TLayerRecord& l = design.Layers[i];
        const std::string_view caption = LayerKindCaption(l.Kind);
        out << "\n" << (i + 1) << ". "
            << (caption.empty() ? "unbekannte Ebenenart (" + std::to_string(l.Kind) + ")" : std::string(caption))
            << "   Transparenz: Reglerstellung " << (int64_t(l.Transparency) + 5) << " von 10 (gespeicherter Wert "
            << l.Transparency << ")\n";
        out << "   Name: \"" << Cp1252ToUtf8(LayerDisplayName(l)) << "\"" << (l.Visible ? "" : " (ausgeblendet)")
            << "\n";
        out << "   Farbverlauf: Farbe 1 " << Hex(l.GradientColor1) << ", Farbe 2 " << Hex(l.GradientColor2)
            << ", Füllrichtung " << Choice(kGradientDirectionCaptions, l.GradientDirection) << "\n";
        out << "   Muster: " << Choice(kPatternShapeCaptions, l.PatternShape) << ", Farbe "
            << Choice(kColorModeCaptions, l.PatternColorMode) << " " << Hex(l.PatternColor) << ", Größe "
            << Choice(kPatternSizeModeCaptions, l.PatternSizeMode) << " " << Number(l.PatternSizeMM, 2)
            << " mm, Position " << Choice(kPositionModeCaptions, l.PatternPosMode) << ", Anzahl " << l.PatternCount
            << "\n";
        out << "   Grafik: " << PictureText(l.LayerPicture) << ", Breite der Grafik "
            << Number(l.PictureWidthMM, 2) << " mm\n";
        out << "   Grafikfilter: " << FilterForIndex(l.FilterIndex).Name
            << (l.FilterIndex < 0 || l.FilterIndex >= kFilterCount
                    ? " (gespeicherter Index " + std::to_string(l.FilterIndex) + ")"
                    : std::string())
            << "\n";
        out << "   Text: \"" << Cp1252ToUtf8(l.LayerText) << "\", Farbe "
            << Choice(kColorModeCaptions, l.TextColorMode) << " " << Hex(l.TextColor) << ", Größe "
            << Choice(kTextSizeModeCaptions, l.TextSizeMode) << " " << l.TextSize << " pt, Position "
            << Choice(kPositionModeCaptions, l.TextPosMode) << ", Schriftart " << Choice(kTextFontModeCaptions, l.TextFontMode)
            << " \"" << Cp1252ToUtf8(l.FontName) << "\", Anzahl " << l.TextCount << "\n";
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
    if (p.PrintAll) out << "Druckbare Seite: " << PageText(page) << "\n";
    out << "Zoom: " << kZoomEd.Format(p.Zoom) << " %\n";
    out << "Ränder: links " << kRandXEd.Format(p.RandX) << " cm, oben " << kRandYEd.Format(p.RandY) << " cm\n";
    out << "Nahtlos kachelbar: "
        << (p.Seamless ? "ja, Rapport " + std::string(kRepeatModeCaptions[size_t(p.Repeat)]) : std::string("nein"))
        << "\n";
    return out.str();
}

std::string DesignInfoJson(const Design& design, const std::string& fileName, const PageChoice& page) {
    std::ostringstream out;
    out << "{\n  \"file\": " << JsonString(platform::DisplayPath(fileName)) << ",\n  \"layers\": [";
    for (uint32_t i = 0; i < design.Layers.size(); ++i) {
        const TLayerRecord& l = design.Layers[i];
        const TDibRecord& pic = l.LayerPicture;
        out << (i ? "," : "") << "\n    {";
        out << "\"kind\": " << l.Kind << ", \"kindName\": " << JsonString(LayerKindCaption(l.Kind))
            << ", \"name\": " << JsonString(Cp1252ToUtf8(LayerDisplayName(l)))
            << ", \"visible\": " << (l.Visible ? "true" : "false")
            << ", \"transparencyStored\": " << l.Transparency
            << ", \"transparencySlider\": " << (int64_t(l.Transparency) + 5)
            << ", \"gradientDirection\": " << l.GradientDirection
            << ", \"gradientDirectionName\": " << JsonChoice(kGradientDirectionCaptions, l.GradientDirection)
            << ", \"gradientColor1\": " << JsonString(Hex(l.GradientColor1))
            << ", \"gradientColor2\": " << JsonString(Hex(l.GradientColor2))
            << ", \"patternShape\": " << l.PatternShape
            << ", \"patternShapeName\": " << JsonChoice(kPatternShapeCaptions, l.PatternShape)
            << ", \"patternColorMode\": " << l.PatternColorMode
            << ", \"patternColorModeName\": " << JsonChoice(kColorModeCaptions, l.PatternColorMode)
            << ", \"patternColor\": " << JsonString(Hex(l.PatternColor))
            << ", \"patternSizeMode\": " << l.PatternSizeMode
            << ", \"patternSizeModeName\": " << JsonChoice(kPatternSizeModeCaptions, l.PatternSizeMode)
            << ", \"patternSizeMM\": " << JsonNumber(l.PatternSizeMM)
            << ", \"patternPosMode\": " << l.PatternPosMode
            << ", \"patternPosModeName\": " << JsonChoice(kPositionModeCaptions, l.PatternPosMode)
            << ", \"patternCount\": " << l.PatternCount
            << ", \"filterIndex\": " << l.FilterIndex
            << ", \"filterName\": " << JsonString(FilterForIndex(l.FilterIndex).Name)
            << ", \"text\": " << JsonString(Cp1252ToUtf8(l.LayerText))
            << ", \"fontName\": " << JsonString(Cp1252ToUtf8(l.FontName))
            << ", \"textColorMode\": " << l.TextColorMode
            << ", \"textColorModeName\": " << JsonChoice(kColorModeCaptions, l.TextColorMode)
            << ", \"textColor\": " << JsonString(Hex(l.TextColor)) << ", \"textSize\": " << l.TextSize
            << ", \"textSizeMode\": " << l.TextSizeMode
            << ", \"textSizeModeName\": " << JsonChoice(kTextSizeModeCaptions, l.TextSizeMode)
            << ", \"textPosMode\": " << l.TextPosMode
            << ", \"textPosModeName\": " << JsonChoice(kPositionModeCaptions, l.TextPosMode)
            << ", \"textFontMode\": " << l.TextFontMode
            << ", \"textFontModeName\": " << JsonChoice(kTextFontModeCaptions, l.TextFontMode)
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
        << ", \"keepRatioWidth\": " << (p.HoldWidth ? "true" : "false")
        << ", \"seamless\": " << (p.Seamless ? "true" : "false")
        << ", \"repeat\": " << JsonString(kRepeatModeNames[size_t(p.Repeat)]) << "},\n";
    out << "  \"printablePage\": ";
    if (p.PrintAll) {
        out << "{\"widthPx\": " << page.page.width << ", \"heightPx\": " << page.page.height
            << ", \"ppi\": " << page.page.ppi << ", \"ppiY\": " << VerticalPpi(page.page)
            << ", \"widthCm\": " << JsonNumber(PageCm(page.page.width, page.page.ppi))
            << ", \"heightCm\": " << JsonNumber(PageCm(page.page.height, VerticalPpi(page.page)))
            << ", \"fallback\": " << (page.fallback ? "true" : "false")
            << ", \"printer\": " << (page.printerName.empty() ? std::string("null") : JsonString(page.printerName))
            << "},\n";
    } else {
        out << "null,\n";
    }
    out << "  \"zoom\": " << JsonNumber(p.Zoom) << ",\n  \"margins\": {\"leftCm\": " << JsonNumber(p.RandX)
        << ", \"topCm\": " << JsonNumber(p.RandY) << "}\n}\n";
    return out.str();
}

} // namespace zb::cli
