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

// Name of the manual's folder and of its first page.
inline constexpr const char* kManualFolderName = "handbuch";
inline constexpr const char* kManualIndexName = "index.html";

// Where an installed program keeps its manual, relative to the program's folder.
std::string InstalledManualFolder(const std::string& programDirectory);

// The manual's folder for a program in `programDirectory`, found as the
// texture folder is: "handbuch" beside the program (a build tree), else the
// installed share folder, else "handbuch" beside the program again, for the
// message that it is missing.
std::string FindManualFolder(const std::string& programDirectory);

// Folders of designs that come with the program: the templates of "Neu aus
// Vorlage..." and the sample designs.
inline constexpr const char* kTemplateFolderName = "vorlagen";
inline constexpr const char* kExampleFolderName = "examples";

// The folder `name` of the program's shared data for a program in
// `programDirectory`, found as the manual is: beside the program (a build
// tree), else in the installed share folder, else beside the program again.
std::string FindDataFolder(const std::string& programDirectory, const char* name);

} // namespace zb::platform
