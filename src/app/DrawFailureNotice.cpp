#include "app/DrawFailureNotice.h"

namespace zb {

void DrawFailureNotice::After(const std::string& failure) {
    if (failure == shown_) return;
    shown_ = failure;
    if (!failure.empty() && show_) show_(QString::fromStdString(failure));
}

} // namespace zb
