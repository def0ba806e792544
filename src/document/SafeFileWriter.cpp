#include "document/SafeFileWriter.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace zb {

namespace {

// Resolves symbolic links so the link itself survives the rename.
std::string ResolveTarget(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path;
    const auto resolved = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : resolved.string();
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

} // namespace

SafeFileWriter::SafeFileWriter(std::string target) : target_(ResolveTarget(target)) {}

SafeFileWriter::~SafeFileWriter() { Abort(); }

bool SafeFileWriter::Fail(int error) {
    if (!error_) error_ = error;
    Abort();
    return false;
}

bool SafeFileWriter::Begin() {
    const std::filesystem::path target(target_);
    const std::string folder = target.parent_path().string();
    const std::string prefix = (folder.empty() ? std::string() : folder + "/") + "." +
                               target.filename().string() + ".tmp-";
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
