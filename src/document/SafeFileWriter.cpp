#include "document/SafeFileWriter.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "document/FileError.h"

namespace zb {

namespace {

// Follows symbolic links to the file they name, existing or not, so the link
// itself survives the rename and a dangling link gets its file.
std::string ResolveTarget(const std::string& path) {
    std::error_code ec;
    std::filesystem::path current(path);
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(current, ec); ++hops) {
        const std::filesystem::path next = std::filesystem::read_symlink(current, ec);
        if (ec) return path;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current.string();
}

void SyncFolderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty()) folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    // Some file systems cannot sync a folder; the rename is done either way.
    ::fsync(fd);
    ::close(fd);
}

constexpr size_t kSuffixLength = 8;

// A temporary file younger than this may belong to a writer that has created
// it but not locked it yet.
constexpr auto kStaleAge = std::chrono::seconds(10);

bool IsSuffix(const std::string& s) {
    if (s.size() != kSuffixLength) return false;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

} // namespace

SafeFileWriter::SafeFileWriter(std::string target) : target_(ResolveTarget(target)) {}

SafeFileWriter::~SafeFileWriter() { Abort(); }

bool SafeFileWriter::Fail(int error) {
    if (!error_) error_ = error;
    Abort();
    return false;
}

std::string SafeFileWriter::Reason() const { return refusal_.empty() ? FileErrorText(error_) : refusal_; }

void SafeFileWriter::RemoveStaleTemporaries(const std::string& prefix) const {
    const std::filesystem::path pattern(prefix);
    const std::filesystem::path folder = pattern.has_parent_path() ? pattern.parent_path() : ".";
    const std::string start = pattern.filename().string();
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec), end;
    const auto now = std::chrono::system_clock::now();
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != start.size() + kSuffixLength || name.compare(0, start.size(), start) != 0 ||
            !IsSuffix(name.substr(start.size())))
            continue;
        const std::string path = (folder / name).string();
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        const bool old = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                         std::chrono::system_clock::from_time_t(st.st_mtime) + kStaleAge < now;
        // A living writer holds the lock on its file; a killed one held it
        // no longer than its process.
        if (old && ::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(path.c_str());
        ::close(fd);
    }
}

bool SafeFileWriter::Begin() {
    if (std::string problem = ReplaceProblem(target_); !problem.empty()) {
        refusal_ = problem;
        return Fail(EPERM);
    }
    const std::filesystem::path target(target_);
    const std::string folder = target.parent_path().string();
    const std::string prefix = (folder.empty() ? std::string() : folder + "/") + "." +
                               target.filename().string() + ".tmp-";
    RemoveStaleTemporaries(prefix);
    std::mt19937 rng(uint32_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                     uint32_t(::getpid()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", unsigned(rng()));
        const std::string candidate = prefix + suffix;
        const int fd = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return Fail(errno);
        }
        fd_ = fd;
        temp_ = candidate;
        // Marks the file as in use for RemoveStaleTemporaries of other writers.
        (void)::flock(fd, LOCK_EX | LOCK_NB);
        break;
    }
    if (fd_ < 0) return Fail(EEXIST);

    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        // Keep the permissions of the file we replace; failing to is no reason to stop.
        (void)::fchmod(fd_, st.st_mode & 07777);
    }
    sink_ = std::make_unique<FileSink>(fd_);
    return true;
}

bool SafeFileWriter::Commit(bool sync) {
    if (fd_ < 0) return Fail(error_ ? error_ : EBADF);
    if (!sink_->Flush()) return Fail(sink_->Error());
    if (sync && ::fsync(fd_) != 0) return Fail(errno);
    const int fd = fd_;
    fd_ = -1;
    // Some file systems report write errors only when the file is closed.
    if (::close(fd) != 0 && errno != EINTR) return Fail(errno);
    if (::rename(temp_.c_str(), target_.c_str()) != 0) return Fail(errno);
    temp_.clear();
    if (sync) SyncFolderOf(target_);
    return true;
}

void SafeFileWriter::Abort() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

} // namespace zb
