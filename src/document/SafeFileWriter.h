#pragma once
// Replaces a file without ever leaving it half written: everything goes to a
// temporary file in the same folder, which is flushed, synced and then renamed
// over the target. Until Commit() succeeds the old file stays as it was; a
// writer that is destroyed without a successful Commit() removes its
// temporary file.
//
// The new file keeps the permission bits of the file it replaces (a new file
// gets the usual ones under the user's umask). A target that is a symbolic
// link is written through: the link stays, the file it points to is replaced.
// Only regular files are replaced: a folder, a named pipe, a socket or a
// device under the name (directly or behind a link) and a write-protected
// file are refused before anything is written.
//
// Temporary files are named ".NAME.tmp-XXXXXXXX" and locked while their
// writer lives. Begin() removes the ones of the same target that no process
// holds any more (left by a killed save), and nothing else.
#include <memory>
#include <string>

#include "document/FileSink.h"

namespace zb {

class SafeFileWriter {
public:
    explicit SafeFileWriter(std::string target);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Creates the temporary file. False (Error() and Reason() set) when the
    // target may not be replaced or the folder does not allow it.
    bool Begin();
    // Valid after a successful Begin().
    FileSink& Sink() { return *sink_; }
    // The temporary file's descriptor, valid after a successful Begin() until
    // Commit() or Abort(), for writers that need to seek. Whoever writes here
    // directly leaves Sink() untouched.
    int Descriptor() const { return fd_; }
    // Flushes, syncs (when `sync`), closes and renames the temporary file over
    // the target, then syncs the folder (when `sync`). False (Error() set)
    // when any step fails; the temporary file is then removed and the target
    // is untouched.
    bool Commit(bool sync = true);
    // Removes the temporary file; the target is untouched.
    void Abort();

    int Error() const { return error_; }
    // The cause of the failure in German, without a full stop: what the
    // target is when it may not be replaced, else the text of Error().
    std::string Reason() const;
    // True when Begin() refused the target itself (not a file, write-protected).
    bool Refused() const { return !refusal_.empty(); }
    const std::string& TargetPath() const { return target_; }
    const std::string& TemporaryPath() const { return temp_; }

private:
    bool Fail(int error);
    // Removes temporary files of this target left by writers that are gone.
    void RemoveStaleTemporaries(const std::string& prefix) const;

    std::string target_;
    std::string temp_;
    int fd_ = -1;
    int error_ = 0;
    std::string refusal_;
    std::unique_ptr<FileSink> sink_;
};

} // namespace zb
