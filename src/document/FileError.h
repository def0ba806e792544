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

// The reason a file cannot be replaced because the user protected it.
inline constexpr const char* kWriteProtected = "Sie ist schreibgeschützt";

// What `path` names when it is no regular file: a folder, a named pipe, a
// socket or a device, also behind symbolic links. Empty for a regular file
// and for a name that does not exist (yet).
std::string NotAFileText(const std::string& path);

// Why `path` may not be replaced by a new file: NotAFileText, or
// kWriteProtected for a regular file without write permission (a file without
// any write bit counts as protected for the superuser too). Empty when the
// name is free or may be replaced.
std::string ReplaceProblem(const std::string& path);

// Text of a file that ends before everything it announces has been read.
inline constexpr const char* kReadBeyondEnd =
    "Die Datei ist unvollständig oder beschädigt: sie endet, bevor alles gelesen ist";

} // namespace zb
