#include "platform/QtPictureDecoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "base/TDibRecord.h"

namespace zb::platform {

namespace {

const char* const kNotFound = "Die Datei wurde nicht gefunden.";
const char* const kIsFolder = "Das ist ein Ordner und keine Grafikdatei.";
const char* const kNotRegular = "Das ist keine gewöhnliche Datei.";
const char* const kEmptyFile = "Die Datei ist leer.";
const char* const kEmptyData = "Es sind keine Bilddaten vorhanden.";
const char* const kUnreadable = "Die Datei konnte nicht gelesen werden.";
const char* const kUnsupported = "Das Dateiformat wird nicht erkannt oder nicht unterstützt.";
const char* const kBroken = "Die Datei ist beschädigt oder keine gültige Grafik.";
const char* const kNoMemory = "Nicht genug Speicher, um die Grafik zu laden.";

DecodedPicture Failure(const std::string& message) {
    DecodedPicture p;
    p.error = message;
    return p;
}

std::string SizeText(qint64 w, qint64 h) {
    return std::to_string(w) + " × " + std::to_string(h) + " Bildpunkte";
}

std::string FormatName(const QByteArray& format) {
    const QByteArray f = format.toLower();
    if (f == "jpg" || f == "jpeg") return "JPEG";
    if (f == "tif" || f == "tiff") return "TIFF";
    if (f == "webp") return "WebP";
    return f.toUpper().toStdString();
}

// A colour with alpha laid over white, as a colour reference.
uint32_t OverWhite(QRgb c) {
    const unsigned a = unsigned(qAlpha(c));
    auto mix = [a](int v) { return uint8_t((unsigned(v) * a + 255u * (255u - a) + 127u) / 255u); };
    return RGBColor(mix(qRed(c)), mix(qGreen(c)), mix(qBlue(c)));
}

void TakePalette(const QList<QRgb>& table, DecodedPicture& out) {
    out.palette.clear();
    for (QRgb c : table) {
        if (qAlpha(c) != 255) out.flattenedAlpha = true;
        out.palette.push_back(OverWhite(c));
    }
}

void AllocatePixels(DecodedPicture& out, int bits) {
    out.bitCount = bits;
    out.stride = (ptrdiff_t(out.width) * bits + 7) / 8;
    out.pixels.assign(size_t(out.stride) * size_t(out.height), 0);
}

void FromMono(const QImage& source, DecodedPicture& out) {
    const QImage image = source.format() == QImage::Format_Mono ? source : source.convertToFormat(QImage::Format_Mono);
    TakePalette(image.colorTable(), out);
    out.palette.resize(2, RGBColor(255, 255, 255));
    AllocatePixels(out, 1);
    for (int y = 0; y < out.height; ++y)
        std::memcpy(out.pixels.data() + y * out.stride, image.constScanLine(y), size_t(out.stride));
}

void FromIndexed(const QImage& image, DecodedPicture& out) {
    int maxIndex = 0;
    for (int y = 0; y < out.height && maxIndex < 16; ++y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < out.width; ++x) maxIndex = std::max(maxIndex, int(row[x]));
    }
    QList<QRgb> table = image.colorTable();
    if (table.isEmpty())
        for (int i = 0; i < 256; ++i) table.push_back(qRgb(i, i, i));
    TakePalette(table, out);
    const bool fourBits = table.size() <= 16 && maxIndex < 16;
    AllocatePixels(out, fourBits ? 4 : 8);
    for (int y = 0; y < out.height; ++y) {
        const uchar* row = image.constScanLine(y);
        uint8_t* dst = out.pixels.data() + y * out.stride;
        if (fourBits) {
            for (int x = 0; x < out.width; ++x)
                dst[x >> 1] |= (x & 1) ? uint8_t(row[x] & 0x0F) : uint8_t(row[x] << 4);
        } else {
            std::memcpy(dst, row, size_t(out.width));
        }
    }
}

void FromGrey(const QImage& source, DecodedPicture& out) {
    const QImage image = source.format() == QImage::Format_Grayscale8 ? source : source.convertToFormat(QImage::Format_Grayscale8);
    for (int i = 0; i < 256; ++i) out.palette.push_back(RGBColor(uint8_t(i), uint8_t(i), uint8_t(i)));
    AllocatePixels(out, 8);
    for (int y = 0; y < out.height; ++y)
        std::memcpy(out.pixels.data() + y * out.stride, image.constScanLine(y), size_t(out.width));
}

void FromTrueColour(const QImage& source, DecodedPicture& out) {
    const bool alpha = source.hasAlphaChannel();
    const QImage::Format wanted = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    const QImage image = source.format() == wanted ? source : source.convertToFormat(wanted);
    if (image.isNull()) throw std::bad_alloc();
    AllocatePixels(out, 24);
    for (int y = 0; y < out.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uint8_t* dst = out.pixels.data() + y * out.stride;
        for (int x = 0; x < out.width; ++x, dst += 3) {
            QRgb c = row[x];
            if (alpha && qAlpha(c) != 255) {
                out.flattenedAlpha = true;
                const uint32_t w = OverWhite(c);
                c = qRgb(RedOf(w), GreenOf(w), BlueOf(w));
            }
            dst[0] = uint8_t(qBlue(c));
            dst[1] = uint8_t(qGreen(c));
            dst[2] = uint8_t(qRed(c));
        }
    }
}

std::string ReaderError(QImageReader::ImageReaderError error) {
    switch (error) {
    case QImageReader::FileNotFoundError: return kNotFound;
    case QImageReader::DeviceError: return kUnreadable;
    case QImageReader::UnsupportedFormatError: return kUnsupported;
    default: return kBroken;
    }
}

// Bits per pixel as PNG, BMP and GIF headers give them; 0 for other formats.
int HeaderBits(const QByteArray& head) {
    const auto byte = [&](int i) { return i < head.size() ? int(uint8_t(head[i])) : -1; };
    if (head.startsWith("\x89PNG\r\n\x1a\n") && head.mid(12, 4) == "IHDR" && byte(25) >= 0) {
        const int depth = byte(24);
        const int channels[] = {1, 0, 3, 1, 2, 0, 4};
        const int type = byte(25);
        if (type <= 6 && channels[type] > 0) return depth * channels[type];
    }
    if (head.startsWith("BM") && byte(29) >= 0) {
        const int headerSize = byte(14) | byte(15) << 8;
        const int at = headerSize == 12 ? 24 : 28;
        const int bits = byte(at) | byte(at + 1) << 8;
        if (bits > 0) return bits;
    }
    if (head.startsWith("GIF8") && byte(10) >= 0 && (byte(10) & 0x80)) return (byte(10) & 7) + 1;
    return 0;
}

// Bits per pixel as the file stores them. PNG, BMP and GIF say so in their
// headers (Qt reads a 4-bit PNG or BMP as 8 bits); for other formats the
// format Qt reads them in tells.
int StoredBits(const QByteArray& head, const QImage& image) {
    if (const int bits = HeaderBits(head); bits > 0) return bits;
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: return 1;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8: return 8;
    case QImage::Format_Grayscale16:
    case QImage::Format_RGB16:
    case QImage::Format_RGB555:
    case QImage::Format_RGB444: return 16;
    case QImage::Format_RGB32:
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
    case QImage::Format_RGBX8888: return 24;
    case QImage::Format_RGBX64: return 48;
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied: return 64;
    default: return image.depth();
    }
}

