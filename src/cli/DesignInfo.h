#pragma once
// Describes a design for `zierbogen info`: readable German text or JSON.
#include <string>

#include "model/Design.h"

namespace zb::cli {

std::string DesignInfoText(const Design& design, const std::string& fileName);
std::string DesignInfoJson(const Design& design, const std::string& fileName);

} // namespace zb::cli
