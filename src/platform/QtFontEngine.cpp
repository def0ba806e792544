#include "platform/QtFontEngine.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSemaphore>
#include <QThreadPool>
#include <QRawFont>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <sys/mman.h>

#include "model/Cp1252.h"

namespace zb::platform {

namespace {

// The font library ends the program when an allocation of its own fails.
// Every call into it first makes sure this much memory is still there, and
// reports the shortage as the rest of the program does otherwise.
constexpr size_t kFontLibraryReserve = size_t{32} << 20;

bool FontLibraryHasMemory() {
    void* probe = std::malloc(kFontLibraryReserve);
    std::free(probe);
    return probe != nullptr;
}

void NeedFontLibraryMemory() {
    if (!FontLibraryHasMemory()) throw std::bad_alloc();
}

// Stack of each of the thread pool's helpers: painting needs little.
constexpr size_t kHelperStack = size_t{512} << 10;

// Whether the memory for one more helper's stack is there: what a thread
// needs of the memory, mapped and given back, without making a thread for it.
bool StackMemoryThere(size_t stack) {
    // The stack, its guard page and the thread's own data.
    const size_t bytes = stack + (size_t{64} << 10);
    void* block = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return false;
    ::munmap(block, bytes);
    return true;
}

// Starts the global pool's threads (as many as it would use, or as memory
// allows), keeps them, and caps the pool at them: the paint engine's fills
// then never wait for a thread that cannot be made. False when not one runs.
bool StartPainterHelpers() {
    QThreadPool* pool = QThreadPool::globalInstance();
    pool->setStackSize(uint(kHelperStack));
    pool->setExpiryTimeout(-1);
    struct Gate {
        QSemaphore started, release;
    };
    auto gate = std::make_shared<Gate>();
    const int wanted = std::max(1, pool->maxThreadCount());
    int started = 0;
    // Each task holds its thread until all have started, so each needs a thread of its own.
    for (; started < wanted && StackMemoryThere(kHelperStack); ++started)
        pool->start([gate] {
            gate->started.release();
            gate->release.acquire();
        });
    const bool running = gate->started.tryAcquire(started, 10000);
    gate->release.release(started);
    pool->setMaxThreadCount(std::max(1, started));
    return running && started > 0;
}

bool PainterHelpersReady() {
    static const bool ready = StartPainterHelpers();
    return ready;
}

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

// "C059 [urw]" -> "C059": the foundry fontconfig adds to tell families apart.
QString WithoutFoundry(const QString& name) {
    const qsizetype open = name.lastIndexOf(QStringLiteral(" ["));
    return open > 0 && name.endsWith(QChar(']')) ? name.left(open) : name;
}

} // namespace

QtFontEngine::QtFontEngine() { PainterHelpersReady(); }

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
    // Without the memory to read the list, it stays empty for now: random
    // fonts then draw in the layer's own, whose rendering reports the shortage.
    static const std::vector<std::string> kNone;
    if (!FontLibraryHasMemory()) return kNone;
    QStringList names;
    for (const QString& listed : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(listed)) continue;
        const QString name = WithoutFoundry(listed);
        const std::string utf8 = name.toStdString();
        if (!IsCp1252Representable(utf8)) continue;
        // Generic aliases resolve to another family, which is listed itself.
        QFont probe(name);
        if (WithoutFoundry(QFontInfo(probe).family()).compare(name, Qt::CaseInsensitive) != 0) continue;
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

void QtFontEngine::Prepare(const std::vector<std::string>& families) {
    Families();
    for (const std::string& family : families) {
        if (prepared_.count(family)) continue;
        NeedFontLibraryMemory();
        prepared_.insert(family);
        // Measuring a character loads the face the family resolves to.
        QFontMetrics(MakeFont(family, 32)).horizontalAdvance(QLatin1Char('A'));
    }
}

bool QtFontEngine::Installed(const std::string& family) {
    const QString name = FromCp1252(family);
    return WithoutFoundry(QFontInfo(QFont(name)).family()).compare(WithoutFoundry(name), Qt::CaseInsensitive) == 0;
}

const std::vector<std::string>& QtFontEngine::FamiliesFor(std::string_view text) {
    const std::vector<std::string>& all = Families();
    const std::lock_guard lock(writersMutex_);
    if (auto it = writers_.find(text); it != writers_.end()) return it->second;
    // Each character once; spaces and soft hyphens need no glyph.
    QString needed;
    for (const QChar c : FromCp1252(text)) {
        if (c.isSpace() || c.unicode() == 0x00AD || c.unicode() < 0x20 || needed.contains(c)) continue;
        needed.append(c);
    }
    std::vector<std::string> writers;
    for (const std::string& family : all) {
        const QString name = FromCp1252(family);
        if (QFontDatabase::writingSystems(name).contains(QFontDatabase::Symbol)) continue;
        QFont font(name);
        font.setStyleStrategy(QFont::NoFontMerging);
        const QRawFont raw = QRawFont::fromFont(font);
        if (!raw.isValid()) continue;
        bool writes = true;
        for (const QChar c : needed) writes = writes && raw.supportsCharacter(c);
        if (writes) writers.push_back(family);
    }
    return writers_.emplace(std::string(text), std::move(writers)).first->second;
}

TextBitmap QtFontEngine::Render(const std::string& family, int pixelHeight, std::string_view text) {
    return RenderClipped(family, pixelHeight, text, kMaxSide, kMaxSide);
}

TextBitmap QtFontEngine::RenderClipped(const std::string& family, int pixelHeight, std::string_view text,
                                       int maxWidth, int maxHeight) {
    std::lock_guard<std::mutex> lock(mutex_);
    maxWidth = std::clamp(maxWidth, 0, kMaxSide);
    maxHeight = std::clamp(maxHeight, 0, kMaxSide);
    NeedFontLibraryMemory();
    if (!PainterHelpersReady()) throw std::bad_alloc();
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

    QImage image(out.width, out.height, QImage::Format_MonoLSB);
    if (image.isNull()) return out; // could not allocate: a blank copy rather than none
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(QColor(0, 0, 0));
        // The text's top-left corner at (0, 0): the baseline lies one ascent down.
        painter.drawText(QPoint(0, metrics.ascent()), visible);
    }
    for (int y = 0; y < out.height; ++y) {
        const uchar* bits = image.constScanLine(y);
        uint8_t* row = out.pixels.data() + size_t(y) * size_t(out.width);
        for (int x = 0; x < out.width; ++x)
            if (bits[x >> 3] & (1u << (x & 7))) row[x] = 0;
    }
    return out;
}

} // namespace zb::platform
