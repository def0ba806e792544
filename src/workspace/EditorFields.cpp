#include "workspace/EditorFields.h"

#include <cmath>
#include <limits>

#include "model/Cp1252.h"
#include "model/TLayerRecord.h"

namespace zb {

int32_t WholeNumber(double v) {
    if (std::isnan(v)) return 0;
    const double t = std::trunc(v);
    if (t >= double(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    if (t <= double(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    return int32_t(t);
}

std::string ShownText(const std::string& field) { return Cp1252ToUtf8(field); }

void StoreShownText(std::string& field, std::string_view utf8) { field = Utf8ToCp1252(utf8); }

} // namespace zb
