#pragma once
// Saving and opening design files (.zbg), as the main window and the
// command-line program call them. Both report failures as a German message
// that names the file; neither ever shows anything itself.
#include <cstdint>
#include <memory>
#include <string>

#include "model/Design.h"

namespace zb {

struct FileResult {
    bool Ok = false;
    std::string Message;  // German, names the file; empty on success
    // The cause alone, German, without the file's name or what stays as it
    // was (e.g. "Der Datenträger ist voll"), for callers that word the
    // message themselves; empty on success.
    std::string Reason;
    explicit operator bool() const { return Ok; }
};

struct SaveOptions {
    // Sync the new file and its folder to the disk before reporting success.
    // Only the benchmark turns this off, to measure the writing by itself.
    bool Sync = true;
    // For tests of failed saves: writes fail as on a full disk once this many
    // bytes of the new file were written. Negative: no limit.
    int64_t FailAfterBytes = -1;
};

// Writes `design` to `fileName`. The previous file is replaced only once the
// new one is completely on the disk: the design goes to a temporary file in
// the same folder, which is synced and renamed over the old one. A
// write-protected file is not replaced. On failure the old file is untouched
// and the temporary file removed. The design is not changed (its selection
// included).
FileResult savefile(const Design& design, const std::string& fileName, const SaveOptions& options = {});

// Reads `fileName` into a new design. Only when the whole file was read does
// the new design replace `design` (the old one is released); on any failure
// `design` is exactly as it was. After success the top layer is selected.
FileResult openfile(const std::string& fileName, std::unique_ptr<Design>& design);

} // namespace zb
