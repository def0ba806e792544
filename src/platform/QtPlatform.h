#pragma once
// Entry points of the Qt implementation of the core's platform interfaces.
// Programs create their Q(Gui)Application first, then use these.
#include <string>

namespace zb::platform {

// Directory of the running program (where the "texturen" folder lies).
const char* ProgramDirectory();

// Where an installed program keeps its textures, relative to the program's
// folder: bin/ and share/ lie side by side under the installation prefix.
std::string InstalledTextureFolder(const std::string& programDirectory);

// The texture folder for a program in `programDirectory`: "texturen" beside
// the program when that folder exists (a build tree, or a program unpacked
// into one folder), else the installed share folder when that exists, else
// "texturen" beside the program again, so messages name the usual place.
std::string FindTextureFolder(const std::string& programDirectory);

// FindTextureFolder for the running program.
std::string TextureFolder();

} // namespace zb::platform
