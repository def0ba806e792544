#include "document/FileError.h"

#include <cerrno>
#include <filesystem>

namespace zb {

std::string FileErrorText(int error) {
    switch (error) {
    case ENOENT: return "Die Datei oder ihr Ordner wurde nicht gefunden (File not found)";
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL: return "Der Dateiname ist ungültig (Invalid filename)";
    case EMFILE:
    case ENFILE: return "Es sind zu viele Dateien geöffnet (Too many open files)";
    case EACCES:
    case EPERM: return "Der Zugriff wurde verweigert (File access denied)";
    case EROFS: return "Der Datenträger ist schreibgeschützt (File access denied)";
    case EISDIR: return "Der Name gehört zu einem Ordner, nicht zu einer Datei (File access denied)";
    case ENOSPC:
    case EDQUOT: return "Der Datenträger ist voll (Disk full)";
    case EFBIG: return "Die Datei ist zu groß für den Datenträger (Disk full)";
    case ENOMEM: return "Nicht genug Arbeitsspeicher";
    default: return "Ein- oder Ausgabefehler (I/O error " + std::to_string(error) + ")";
    }
}

std::string QuotedFileName(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    if (name.empty()) name = path;
    return "„" + name + "“";
}

} // namespace zb
