#pragma once
// Windows-1252, the 8-bit character set of every text a design file stores
// (layer texts, font names), and its conversion to and from UTF-8 for display.
// The five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the C1 control characters of the same value, so any byte string
// survives a round trip through UTF-8 unchanged.
#include <cstdint>
#include <string>
#include <string_view>

namespace zb {

// The Unicode code point of one Windows-1252 byte.
char32_t Cp1252ToCodePoint(uint8_t byte);

// The Windows-1252 byte of a code point, or -1 when the set has none.
int CodePointToCp1252(char32_t codePoint);

// Windows-1252 bytes as UTF-8.
std::string Cp1252ToUtf8(std::string_view cp1252);

// UTF-8 as Windows-1252 bytes. Characters the set lacks, and bytes that are
// not valid UTF-8, each become `replacement`.
std::string Utf8ToCp1252(std::string_view utf8, char replacement = '?');

// True when the text is valid UTF-8 and every character has a Windows-1252 byte.
bool IsCp1252Representable(std::string_view utf8);

} // namespace zb
