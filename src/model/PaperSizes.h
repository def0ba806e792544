#pragma once
// Paper sizes by name (A5, A4, A3, Letter, Legal), portrait, in millimetres:
// what the command line's --page takes besides printer pixels, and a plain
// table any other code can list.
#include <array>
#include <optional>
#include <string_view>

namespace zb {

struct PaperSize {
    std::string_view name;
    double widthMM;
    double heightMM;
};

inline constexpr std::array<PaperSize, 5> kPaperSizes = {{
    {"A5", 148, 210},
    {"A4", 210, 297},
    {"A3", 297, 420},
    {"Letter", 215.9, 279.4},
    {"Legal", 215.9, 355.6},
}};

// The size called `name` (case-insensitive), portrait; an ending " quer" or
// "-quer" (case-insensitive) turns it to landscape. Empty for any other name.
std::optional<PaperSize> PaperSizeNamed(std::string_view name);

} // namespace zb
