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
#ifndef ZB_INSTALLED_MANUAL
#define ZB_INSTALLED_MANUAL "../share/zierbogen-drucker/handbuch"
#endif

namespace zb::platform {

namespace fs = std::filesystem;

namespace {

// `relative` (one of the build's installed folders) from the program's folder.
std::string InstalledFolder(const std::string& programDirectory, const char* relative) {
    const fs::path dir = programDirectory.empty() ? fs::path(".") : fs::path(programDirectory);
    // Normalised so messages show /usr/share/..., not /usr/bin/../share/...
    std::string folder = (dir / relative).lexically_normal().string();
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

// `beside` when it is a folder, else `installed` when that is one, else `beside`.
std::string FirstFolder(const std::string& beside, const std::string& installed) {
    std::error_code ec;
    if (fs::is_directory(beside, ec)) return beside;
    if (fs::is_directory(installed, ec)) return installed;
    return beside;
}

} // namespace

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
    return InstalledFolder(programDirectory, ZB_INSTALLED_TEXTURES);
}

std::string FindTextureFolder(const std::string& programDirectory) {
    return FirstFolder(zb::TextureFolder(programDirectory), InstalledTextureFolder(programDirectory));
}

std::string TextureFolder() { return FindTextureFolder(ProgramDirectory()); }

std::string InstalledManualFolder(const std::string& programDirectory) {
    return InstalledFolder(programDirectory, ZB_INSTALLED_MANUAL);
}

std::string FindManualFolder(const std::string& programDirectory) {
    const std::string beside = programDirectory.empty() ? std::string(kManualFolderName)
                                                        : (fs::path(programDirectory) / kManualFolderName).string();
    return FirstFolder(beside, InstalledManualFolder(programDirectory));
}

std::string FindDataFolder(const std::string& programDirectory, const char* name) {
    const std::string beside = programDirectory.empty() ? std::string(name)
                                                        : (fs::path(programDirectory) / name).string();
    // The share folder is the manual's parent.
    const std::string installed = InstalledFolder(programDirectory, (std::string(ZB_INSTALLED_MANUAL) + "/../" + name).c_str());
    return FirstFolder(beside, installed);
}

} // namespace zb::platform
