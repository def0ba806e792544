#pragma once
// A lock the kernel holds for this process on a file: taken with flock on a
// descriptor that stays open, so it ends with the process however that ends
// (a kill included) and no later process can mistake it for its own, even
// one that got the same process id.
//
// Ownership: owns its descriptor; the file itself stays where it is unless
// RemoveFile() is called.
#include <string>

namespace zb::platform {

class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock on `path` without waiting, creating the file (mode 0600)
    // when `create`. Never follows a symbolic link and never opens anything
    // but a regular file (a named pipe under the name cannot block). False
    // when another process (or another lock of this one) holds it.
    bool TryLock(const std::string& path, bool create);
    bool Held() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }
    // Removes the locked file, then lets go of the lock.
    void RemoveFile();
    void Release();

private:
    int fd_ = -1;
    std::string path_;
};

// The contents of a regular file, read without blocking and without
// following a link, at most `limit` bytes; false for anything else.
bool ReadRegularFile(const std::string& path, size_t limit, std::string& contents);

} // namespace zb::platform
