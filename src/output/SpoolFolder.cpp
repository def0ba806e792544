#include "output/SpoolFolder.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zb {

namespace {

constexpr const char* kFolderPrefix = "zierbogen-druck-";
constexpr const char* kLockName = "sperre";
// What older versions left: ".zierbogen-auftrag-PID-N.pdf.tmp-XXXXXXXX".
constexpr const char* kOldSpoolPrefix = ".zierbogen-auftrag-";
// A file or folder younger than this may belong to a job that has not
// locked it yet.
constexpr time_t kStaleSeconds = 10;

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(dir);
    }
    return names;
}

// Ours, of the kind asked, not a link, and old enough to be left over.
bool OursAndOld(const std::string& path, bool folder) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || st.st_uid != ::getuid()) return false;
    if (folder ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode)) return false;
    return st.st_mtime + kStaleSeconds < ::time(nullptr);
}

// Removes a left-over job folder: its regular files, then the folder.
void RemoveJobFolder(const std::string& folder) {
    for (const std::string& name : Names(folder)) {
        const std::string path = folder + "/" + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) ::unlink(path.c_str());
    }
    ::rmdir(folder.c_str());
}

void RemoveLeftovers(const std::string& parent) {
    for (const std::string& name : Names(parent)) {
        const std::string path = parent + "/" + name;
        if (StartsWith(name, kFolderPrefix) && OursAndOld(path, true)) {
            // A job still printing holds the lock in its folder.
            platform::FileLock lock;
            const bool locked = ::access((path + "/" + kLockName).c_str(), F_OK) == 0;
            if (!locked || lock.TryLock(path + "/" + kLockName, false)) RemoveJobFolder(path);
        } else if (StartsWith(name, kOldSpoolPrefix) && name.find(".pdf.tmp-") != std::string::npos &&
                   OursAndOld(path, false)) {
            platform::FileLock lock;
            if (lock.TryLock(path, false)) lock.RemoveFile();
        }
    }
}

bool UsableFolder(const char* path) {
    struct stat st {};
    return path && *path && ::stat(path, &st) == 0 && S_ISDIR(st.st_mode) && ::access(path, W_OK | X_OK) == 0;
}

} // namespace

std::string SpoolFolder::DefaultParent() {
    for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"})
        if (const char* value = std::getenv(name); UsableFolder(value)) return value;
    return "/tmp";
}

SpoolFolder::SpoolFolder(std::string parent) {
    if (parent.empty()) parent = DefaultParent();
    RemoveLeftovers(parent);
    std::string pattern = parent + "/" + kFolderPrefix + "XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        error_ = errno;
        return;
    }
    path_ = pattern;
    if (!lock_.TryLock(path_ + "/" + kLockName, true)) {
        error_ = errno ? errno : EIO;
        RemoveJobFolder(path_);
        path_.clear();
    }
}

SpoolFolder::~SpoolFolder() {
    if (path_.empty()) return;
    lock_.Release();
    RemoveJobFolder(path_);
}

} // namespace zb
