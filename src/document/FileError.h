#pragma once
// German texts for failed file operations. Each names the cause the way a user
// can act on it, e.g. "Der Datenträger ist voll". Only an error without a text
// of its own keeps the system's wording in brackets.
#include <string>

namespace zb {

// Text for an errno value (no full stop at the end).
std::string FileErrorText(int error);

// The file's name without its folder, in German quotation marks: „blau.zbg“.
std::string QuotedFileName(const std::string& path);

// Text of a file that ends before everything it announces has been read.
inline constexpr const char* kReadBeyondEnd =
    "Die Datei ist unvollständig oder beschädigt: sie endet, bevor alles gelesen ist";

} // namespace zb
