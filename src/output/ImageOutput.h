#pragma once
// Writing a composed raster to a picture file. Files are written to a
// temporary name and renamed into place, so a failed write never leaves a
// half-written file under the output name.
#include <string>

#include "base/TDibRecord.h"

namespace zb {

// The output format from the file name's extension: "png", "jpg", "tif",
// "bmp" or "pdf"; empty when the extension is none of them.
std::string OutputFormat(const std::string& fileName);

// Writes a 24-bit raster. dpi > 0 records the resolution (PNG pHYs, TIFF and
// JPEG resolution tags, BMP pixels per metre; a PDF page of the raster's
// physical size at that resolution). Returns a German message on failure,
// empty on success.
std::string WriteRaster(const TDibRecord& raster, const std::string& fileName, const std::string& format,
                        double dpi);

} // namespace zb
