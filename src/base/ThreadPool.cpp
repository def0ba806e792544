#include "base/ThreadPool.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>
#include <pthread.h>
#include <stop_token>
#include <system_error>

#include "base/StopScope.h"

namespace zb {

namespace {

// One ForEach call: whoever takes an item next, and how many are finished.
// Shared with the helpers, which may start after the call has returned.
struct Batch {
    int count = 0;
    const std::function<void(int)>* body = nullptr;
    std::stop_token stop;
    bool stoppable = false;
    std::atomic<int> next{0};
    std::atomic<int> finished{0};
    std::mutex mutex;
    std::condition_variable done;
};

void RunItems(Batch& batch) noexcept {
    for (;;) {
        const int i = batch.next.fetch_add(1);
        if (i >= batch.count) return;
        (*batch.body)(i);
        if (batch.finished.fetch_add(1) + 1 == batch.count) {
            std::lock_guard<std::mutex> lock(batch.mutex);
            batch.done.notify_all();
        }
    }
}

} // namespace

ThreadPool::ThreadPool(int threads) {
    const int n = std::max(threads, 1);
    workers_.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        try {
            workers_.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            // No thread to be had (a tight address-space limit): the pool
            // makes do with the workers it has, down to none at all, where
            // callers run everything themselves.
            break;
        }
    }
}

ThreadPool::~ThreadPool() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

namespace {
ThreadPool* g_shared = nullptr;
} // namespace

ThreadPool& ThreadPool::Shared() {
    static ThreadPool pool(int(std::clamp(std::thread::hardware_concurrency(), 2u, 8u)));
    static const bool registered = [] {
        g_shared = &pool;
        return ::pthread_atfork(&BeforeFork, &AfterForkInParent, &AfterForkInChild) == 0;
    }();
    (void)registered;
    return pool;
}

void ThreadPool::BeforeFork() {
    if (g_shared) g_shared->mutex_.lock();
}

void ThreadPool::AfterForkInParent() {
    if (g_shared) g_shared->mutex_.unlock();
}

void ThreadPool::AfterForkInChild() {
    ThreadPool* pool = g_shared;
    if (!pool) return;
    // The workers did not come along, and their waits left the lock and the
    // condition in states no thread here can end: both start afresh, the
    // threads' handles are let go without a join, the parent's tasks dropped.
    new (&pool->mutex_) std::mutex();
    new (&pool->wake_) std::condition_variable();
    new (&pool->workers_) std::vector<std::thread>();
    pool->queue_.clear();
}

void ThreadPool::Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) return; // stopping, and nothing left to run
        std::function<void()> task = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        [&task]() noexcept { task(); }();
        task = nullptr; // what it captured goes before the lock is taken
        lock.lock();
    }
}

void ThreadPool::Post(std::function<void()> task) {
    if (workers_.empty()) {
        [&task]() noexcept { task(); }();
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(task));
    }
    wake_.notify_one();
}

void ThreadPool::ForEach(int count, const std::function<void(int)>& body) {
    if (count <= 0) return;
    if (count == 1) {
        [&body]() noexcept { body(0); }();
        return;
    }
    auto batch = std::make_shared<Batch>();
    batch->count = count;
    batch->body = &body;
    if (const std::stop_token* token = CurrentStopToken()) {
        batch->stop = *token;
        batch->stoppable = true;
    }
    const int helpers = std::min(count - 1, Size());
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (int h = 0; h < helpers; ++h) {
            queue_.push_back([batch] {
                if (batch->stoppable) {
                    StopScope scope(batch->stop);
                    RunItems(*batch);
                } else {
                    RunItems(*batch);
                }
            });
        }
    }
    if (helpers == 1) wake_.notify_one();
    else wake_.notify_all();
    RunItems(*batch);
    std::unique_lock<std::mutex> lock(batch->mutex);
    batch->done.wait(lock, [&] { return batch->finished.load() == count; });
}

} // namespace zb
