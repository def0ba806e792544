#pragma once
// A print or an export running on the thread pool while the window stays
// usable. The work owns what it reads (a snapshot of the design taken when
// it started, its own settings), tells its progress here and stops when its
// token asks. One job at a time.
//
// Ownership: owns the work, and with it the snapshot, until the work has
// ended. The destructor cancels a running job and waits for it.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>

#include "base/JobResult.h"

namespace zb {

class OutputJob {
public:
    // Per mille done, as the work tells it (0 .. 1000).
    using Progress = std::function<void(int permille)>;
    using Work = std::function<JobResult(std::stop_token stop, const Progress& progress)>;

    OutputJob() = default;
    ~OutputJob();
    OutputJob(const OutputJob&) = delete;
    OutputJob& operator=(const OutputJob&) = delete;

    // Starts `work` on the pool, unless a job runs (false then). `finished`
    // is called on the pool's thread once the result can be taken, before the
    // job counts as ended (Wait returns after it).
    bool Start(Work work, std::function<void()> finished);
    bool Running() const;
    int Permille() const { return permille_.load(); }
    // Asks the running job to stop; it ends at its next row band.
    void Cancel();
    // Waits until no job runs.
    void Wait();
    // The result of the job that ended last, once.
    std::optional<JobResult> Take();

private:
    mutable std::mutex mutex_;
    std::condition_variable ended_;
    bool running_ = false;
    std::stop_source stop_;
    std::optional<JobResult> result_;
    std::atomic<int> permille_{0};
};

} // namespace zb
