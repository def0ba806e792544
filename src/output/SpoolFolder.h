#pragma once
// A private folder for one print job's file: made with mkdtemp (mode 0700,
// a name nobody can guess) in $XDG_RUNTIME_DIR, else $TMPDIR or /tmp, so no
// other user can plant a link or a file where the job is written. A lock
// file inside is held for the folder's life; making a folder removes the
// folders of jobs whose program is gone (killed while it printed), and the
// half-written spool files older versions left in the temporary folder.
//
// Ownership: owns the folder and everything in it; removes them when destroyed.
#include <string>

#include "platform/FileLock.h"

namespace zb {

class SpoolFolder {
public:
    // `parent`: where to make the folder; empty: the runtime or temporary folder.
    explicit SpoolFolder(std::string parent = {});
    ~SpoolFolder();
    SpoolFolder(const SpoolFolder&) = delete;
    SpoolFolder& operator=(const SpoolFolder&) = delete;

    // False when no folder could be made; Error() holds the reason.
    bool Made() const { return !path_.empty(); }
    int Error() const { return error_; }
    // The job's file inside the folder.
    std::string File() const { return path_ + "/auftrag.pdf"; }
    const std::string& Path() const { return path_; }

    // The folder jobs are spooled in when none is given.
    static std::string DefaultParent();

private:
    std::string path_;
    int error_ = 0;
    platform::FileLock lock_;
};

} // namespace zb
