#pragma once
// The recovery copy of a design with unsaved changes: written atomically into
// the user's state folder (never over the user's file) while the program
// runs, removed once nothing is unsaved or on a clean exit.
//
// Each running program names its copy by the time it started and its process
// id, and holds a kernel lock on the copy's lock file for as long as it runs.
// Only the lock tells whose a copy is: one whose lock nobody holds was left by
// a program that ended without cleaning up (a crash, a kill), whatever its
// name, and the next start offers it. A restored copy is taken over by the
// program that restored it and stays until its design is saved or discarded.
//
// Ownership: owns its lock and its copy; a leftover belongs to whoever found
// it (its lock is held while the question is open) until restored or discarded.
#include <QDateTime>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "document/DesignFile.h"
#include "platform/FileLock.h"

namespace zb {

class RecoveryCopy {
public:
    // `folder`: where copies live (the application's local data folder).
    explicit RecoveryCopy(QString folder);
    // A copy still there stays (as a crash leaves it); the lock file of a
    // program without a copy goes.
    ~RecoveryCopy();

    // Writes `design` as this program's copy, with `fileName`, the name of
    // the design's file (empty for an unnamed one), beside it. Safe on any
    // thread, one write at a time (RecoveryWriter sees to that); TakeOver must
    // not run meanwhile.
    FileResult Write(const Design& design, const std::string& fileName);
    // Removes this program's copy.
    void Remove();

    struct Leftover {
        QString design;    // the copy
        QString fileName;  // the design's own file, empty for an unnamed one
        QDateTime written; // when the copy was written last
        std::shared_ptr<platform::FileLock> lock; // held while the copy is offered
    };
    // The copies left by programs that ended without cleaning up, newest
    // first, each locked for the caller. Removes what such programs left
    // half written and lock files without a copy. Only regular files count.
    std::vector<Leftover> FindLeftovers() const;
    // The restored copy becomes this program's own.
    void TakeOver(const Leftover& leftover);
    // Removes a leftover copy (discarded).
    static void Discard(const Leftover& leftover);

    // This program's copy, for tests.
    QString CopyPath() const { return base_ + QStringLiteral(".zbg"); }

private:
    QString folder_;
    QString base_; // the copy's path without its extension
    platform::FileLock lock_;
};

} // namespace zb
