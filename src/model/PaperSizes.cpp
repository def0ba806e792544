#include "model/PaperSizes.h"

#include <utility>

namespace zb {

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

} // namespace

std::optional<PaperSize> PaperSizeNamed(std::string_view name) {
    bool landscape = false;
    constexpr std::string_view kQuer = "quer";
    if (name.size() > kQuer.size() + 1 && SameLetters(name.substr(name.size() - kQuer.size()), kQuer)) {
        const char before = name[name.size() - kQuer.size() - 1];
        if (before == ' ' || before == '-') {
            landscape = true;
            name = name.substr(0, name.size() - kQuer.size() - 1);
        }
    }
    for (PaperSize size : kPaperSizes) {
        if (!SameLetters(size.name, name)) continue;
        if (landscape) std::swap(size.widthMM, size.heightMM);
        return size;
    }
    return std::nullopt;
}

} // namespace zb
