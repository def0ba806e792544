#pragma once
// The German texts the picture and PDF writers share, each naming the path
// as the user gave it.
#include <string>

namespace zb {

// The path in German quotes, in the form the user knows it.
std::string QuotedPath(const std::string& fileName);
// "Die Datei „…“ konnte nicht geschrieben werden: <reason>."
std::string WriteFailedMessage(const std::string& fileName, const std::string& reason);
// Memory ran short; nothing was written.
std::string NoMemoryMessage(const std::string& fileName);
// "PNG", "JPEG", "TIFF", … for a format key ("png", "jpg", "tif", …).
std::string FormatCaption(std::string format);

} // namespace zb
