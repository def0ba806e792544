#include "output/ImageOutput.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "base/RasterView.h"
#include "document/FileError.h"
#include "document/SafeFileWriter.h"
#include "output/OutputMessages.h"
#include "output/RasterFileStream.h"

namespace zb {

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
        return "Unter dem Namen " + QuotedPath(fileName) + " gibt es einen Ordner; die Ausgabe braucht einen Dateinamen.";
    std::string folder = std::filesystem::path(fileName).parent_path().string();
    if (folder.empty()) folder = ".";
    if (::stat(folder.c_str(), &st) != 0)
        return "Der Ordner " + QuotedPath(folder) + " für die Ausgabe " + QuotedPath(fileName) + " existiert nicht.";
    if (!S_ISDIR(st.st_mode))
        return QuotedPath(folder) + " ist kein Ordner; die Ausgabe " + QuotedPath(fileName) + " kann dort nicht liegen.";
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return "In den Ordner " + QuotedPath(folder) + " darf nicht geschrieben werden: " + FileErrorText(errno) + ".";
    if (std::string problem = ReplaceProblem(fileName); !problem.empty())
        return "Die Datei " + QuotedPath(fileName) + " kann nicht angelegt werden: " + problem + ".";
    return {};
}

std::string WriteRaster(const TDibRecord& raster, const std::string& fileName, const std::string& format,
                        double dpi) {
    if (!raster.Bits || DibBitCount(raster) != 24)
        return "Es gibt keine Grafik, die in " + QuotedPath(fileName) + " geschrieben werden könnte.";
    // The whole raster as one band: the same encoders as a sheet written band by band.
    const RasterView view = ViewOf(raster);
    RasterFileStream stream(fileName, format, view.width, view.height, dpi);
    if (std::string m = stream.Begin(); !m.empty()) return m;
    if (std::string m = stream.AddRows(view); !m.empty()) return m;
    return stream.Finish();
}

} // namespace zb
