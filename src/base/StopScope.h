#pragma once
// The stop token of the work running on this thread. A composition installs
// the token it was given for as long as it runs; the kernels beneath it
// (row bands, shape and text loops) ask StopRequested() every few rows or
// shapes instead of taking the token as an argument each, and the thread
// pool hands the caller's token on to the workers running its bands.
// Without a scope nothing ever stops early.
#include <stop_token>

namespace zb {

class StopScope {
public:
    // `token` is borrowed and must outlive the scope.
    explicit StopScope(const std::stop_token& token);
    ~StopScope();
    StopScope(const StopScope&) = delete;
    StopScope& operator=(const StopScope&) = delete;

private:
    const std::stop_token* previous_;
};

// The token of this thread's innermost scope, or null.
const std::stop_token* CurrentStopToken();

inline bool StopRequested() {
    const std::stop_token* token = CurrentStopToken();
    return token && token->stop_requested();
}

} // namespace zb
