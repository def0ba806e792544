#pragma once
// Cancelling a long computation from another thread. While a CancelScope lives
// on a thread, the kernels running there (and the worker threads they start
// through ParallelRows) ask Cancelled() between row bands or every few
// hundred shapes and stop early; the half-done result is then thrown away by
// whoever set the flag. Without a scope nothing is ever cancelled, so
// printing, export and the tests run exactly as before.
#include <atomic>

namespace zb {

class CancelScope {
public:
    // `flag` (may be null) is borrowed and must outlive the scope.
    explicit CancelScope(const std::atomic<bool>* flag);
    ~CancelScope();
    CancelScope(const CancelScope&) = delete;
    CancelScope& operator=(const CancelScope&) = delete;

private:
    const std::atomic<bool>* previous_;
};

// The flag of this thread's innermost scope, or null.
const std::atomic<bool>* CurrentCancelFlag();

// True when this thread's computation has been asked to stop.
inline bool Cancelled() {
    const std::atomic<bool>* flag = CurrentCancelFlag();
    return flag && flag->load(std::memory_order_relaxed);
}

} // namespace zb
