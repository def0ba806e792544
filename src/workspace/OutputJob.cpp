#include "workspace/OutputJob.h"

#include <algorithm>
#include <new>

#include "base/ThreadPool.h"

namespace zb {

OutputJob::~OutputJob() {
    Cancel();
    Wait();
}

bool OutputJob::Start(Work work, std::function<void()> finished) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (running_) return false;
    running_ = true;
    stop_ = std::stop_source();
    result_.reset();
    permille_ = 0;
    ThreadPool::Shared().Post([this, work = std::move(work), finished = std::move(finished),
                               stop = stop_.get_token()]() mutable {
        JobResult result;
        try {
            result = work(stop, [this](int permille) { permille_ = std::clamp(permille, 0, 1000); });
        } catch (const std::bad_alloc&) {
            result = JobResult::OutOfMemory("Nicht genügend Speicher für diesen Auftrag. Er wurde abgebrochen.");
        } catch (const std::exception& e) {
            result = JobResult::Failed(std::string("Der Auftrag ist gescheitert: ") + e.what());
        }
        // What the work owned (the snapshot) goes here, off the window's thread.
        work = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            result_ = std::move(result);
        }
        if (finished) finished();
        std::lock_guard<std::mutex> lock(mutex_);
        running_ = false;
        ended_.notify_all();
    });
    return true;
}

bool OutputJob::Running() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_;
}

void OutputJob::Cancel() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (running_) stop_.request_stop();
}

void OutputJob::Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    ended_.wait(lock, [this] { return !running_; });
}

std::optional<JobResult> OutputJob::Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::optional<JobResult> result = std::move(result_);
    result_.reset();
    return result;
}

} // namespace zb