// sizeRefused: set when the header alone showed the picture to be too large.
DecodedPicture Decode(QImageReader& reader, int limitMB, bool& sizeRefused) {
    reader.setAllocationLimit(limitMB);
    reader.setAutoTransform(true);
    // The header as the file starts; the reader moves on once it has looked.
    const QByteArray head = reader.device() ? reader.device()->peek(32) : QByteArray();
    if (!reader.canRead()) return Failure(ReaderError(reader.error()));

    // Refuse absurd sizes from the header, before anything is allocated, by
    // the bytes the decoded picture takes: one bit a pixel stays one bit, up
    // to eight bits take a byte, anything else four.
    const QSize size = reader.size();
    if (size.isValid()) {
        if (size.width() <= 0 || size.height() <= 0)
            return Failure("Die Grafik hat keine gültige Größe (" + SizeText(size.width(), size.height()) + ").");
        const int bits = HeaderBits(head);
        const qint64 pixels = qint64(size.width()) * size.height();
        const qint64 bytes = bits == 1 ? pixels / 8 : bits > 0 && bits <= 8 ? pixels : pixels * 4;
        if (bytes > qint64(limitMB) * 1024 * 1024) {
            sizeRefused = true;
            return Failure("Die Grafik ist zu groß (" + SizeText(size.width(), size.height()) + ").");
        }
        // The reader counts four bytes a pixel whatever the picture's depth;
        // what passed the count above may take what it really needs.
        reader.setAllocationLimit(int(std::max<qint64>(limitMB, ((pixels * 4) >> 20) + 1)));
    }

    DecodedPicture out;
    out.format = FormatName(reader.format());
    try {
        QImage image;
        if (!reader.read(&image) || image.isNull()) {
            // The reader says "invalid data" also when it could not get the
            // memory for the picture; whether that was it shows when the same
            // memory is asked for here (and given back at once).
            const bool noMemory = size.isValid() && reader.error() == QImageReader::InvalidDataError &&
                                  QImage(size, QImage::Format_ARGB32).isNull();
            DecodedPicture failed = Failure(noMemory ? kNoMemory : ReaderError(reader.error()));
            failed.format = out.format;
            return failed;
        }
        out.width = image.width();
        out.height = image.height();
        out.storedBits = StoredBits(head, image);
        switch (image.format()) {
        case QImage::Format_Mono:
        case QImage::Format_MonoLSB: FromMono(image, out); break;
        case QImage::Format_Indexed8: FromIndexed(image, out); break;
        case QImage::Format_Grayscale8:
        case QImage::Format_Grayscale16: FromGrey(image, out); break;
        default: FromTrueColour(image, out); break;
        }
    } catch (const std::bad_alloc&) {
        DecodedPicture failed = Failure(kNoMemory);
        failed.format = out.format;
        return failed;
    }
    return out;
}

} // namespace

