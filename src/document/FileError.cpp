#include "document/FileError.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

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
    case ENOMEM: return "Nicht genug Speicher";
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

std::string NotAFileText(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    if (S_ISREG(st.st_mode)) return {};
    if (S_ISDIR(st.st_mode)) return FileErrorText(EISDIR);
    if (S_ISFIFO(st.st_mode)) return "Der Name gehört zu einer benannten Pipe (FIFO), nicht zu einer Datei";
    if (S_ISSOCK(st.st_mode)) return "Der Name gehört zu einem Socket, nicht zu einer Datei";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "Der Name gehört zu einem Gerät, nicht zu einer Datei";
    return "Der Name gehört zu keiner gewöhnlichen Datei";
}

std::string ReplaceProblem(const std::string& path) {
    if (std::string kind = NotAFileText(path); !kind.empty()) return kind;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    // Replacing by rename would get past a write-protected file; the user
    // protected it for a reason.
    if ((st.st_mode & 0222) == 0 || (::access(path.c_str(), W_OK) != 0 && errno == EACCES)) return kWriteProtected;
    return {};
}

std::string QuotedFileName(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    if (name.empty()) name = path;
    return "„" + name + "“";
}

} // namespace zb
