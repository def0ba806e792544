#pragma once
// The program's one pool of worker threads, made on first use and kept until
// the program ends: row bands, filter stripes, encoder pieces and whole
// background jobs (the screen's composition, print, export) all run on it, so
// a sheet costs no thread creation at all.
//
// Kernels and tasks given to the pool must not throw: an exception leaving
// one ends the program (the calls are noexcept). Catch what may fail inside
// and hand it back as a result (JobResult).
//
// ForEach is safe to call from inside a pool task: the calling thread works
// through the items itself, so it finishes even when every worker is busy
// with a long job. The caller's stop token (StopScope) is handed on to the
// workers running its items.
//
// A child process made by fork() has none of the workers: there the pool
// runs everything on the calling thread (Post included).
//
// Ownership: the pool owns its threads; the destructor runs the tasks still
// queued and joins. Posted tasks own what they capture; whoever posts a task
// that borrows something waits for it before that goes.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zb {

class ThreadPool {
public:
    // A pool of `threads` workers (at least 1), or fewer when the system
    // starts no more threads.
    explicit ThreadPool(int threads);
    ~ThreadPool();
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;

    // The program's pool: as many workers as processor cores, at least two
    // (a background job and the screen's composition run side by side even
    // on one core) and at most eight.
    static ThreadPool& Shared();

    int Size() const { return int(workers_.size()); }

    // Runs body(i) for every i in 0 .. count - 1, on the workers and on the
    // calling thread, and returns when all have run.
    void ForEach(int count, const std::function<void(int)>& body);

    // Runs `task` on a worker; returns at once.
    void Post(std::function<void()> task);

private:
    void Work();
    // fork(): the parent holds the lock across it, the child starts afresh without workers.
    static void BeforeFork();
    static void AfterForkInParent();
    static void AfterForkInChild();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> queue_;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

} // namespace zb
