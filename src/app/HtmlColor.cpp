#include "app/HtmlColor.h"

namespace zb {

QString ColorName(int index, TCLanguage language) {
    if (index < 0 || index >= static_cast<int>(kColorTable.size())) return QString();
    const ColorTableEntry& entry = kColorTable[static_cast<size_t>(index)];
    switch (language) {
    case lgDeutsch:
        return QString::fromUtf8(entry.German);
    case lgFrensh:
        return QString::fromUtf8(entry.French);
    default:
        return QString::fromUtf8(entry.English);
    }
}

int MatchColorIndex(uint32_t color, const uint32_t* colors, int count) {
    int match = -1;
    for (int i = 0; i <= count - 2; ++i) {
        if (colors[i] == color) match = i;
    }
    return match;
}

int MatchColorIndex(uint32_t color) {
    std::array<uint32_t, kColorTable.size()> colors{};
    for (size_t i = 0; i < kColorTable.size(); ++i) colors[i] = kColorTable[i].Color;
    return MatchColorIndex(color, colors.data(), static_cast<int>(colors.size()));
}

std::optional<uint32_t> ParseHtmlColor(const QString& text) {
    QString s = text.toUpper();
    if (s.isEmpty()) s = QStringLiteral("#000000");
    // mid() past the end gives an empty part, as the rule wants.
    const QString red = s.mid(1, 2), green = s.mid(3, 2), blue = s.mid(5, 2);
    const QString digits = blue + green + red;
    uint32_t value = 0;
    for (QChar c : digits) {
        int digit;
        if (c >= u'0' && c <= u'9') {
            digit = c.unicode() - u'0';
        } else if (c >= u'A' && c <= u'F') {
            digit = c.unicode() - u'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return value;
}

QString FormatHtmlColor(uint32_t color) {
    return QStringLiteral("#%1%2%3")
        .arg(unsigned(RedOf(color)), 2, 16, QLatin1Char('0'))
        .arg(unsigned(GreenOf(color)), 2, 16, QLatin1Char('0'))
        .arg(unsigned(BlueOf(color)), 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace zb
