#pragma once
// The recovery copy of a design with unsaved changes: written atomically into
// the user's state folder (never over the user's file) while the program
// runs, removed on a clean exit or once nothing is unsaved. Each running
// program keeps its own copy under a lock; a copy whose lock nobody holds is
// left over from a program that ended without cleaning up (a crash), and the
// next start offers to restore it.
//
// Ownership: owns its lock file and its copy; the copy of a crashed program
// belongs to whoever restores or discards it.
#include <QLockFile>
#include <QString>
#include <memory>
#include <optional>

namespace zb {

class DesignWorkspace;

class RecoveryCopy {
public:
    // `folder`: where copies live (the application's local data folder).
    explicit RecoveryCopy(QString folder);
    ~RecoveryCopy();

    // Writes the workspace's design as this program's copy, with the name
    // of the design's file beside it. Returns a German message on failure.
    std::string Write(const DesignWorkspace& workspace);
    // Removes this program's copy.
    void Remove();

    struct Leftover {
        QString design;   // the copy
        QString fileName; // the design's own file, empty for an unnamed one
    };
    // A copy left by a program that did not end cleanly, if any.
    std::optional<Leftover> FindLeftover() const;
    // Removes a leftover copy (restored or discarded).
    static void Discard(const Leftover& leftover);

private:
    QString Own(const char* suffix) const;

    QString folder_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace zb
