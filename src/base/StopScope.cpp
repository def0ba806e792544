#include "base/StopScope.h"

namespace zb {

namespace {
thread_local const std::stop_token* t_token = nullptr;
} // namespace

StopScope::StopScope(const std::stop_token& token) : previous_(t_token) { t_token = &token; }

StopScope::~StopScope() { t_token = previous_; }

const std::stop_token* CurrentStopToken() { return t_token; }

} // namespace zb
