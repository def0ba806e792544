#include "platform/QtPlatform.h"

#include <QCoreApplication>
#include <filesystem>
#include <system_error>

#include "imaging/TextureLibrary.h"

#ifndef ZB_INSTALLED_TEXTURES
// Set by the build from the installation folders; this is the usual layout.
#define ZB_INSTALLED_TEXTURES "../share/zierbogen-drucker/texturen"
#endif

namespace zb::platform {

namespace fs = std::filesystem;

const char* ProgramDirectory() {
    static std::string dir;
    dir = QCoreApplication::applicationDirPath().toStdString();
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
