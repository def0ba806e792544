#include "workspace/PrintSettings.h"

#include <algorithm>

namespace zb {

PrintSettings Limited(PrintSettings s) {
    s.sheets = std::clamp(s.sheets, 1, kMaxSheets);
    s.overlapCm = s.overlapCm >= kMinOverlapCm ? std::min(s.overlapCm, kMaxOverlapCm) : kMinOverlapCm;
    s.exportDpi = std::clamp(s.exportDpi, kMinExportDpi, kMaxExportDpi);
    return s;
}

} // namespace zb
