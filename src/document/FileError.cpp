#include "document/FileError.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace zb {

std::string FileErrorText(int error) {
    switch (error) {
    case ENOENT: return "Die Datei oder ihr Ordner wurde nicht gefunden";
    case ENOTDIR: return "Ein Teil des Pfads ist kein Ordner";
    case ENAMETOOLONG: return "Der Dateiname ist zu lang";
    case ELOOP: return "Der Pfad enthält zu viele symbolische Verknüpfungen";
    case EINVAL: return "Der Dateiname ist ungültig";
    case EMFILE:
    case ENFILE: return "Es sind zu viele Dateien geöffnet";
    case EACCES:
    case EPERM: return "Der Zugriff wurde verweigert";
    case EROFS: return "Der Datenträger ist schreibgeschützt";
    case EISDIR: return "Der Name gehört zu einem Ordner, nicht zu einer Datei";
    case ENOSPC:
    case EDQUOT: return "Der Datenträger ist voll";
    case EFBIG: return "Die Datei wird größer, als der Datenträger oder das System erlaubt";
    case ENOMEM: return "Nicht genug Arbeitsspeicher";
    case EIO: return "Der Datenträger meldet einen Lese- oder Schreibfehler";
    case EBUSY:
    case ETXTBSY: return "Die Datei wird gerade anderweitig benutzt";
    case EEXIST: return "Eine Datei dieses Namens gibt es schon";
    case EXDEV: return "Die Datei kann nicht über Datenträger hinweg umbenannt werden";
    case ENXIO:
    case ENODEV: return "Das Gerät ist nicht verfügbar";
    default: return "Ein- oder Ausgabefehler (" + std::string(std::strerror(error)) + ")";
    }
}

std::string QuotedFileName(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    if (name.empty()) name = path;
    return "„" + name + "“";
}

} // namespace zb
