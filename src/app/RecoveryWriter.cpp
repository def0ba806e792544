#include "app/RecoveryWriter.h"

#include <cerrno>
#include <new>
#include <utility>

#include "app/RecoveryCopy.h"
#include "base/ThreadPool.h"
#include "document/FileError.h"

namespace zb {

RecoveryWriter::RecoveryWriter(RecoveryCopy& copy, Failed failed) : copy_(copy), failed_(std::move(failed)) {}

RecoveryWriter::~RecoveryWriter() { Wait(); }

void RecoveryWriter::Write(std::shared_ptr<const Design> design, std::string fileName) {
    std::lock_guard<std::mutex> lock(mutex_);
    next_ = Request{std::move(design), std::move(fileName)};
    if (running_) return;
    running_ = true;
    ThreadPool::Shared().Post([this] { Drain(); });
}

void RecoveryWriter::Remove() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (running_) {
        next_ = Request{};
        return;
    }
    next_.reset();
    copy_.Remove();
}

void RecoveryWriter::Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return !running_; });
}

void RecoveryWriter::Drain() noexcept {
    for (;;) {
        Request request;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!next_) {
                running_ = false;
                idle_.notify_all();
                return;
            }
            request = std::move(*next_);
            next_.reset();
        }
        if (!request.design) {
            copy_.Remove();
            continue;
        }
        FileResult result;
        try {
            result = copy_.Write(*request.design, request.fileName);
        } catch (const std::bad_alloc&) {
            result.Reason = FileErrorText(ENOMEM);
            result.Message = "Die Sicherungskopie konnte nicht gespeichert werden. " + result.Reason + ".";
        }
        // The snapshot goes here, off the window's thread.
        request.design.reset();
        try {
            if (!result && failed_) failed_(result);
        } catch (const std::bad_alloc&) {
            // Too little memory to say so; the next write tries again.
        }
    }
}

} // namespace zb
