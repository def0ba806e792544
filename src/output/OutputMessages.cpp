#include "output/OutputMessages.h"

#include <algorithm>
#include <cctype>

#include "platform/FileNames.h"

namespace zb {

std::string QuotedPath(const std::string& fileName) { return "„" + platform::DisplayPath(fileName) + "“"; }

std::string WriteFailedMessage(const std::string& fileName, const std::string& reason) {
    return "Die Datei " + QuotedPath(fileName) + " konnte nicht geschrieben werden: " + reason + ".";
}

std::string NoMemoryMessage(const std::string& fileName) {
    return "Nicht genug Speicher, um " + QuotedPath(fileName) + " zu schreiben. Es wurde nichts geschrieben.";
}

std::string FormatCaption(std::string format) {
    std::transform(format.begin(), format.end(), format.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return format == "JPG" ? "JPEG" : format == "TIF" ? "TIFF" : format;
}

} // namespace zb
