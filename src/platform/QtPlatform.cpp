#include "platform/QtPlatform.h"

#include <QCoreApplication>
#include <climits>
#include <string>
#include <unistd.h>

#include "platform/FileNames.h"

namespace zb::platform {

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

} // namespace zb::platform
