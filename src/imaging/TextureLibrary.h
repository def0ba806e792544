#pragma once
// The texture library: every picture in the folder "texturen" beside the
// program, read once at start-up and converted to 24 bits.
//
// Ownership: the vector owns the pictures ReadinTextures appends; they go with
// it or with ReleaseTextures.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "imaging/PictureDecoder.h"
#include "base/DibPicture.h"

namespace zb {

inline constexpr const char* kTextureFolderName = "texturen";

// The texture folder for a program folder: programDirectory/texturen.
std::string TextureFolder(const std::string& programDirectory);

// Names (not paths, bytes as the file system holds them) of the regular files
// in `folder`, in the order a file manager shows them: ignoring case (Unicode
// case folding), bytewise between names that differ only in case, so the
// order, and with it texture 0, is the same on every machine. Empty when the
// folder is missing or unreadable.
std::vector<std::string> TextureFileNames(const std::string& folder);

// Called before each file (done = files handled so far) so a window can keep
// painting during a long scan.
using TextureProgress = std::function<void(size_t done, size_t total)>;

// Appends every readable picture of `folder`, in TextureFileNames order,
// converted to 24 bits. Unreadable files are skipped without a message; a
// missing folder adds nothing. Returns the number of textures appended.
size_t ReadinTextures(std::vector<DibPicture>& textures, const std::string& folder,
                      const PictureDecoder& decoder, const TextureProgress& progress = {});

// Frees every texture and empties the library.
void ReleaseTextures(std::vector<DibPicture>& textures);

// One line of the texture report.
struct TextureScanEntry {
    std::string fileName;
    bool loaded = false;
    std::string format;   // as the decoder names it, e.g. "PNG"
    int width = 0;
    int height = 0;
    int bitsStored = 0;    // depth as the file stores it: 1 ... 64
    int bitsRead = 0;      // depth of the record as read: 1, 4, 8 or 24
    int bitsConverted = 0; // depth after conversion: 24 for every loaded file
    bool flattenedAlpha = false;
    std::string reason;    // German, for a skipped file
};

// Reads the folder like ReadinTextures but keeps no pictures, only the facts.
std::vector<TextureScanEntry> ScanTextureFolder(const std::string& folder, const PictureDecoder& decoder);

} // namespace zb
