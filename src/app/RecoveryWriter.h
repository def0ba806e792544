#pragma once
// Writes the recovery copy on the thread pool, so the window never waits for
// the disk. Each write is of a snapshot of the design taken when it was asked
// for, so it holds the design as it was then, whatever the user does
// meanwhile. One write at a time: a request while one runs waits for it, and
// a newer request replaces one still waiting.
//
// Ownership: borrows the recovery copy, which must outlive the writer; owns
// the snapshots it has still to write. The destructor waits for the write
// under way and the one waiting after it.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "document/DesignFile.h"

namespace zb {

class RecoveryCopy;

class RecoveryWriter {
public:
    // `failed` is called on a pool thread with the result of a write that failed.
    using Failed = std::function<void(const FileResult&)>;

    RecoveryWriter(RecoveryCopy& copy, Failed failed);
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    // Writes `design` as the copy of the design named `fileName` (empty for
    // an unnamed one); returns at once.
    void Write(std::shared_ptr<const Design> design, std::string fileName);
    // Removes the copy: at once when no write runs, else right after it. A
    // write still waiting is dropped.
    void Remove();
    // Returns once nothing is being written or waiting to be.
    void Wait();

private:
    // What is to be done next: a snapshot to write, or (null) the removal.
    struct Request {
        std::shared_ptr<const Design> design;
        std::string fileName;
    };
    // Runs on the pool: works through the requests until none is left.
    void Drain() noexcept;

    RecoveryCopy& copy_;
    Failed failed_;
    std::mutex mutex_;
    std::condition_variable idle_;
    std::optional<Request> next_;
    bool running_ = false;
};

} // namespace zb
