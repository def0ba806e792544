#pragma once
// Texts in design files: a 32-bit little-endian length, then exactly that many
// bytes, no terminator. The bytes are 8-bit Windows-1252 characters and are
// kept as they are; nothing is converted here.
#include <cstdint>
#include <string>
#include <string_view>

#include "document/ByteSink.h"
#include "document/ByteSource.h"

namespace zb {

// False when the sink failed (or the text is longer than a 32-bit length).
bool WriteString(ByteSink& sink, std::string_view text);

enum class StringRead {
    Ok,
    EndOfData,       // the data ended inside the length or the text
    NegativeLength,  // the stored length is below zero
};

// Reads one text into `text`. A length that the rest of the data cannot hold
// counts as EndOfData and is refused before anything is allocated for it. On
// failure `text` is left unchanged; `length` (optional) receives the stored
// length when it could be read.
StringRead ReadString(ByteSource& source, std::string& text, int32_t* length = nullptr);

} // namespace zb
