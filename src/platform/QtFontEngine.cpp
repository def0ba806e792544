#include "platform/QtFontEngine.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "model/Cp1252.h"

namespace zb::platform {

namespace {

QString FromCp1252(std::string_view bytes) {
    QString out;
    out.reserve(qsizetype(bytes.size()));
    for (char c : bytes) out.append(QChar(char16_t(Cp1252ToCodePoint(uint8_t(c)))));
    return out;
}

// A layer's font height is a character height: the em square without the
// internal leading. QFont's pixel size is exactly the em size in pixels, so
// the two match (the line height, ascent + descent, comes out larger).
QFont MakeFont(const std::string& family, int pixelHeight) {
    QFont font(FromCp1252(family));
    font.setPixelSize(pixelHeight > 0 ? pixelHeight : QtFontEngine::DefaultPixelHeight());
    // Pixels are either ink or paper: no grey edges, no subpixel colour.
    font.setStyleStrategy(QFont::NoAntialias);
    // Fixed hinting, so the desktop's settings cannot change the glyphs.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// The part of the text that can reach into maxWidth pixels. Long texts are
// measured piece by piece and cut once they are surely wider than the limit,
// so a damaged file's megabyte of text costs no more than a line of it (and
// no fixed-point overflow inside the layout). Past kMaxCharacters (more than
// any sheet can show, even of the narrowest characters) the rest is dropped,
// which also bounds texts of characters without width.
QString VisibleText(std::string_view text, const QFontMetrics& metrics, int maxWidth) {
    constexpr size_t kPiece = 256;
    constexpr size_t kMaxCharacters = size_t{1} << 16;
    text = text.substr(0, kMaxCharacters);
    if (text.size() <= kPiece) return FromCp1252(text);
    // Kerning across the cuts is not measured; a margin of a few ems covers it.
    const int64_t enough = int64_t(maxWidth) + 4 * int64_t(metrics.height()) + 16;
    int64_t measured = 0;
    size_t used = 0;
    while (used < text.size() && measured <= enough) {
        const size_t n = std::min(kPiece, text.size() - used);
        measured += metrics.horizontalAdvance(FromCp1252(text.substr(used, n)));
        used += n;
    }
    return FromCp1252(text.substr(0, used));
}

} // namespace

int QtFontEngine::DefaultPixelHeight() {
    const int px = QFontInfo(QGuiApplication::font()).pixelSize();
    return px > 0 ? px : 16;
}

std::string QtFontEngine::ResolvedFamily(const std::string& family) {
    return Utf8ToCp1252(QFontInfo(MakeFont(family, 12)).family().toStdString());
}

const std::vector<std::string>& QtFontEngine::Families() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (families_) return *families_;
    QStringList names;
    for (const QString& name : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(name)) continue;
        const std::string utf8 = name.toStdString();
        if (!IsCp1252Representable(utf8)) continue;
        // Generic aliases resolve to another family, which is listed itself.
        QFont probe(name);
        if (QFontInfo(probe).family().compare(name, Qt::CaseInsensitive) != 0) continue;
        names.append(name);
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    names.removeDuplicates();
    std::vector<std::string> out;
    out.reserve(size_t(names.size()));
    for (const QString& name : names) out.push_back(Utf8ToCp1252(name.toStdString()));
    families_ = std::move(out);
    return *families_;
}

TextBitmap QtFontEngine::Render(const std::string& family, int pixelHeight, std::string_view text) {
    return RenderClipped(family, pixelHeight, text, kMaxSide, kMaxSide);
}

TextBitmap QtFontEngine::RenderClipped(const std::string& family, int pixelHeight, std::string_view text,
                                       int maxWidth, int maxHeight) {
    std::lock_guard<std::mutex> lock(mutex_);
    maxWidth = std::clamp(maxWidth, 0, kMaxSide);
    maxHeight = std::clamp(maxHeight, 0, kMaxSide);
    // A negative height asks for the same character height as a positive one.
    const int height = int(std::min<int64_t>(pixelHeight < 0 ? -int64_t(pixelHeight) : pixelHeight, kMaxSide));
    const QFont font = MakeFont(family, height);
    const QFontMetrics metrics(font);
    // A soft hyphen shows only where a line breaks, and copies never break;
    // some fonts would otherwise draw it as a plain hyphen.
    const QString visible = VisibleText(text, metrics, maxWidth).remove(QChar(0x00AD));

    TextBitmap out;
    out.width = std::clamp(metrics.horizontalAdvance(visible), 0, maxWidth);
    out.height = std::clamp(metrics.height(), 0, maxHeight);
    out.pixels.assign(size_t(out.width) * size_t(out.height), 255);
    if (out.width == 0 || out.height == 0) return out;

    QImage image(out.width, out.height, QImage::Format_Grayscale8);
    if (image.isNull()) return out; // could not allocate: a blank copy rather than none
    image.fill(255);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(QColor(0, 0, 0));
        // The text's top-left corner at (0, 0): the baseline lies one ascent down.
        painter.drawText(QPoint(0, metrics.ascent()), visible);
    }
    for (int y = 0; y < out.height; ++y)
        std::memcpy(out.pixels.data() + size_t(y) * size_t(out.width), image.constScanLine(y), size_t(out.width));
    return out;
}

} // namespace zb::platform
