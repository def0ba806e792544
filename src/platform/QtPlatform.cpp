#include "platform/QtPlatform.h"

#include <QCoreApplication>
#include <climits>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

#include "imaging/TextureLibrary.h"
#include "platform/FileNames.h"

#ifndef ZB_INSTALLED_TEXTURES
// Set by the build from the installation folders; this is the usual layout.
#define ZB_INSTALLED_TEXTURES "../share/zierbogen-drucker/texturen"
#endif

namespace zb::platform {

namespace fs = std::filesystem;

const char* ProgramDirectory() {
    static std::string dir;
    // The link's own bytes: the folder may be named in another encoding than UTF-8.
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n > 0) {
        dir.assign(path, size_t(n));
        const size_t slash = dir.find_last_of('/');
        dir = slash == 0 ? std::string("/") : dir.substr(0, slash);
    } else {
        dir = NativePath(QCoreApplication::applicationDirPath());
    }
    return dir.c_str();
}

std::string InstalledTextureFolder(const std::string& programDirectory) {
    const fs::path dir = programDirectory.empty() ? fs::path(".") : fs::path(programDirectory);
    // Normalised so messages show /usr/share/..., not /usr/bin/../share/...
    std::string folder = (dir / ZB_INSTALLED_TEXTURES).lexically_normal().string();
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

std::string FindTextureFolder(const std::string& programDirectory) {
    const std::string beside = zb::TextureFolder(programDirectory);
    std::error_code ec;
    if (fs::is_directory(beside, ec)) return beside;
    const std::string installed = InstalledTextureFolder(programDirectory);
    if (fs::is_directory(installed, ec)) return installed;
    return beside;
}

std::string TextureFolder() { return FindTextureFolder(ProgramDirectory()); }

} // namespace zb::platform
