#include "base/Cancellation.h"

namespace zb {

namespace {
thread_local const std::atomic<bool>* t_flag = nullptr;
} // namespace

CancelScope::CancelScope(const std::atomic<bool>* flag) : previous_(t_flag) { t_flag = flag; }

CancelScope::~CancelScope() { t_flag = previous_; }

const std::atomic<bool>* CurrentCancelFlag() { return t_flag; }

} // namespace zb