DecodedPicture QtPictureDecoder::DecodeFile(const std::string& path) const {
    // Opened here under its own bytes: Qt would take the name for UTF-8 and
    // miss a file named in another encoding.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return Failure(errno == ENOENT || errno == ENOTDIR ? kNotFound : kUnreadable);
    if (S_ISDIR(st.st_mode)) return Failure(kIsFolder);
    if (!S_ISREG(st.st_mode)) return Failure(kNotRegular);
    if (st.st_size == 0) return Failure(kEmptyFile);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Failure(kUnreadable);
    // The name (decoded as well as it goes) only lets the reader try the
    // format of the suffix first; the data comes from the descriptor.
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Failure(kUnreadable);
    }
    // For a file the reader tries the format of the suffix first and falls
    // back to the content when no reader claims the file.
    DecodedPicture picture;
    bool sizeRefused = false;
    {
        QImageReader reader(&file);
        picture = Decode(reader, limitMB_, sizeRefused);
    }
    // A reader of the suffix may claim a file and then fail on it (".dib"
    // means a headerless bitmap to Qt, while most such files carry the file
    // header): then the content alone decides.
    if (picture.ok() || sizeRefused || !file.seek(0)) return picture;
    QImageReader byContent(&file);
    byContent.setDecideFormatFromContent(true);
    DecodedPicture second = Decode(byContent, limitMB_, sizeRefused);
    return second.ok() || sizeRefused ? second : picture;
}

DecodedPicture QtPictureDecoder::DecodeBytes(const uint8_t* data, size_t size) const {
    if (!data || size == 0) return Failure(kEmptyData);
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    bool sizeRefused = false;
    return Decode(reader, limitMB_, sizeRefused);
}

std::vector<PictureFormat> QtPictureDecoder::Formats() const {
    struct Known {
        const char* reader;      // Qt's format name that must be present
        const char* description;
        std::vector<std::string> extensions;
    };
    static const Known known[] = {
        {"png", "PNG-Grafik", {"png"}},
        {"jpeg", "JPEG-Foto", {"jpg", "jpeg", "jpe", "jfif"}},
        {"bmp", "BMP-Bitmap", {"bmp", "dib"}},
        {"gif", "GIF-Grafik", {"gif"}},
        {"tiff", "TIFF-Bild", {"tif", "tiff"}},
        {"webp", "WebP-Bild", {"webp"}},
        {"ppm", "PBM/PGM/PPM-Bild", {"pbm", "pgm", "ppm", "pnm"}},
        {"tga", "Targa-Grafik", {"tga"}},
        {"ico", "Symbol-Datei", {"ico", "cur"}},
        {"icns", "ICNS-Symbol", {"icns"}},
        {"xbm", "X11-Bitmap", {"xbm"}},
        {"xpm", "X11-Pixmap", {"xpm"}},
        {"wbmp", "WBMP-Bitmap", {"wbmp"}},
        {"mng", "MNG-Grafik", {"mng"}},
    };
    // Qt names that belong to a group above.
    static const QSet<QByteArray> grouped = {"png", "jpeg", "jpg", "bmp", "gif", "tif", "tiff", "webp",
                                             "pbm", "pgm", "ppm", "tga", "ico", "cur", "icns", "xbm",
                                             "xpm", "wbmp", "mng"};
    const QList<QByteArray> supported = QImageReader::supportedImageFormats();
    std::vector<PictureFormat> formats;
    for (const Known& k : known)
        if (supported.contains(QByteArray(k.reader))) formats.push_back({k.description, k.extensions});
    for (const QByteArray& s : supported) {
        if (grouped.contains(s)) continue;
        formats.push_back({s.toUpper().toStdString() + "-Datei", {s.toLower().toStdString()}});
    }
    return formats;
}

} // namespace zb::platform
