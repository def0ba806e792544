#pragma once
// Aligning columns of text on a terminal, and German counts.
#include <cstddef>
#include <string>

namespace zb::cli {

// Columns a UTF-8 text takes on a terminal: one per character, none for
// combining marks, two for wide East Asian characters.
size_t DisplayWidth(const std::string& utf8);
// The text followed by spaces up to `width` columns.
std::string PadRight(const std::string& utf8, size_t width);
// "1 Textur", "2 Texturen", "0 Texturen".
std::string Counted(long n, const char* one, const char* many);

} // namespace zb::cli
