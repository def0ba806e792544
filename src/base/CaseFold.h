#pragma once
// Unicode case folding of UTF-8 names, for orders that ignore case the way a
// file manager lists files ("apfel.bmp" before "Zebra.png"), the same on
// every machine whatever its locale.
#include <string>
#include <string_view>

namespace zb {

// The full case folding of UTF-8 text, as code points. Bytes that are not
// valid UTF-8 each decode as U+FFFD, as file names are shown.
std::u32string CaseFolded(std::string_view utf8);

// Strict weak order of names: by their case folding, then bytewise, so two
// different names never compare equal.
bool CaseInsensitiveLess(std::string_view a, std::string_view b);

} // namespace zb
