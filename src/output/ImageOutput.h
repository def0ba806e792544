#pragma once
// Writing a composed raster to a picture or PDF file, for the command-line
// program and the window's export. Files are written to a temporary name in
// the same folder and renamed into place only when every byte is on the disk,
// so a failed write never leaves a half-written file under the output name
// and never touches a file that was there before. Only regular files are
// replaced: a pipe, a socket, a device (also behind a link) and a
// write-protected file are refused; a replaced file keeps its mode.
//
// File names are in the file system's encoding (QFile::encodeName of a name
// the user chose, or a command-line argument as it came).
#include <string>

#include "base/TDibRecord.h"

namespace zb {

// The output format from the file name's extension: "png", "jpg", "tif",
// "bmp" or "pdf"; empty when the extension is none of them.
std::string OutputFormat(const std::string& fileName);

// Whether a file of this name can be written: its folder exists, is a folder
// and may be written to, and the name itself is no folder, pipe, socket or
// device and no write-protected file. Returns a German
// message naming the path as given, or empty. Asked before a long composition,
// so it does not fail only at the end.
std::string CheckOutputPath(const std::string& fileName);

// Writes a 24-bit raster. dpi > 0 records the resolution (PNG pHYs, TIFF and
// JPEG resolution tags, BMP pixels per metre; a PDF page of the raster's
// physical size at that resolution, 300 when none is given). Every copy and
// conversion on the way to the encoder is checked: memory running short is
// reported ("Nicht genug Speicher ..."), never written as an empty picture.
// Returns a German message naming the path as given on failure, empty on
// success. The raster goes to RasterFileStream as one band; a sheet that is
// composed band by band is written with RasterFileStream directly.
std::string WriteRaster(const TDibRecord& raster, const std::string& fileName, const std::string& format,
                        double dpi);

} // namespace zb
