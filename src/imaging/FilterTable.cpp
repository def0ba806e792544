#include "imaging/FilterTable.h"

#include "imaging/FilterDefinitions.h"
#include "imaging/FilterRunner.h"

namespace zb {

const FilterEntry FilterTable[kFilterCount] = {
    filterdef::kEntries[0],  filterdef::kEntries[1],  filterdef::kEntries[2],  filterdef::kEntries[3],
    filterdef::kEntries[4],  filterdef::kEntries[5],  filterdef::kEntries[6],  filterdef::kEntries[7],
    filterdef::kEntries[8],  filterdef::kEntries[9],  filterdef::kEntries[10], filterdef::kEntries[11],
    filterdef::kEntries[12], filterdef::kEntries[13],
};

const FilterEntry& FilterForIndex(int32_t index) {
    // A foreign design file may carry any index; an unknown one gives the
    // first filter rather than reading past the table.
    if (index < 0 || index >= kFilterCount) index = 0;
    return FilterTable[index];
}

bool ApplyFilter(RasterView raster, const FilterEntry& filter) {
    return ApplyFilterWith(raster, filter, FilterRunOptions{});
}

} // namespace zb
