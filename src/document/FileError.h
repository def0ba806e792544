#pragma once
// German texts for failed file operations. Each names the cause the way a user
// can act on it and keeps the short English code in brackets, e.g.
// "Der Datenträger ist voll (Disk full)", so support can recognise it.
#include <string>

namespace zb {

// Text for an errno value (no full stop at the end).
std::string FileErrorText(int error);

// The file's name without its folder, in German quotation marks: „blau.zbg“.
std::string QuotedFileName(const std::string& path);

// Text of a file that ends before everything it announces has been read.
inline constexpr const char* kReadBeyondEnd =
    "Die Datei ist unvollständig oder beschädigt (Read beyond end of file)";

} // namespace zb
