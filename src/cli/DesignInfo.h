#pragma once
// Describes a design for `zierbogen info`: readable German text or JSON, with
// the same values in both.
#include <string>

#include "cli/Common.h"
#include "model/Design.h"

namespace zb::cli {

// `page` is the printable page a whole-page design is sized by.
std::string DesignInfoText(const Design& design, const std::string& fileName, const PageChoice& page);
std::string DesignInfoJson(const Design& design, const std::string& fileName, const PageChoice& page);

} // namespace zb::cli
