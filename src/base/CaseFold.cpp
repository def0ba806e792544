#include "base/CaseFold.h"

#include <cstdint>
#include <unordered_map>

namespace zb {
namespace {

struct FoldRun {
    char32_t first;
    char32_t last;
    int step;
    int offset;
};
struct FoldMany {
    char32_t from;
    char32_t to[3];
};
#include "base/CaseFoldTable.inc"

// Single-code-point foldings, built once from the runs.
const std::unordered_map<char32_t, char32_t>& SingleFolds() {
    static const std::unordered_map<char32_t, char32_t> map = [] {
        std::unordered_map<char32_t, char32_t> m;
        for (const FoldRun& r : kFoldRuns)
            for (char32_t c = r.first; c <= r.last; c += char32_t(r.step)) m[c] = char32_t(int64_t(c) + r.offset);
        return m;
    }();
    return map;
}

const std::unordered_map<char32_t, const FoldMany*>& ManyFolds() {
    static const std::unordered_map<char32_t, const FoldMany*> map = [] {
        std::unordered_map<char32_t, const FoldMany*> m;
        for (const FoldMany& f : kFoldMany) m[f.from] = &f;
        return m;
    }();
    return map;
}

// Decodes one code point at `i` and advances; U+FFFD for a byte that does not
// start a valid, shortest-form sequence.
char32_t Decode(std::string_view s, size_t& i) {
    const auto byte = [&](size_t k) { return uint8_t(s[k]); };
    const uint8_t b0 = byte(i);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int length = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) length = 2, cp = b0 & 0x1F, min = 0x80;
    else if ((b0 & 0xF0) == 0xE0) length = 3, cp = b0 & 0x0F, min = 0x800;
    else if ((b0 & 0xF8) == 0xF0) length = 4, cp = b0 & 0x07, min = 0x10000;
    if (length == 0 || i + size_t(length) > s.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k < length; ++k) {
        const uint8_t b = byte(i + size_t(k));
        if ((b & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
        ++i;
        return 0xFFFD;
    }
    i += size_t(length);
    return cp;
}

} // namespace

std::u32string CaseFolded(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    const auto& singles = SingleFolds();
    const auto& many = ManyFolds();
    for (size_t i = 0; i < utf8.size();) {
        const char32_t c = Decode(utf8, i);
        if (c < 0x80) {
            out.push_back(c >= 'A' && c <= 'Z' ? c + 32 : c);
        } else if (auto s = singles.find(c); s != singles.end()) {
            out.push_back(s->second);
        } else if (auto m = many.find(c); m != many.end()) {
            for (char32_t t : m->second->to)
                if (t) out.push_back(t);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

bool CaseInsensitiveLess(std::string_view a, std::string_view b) {
    const std::u32string fa = CaseFolded(a), fb = CaseFolded(b);
    if (fa != fb) return fa < fb;
    return a < b;
}

} // namespace zb
