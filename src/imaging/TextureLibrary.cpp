#include "imaging/TextureLibrary.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>

#include "base/CaseFold.h"
#include "imaging/ConvertDib.h"
#include "imaging/PictureImport.h"

namespace zb {

namespace fs = std::filesystem;

std::string TextureFolder(const std::string& programDirectory) {
    if (programDirectory.empty()) return kTextureFolderName;
    return (fs::path(programDirectory) / kTextureFolderName).string();
}

std::vector<std::string> TextureFileNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs::path(folder), ec);
    if (ec) return names;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        std::error_code statEc;
        // Follows symbolic links: a link to a picture counts, one to a folder not.
        if (!fs::is_regular_file(it->path(), statEc)) continue;
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return CaseInsensitiveLess(a, b); });
    return names;
}

namespace {

// Loads one file of the folder as a 24-bit picture and describes it.
bool LoadTexture(const std::string& folder, const std::string& name, const PictureDecoder& decoder,
                 DibPicture& picture, TextureScanEntry& entry) {
    entry.fileName = name;
    const DecodedPicture decoded = decoder.DecodeFile((fs::path(folder) / name).string());
    entry.format = decoded.format;
    if (!DibFromDecoded(picture, decoded)) {
        entry.reason = DibMessage(picture);
        return false;
    }
    entry.width = DibWidth(picture);
    entry.height = DibHeight(picture);
    entry.bitsRead = DibBitCount(picture);
    entry.bitsStored = decoded.storedBits > 0 ? decoded.storedBits : entry.bitsRead;
    entry.flattenedAlpha = decoded.flattenedAlpha;
    if (!ConvertDib(picture, 24)) {
        picture.reset();
        entry.reason = kPictureMemoryMessage;
        return false;
    }
    entry.bitsConverted = DibBitCount(picture);
    entry.loaded = true;
    return true;
}

} // namespace

size_t ReadinTextures(std::vector<DibPicture>& textures, const std::string& folder,
                      const PictureDecoder& decoder, const TextureProgress& progress) {
    const std::vector<std::string> names = TextureFileNames(folder);
    size_t added = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        if (progress) progress(i, names.size());
        DibPicture picture;
        TextureScanEntry entry;
        if (!LoadTexture(folder, names[i], decoder, picture, entry)) continue;
        try {
            textures.push_back(std::move(picture));
        } catch (const std::bad_alloc&) {
            break;
        }
        ++added;
    }
    if (progress) progress(names.size(), names.size());
    return added;
}

void ReleaseTextures(std::vector<DibPicture>& textures) {
    textures.clear();
}

std::vector<TextureScanEntry> ScanTextureFolder(const std::string& folder, const PictureDecoder& decoder) {
    std::vector<TextureScanEntry> entries;
    for (const std::string& name : TextureFileNames(folder)) {
        DibPicture picture;
        TextureScanEntry entry;
        LoadTexture(folder, name, decoder, picture, entry);
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace zb
