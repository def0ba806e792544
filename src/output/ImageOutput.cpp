#include "output/ImageOutput.h"

#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "base/RasterView.h"
#include "document/FileError.h"
#include "document/SafeFileWriter.h"
#include "output/DescriptorDevice.h"
#include "output/PngWriter.h"
#include "output/RasterPainting.h"
#include "platform/FileNames.h"

namespace zb {
namespace {

// The raster in the form the encoder writes without converting it again:
// 32 bits for BMP, whose encoder would otherwise make an unchecked 32-bit
// copy, 24 bits for the others. Null when memory runs short.
QImage ToImage(const TDibRecord& raster, const std::string& format) {
    const RasterView view = ViewOf(raster);
    return RasterRows(view, 0, view.height, format == "bmp" ? QImage::Format_RGB32 : QImage::Format_RGB888);
}

std::string Quoted(const std::string& fileName) { return "„" + platform::DisplayPath(fileName) + "“"; }

std::string WriteFailed(const std::string& fileName, const std::string& reason) {
    return "Die Datei " + Quoted(fileName) + " konnte nicht geschrieben werden: " + reason + ".";
}

std::string NoMemory(const std::string& fileName) {
    return "Nicht genügend Speicher, um " + Quoted(fileName) + " zu schreiben. Es wurde nichts geschrieben.";
}

std::string FormatCaption(std::string format) {
    std::transform(format.begin(), format.end(), format.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return format == "JPG" ? "JPEG" : format == "TIF" ? "TIFF" : format;
}

// Encodes into the device; false when the encoder gave up for a reason of its
// own (the device's errors are asked separately) or memory ran short.
bool EncodePicture(const QImage& image, QIODevice& device, const std::string& format) {
    const QByteArray qtFormat = format == "jpg" ? "jpeg" : format == "tif" ? "tiff" : QByteArray(format.c_str());
    QImageWriter writer(&device, qtFormat);
    if (format == "jpg") writer.setQuality(95);
    if (format == "tif") writer.setCompression(1); // lossless LZW keeps files small
    return writer.write(image);
}

// One page of the raster's physical size at `dpi`, the pixels without loss.
bool EncodePdf(RasterView raster, QIODevice& device, double dpi) {
    const double resolution = dpi > 0 ? dpi : 300.0;
    QPdfWriter pdf(&device);
    pdf.setResolution(int(resolution + 0.5));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(QPageSize(QSizeF(raster.width / resolution * 25.4, raster.height / resolution * 25.4),
                              QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    pdf.setCreator(QStringLiteral("Zierbogen-Drucker"));
    QPainter painter;
    if (!painter.begin(&pdf)) return false;
    // Without this the paint engine stores the picture as JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    bool drawn = false;
    try {
        drawn = PaintRasterBands(painter, raster, QRect(0, 0, raster.width, raster.height), raster.height);
    } catch (const std::bad_alloc&) {
        AbandonPainting(painter);
        return false;
    }
    return EndPainting(painter) && drawn;
}

} // namespace

std::string OutputFormat(const std::string& fileName) {
    std::string ext = std::filesystem::path(fileName).extension().string();
    if (ext.empty()) return {};
    ext.erase(0, 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == "jpeg") ext = "jpg";
    if (ext == "tiff") ext = "tif";
    if (ext == "png" || ext == "jpg" || ext == "tif" || ext == "bmp" || ext == "pdf") return ext;
    return {};
}

std::string CheckOutputPath(const std::string& fileName) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return "Unter dem Namen " + Quoted(fileName) + " gibt es einen Ordner; die Ausgabe braucht einen Dateinamen.";
    std::string folder = std::filesystem::path(fileName).parent_path().string();
    if (folder.empty()) folder = ".";
    if (::stat(folder.c_str(), &st) != 0)
        return "Der Ordner " + Quoted(folder) + " für die Ausgabe " + Quoted(fileName) + " existiert nicht.";
    if (!S_ISDIR(st.st_mode))
        return Quoted(folder) + " ist kein Ordner; die Ausgabe " + Quoted(fileName) + " kann dort nicht liegen.";
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return "In den Ordner " + Quoted(folder) + " darf nicht geschrieben werden: " + FileErrorText(errno) + ".";
    if (std::string problem = ReplaceProblem(fileName); !problem.empty())
        return "Die Datei " + Quoted(fileName) + " kann nicht angelegt werden: " + problem + ".";
    return {};
}

namespace {

std::string Write(const TDibRecord& raster, const std::string& fileName, const std::string& format, double dpi) {
    SafeFileWriter file(fileName);
    if (!file.Begin()) return "Die Datei " + Quoted(fileName) + " kann nicht angelegt werden: " + file.Reason() + ".";
    DescriptorDevice device(file.Descriptor());
    device.open(QIODevice::ReadWrite);
    bool encoded = false;
    if (format == "png") {
        // Straight from the raster, deflated on all cores: no copy of the sheet.
        encoded = WritePng(ViewOf(raster), device, dpi);
    } else if (format == "pdf") {
        encoded = EncodePdf(ViewOf(raster), device, dpi);
    } else {
        QImage image = ToImage(raster, format);
        if (image.isNull()) return NoMemory(fileName);
        if (dpi > 0) {
            const int dpm = int(dpi / 0.0254 + 0.5);
            image.setDotsPerMeterX(dpm);
            image.setDotsPerMeterY(dpm);
        }
        encoded = EncodePicture(image, device, format);
    }
    device.close();
    // A failed write is the likelier cause of a failed encoding; name it first.
    if (device.Error() != 0) return WriteFailed(fileName, FileErrorText(device.Error()));
    if (!encoded) {
        if (format == "png" || format == "pdf") return NoMemory(fileName);
        return "Die Grafik konnte nicht im Format " + FormatCaption(format) + " in " + Quoted(fileName) +
               " geschrieben werden.";
    }
    if (!file.Commit()) return WriteFailed(fileName, file.Reason());
    return {};
}

} // namespace

std::string WriteRaster(const TDibRecord& raster, const std::string& fileName, const std::string& format,
                        double dpi) {
    if (!raster.Bits || DibBitCount(raster) != 24)
        return "Es gibt keine Grafik, die in " + Quoted(fileName) + " geschrieben werden könnte.";
    try {
        return Write(raster, fileName, format, dpi);
    } catch (const std::bad_alloc&) {
        // The PDF engine and the picture encoders allocate on their own; the
        // temporary file went with the unwound writer.
        return NoMemory(fileName);
    }
}

} // namespace zb
