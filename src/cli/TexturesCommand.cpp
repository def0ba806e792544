#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/QuietStandardError.h"
#include "cli/TextColumns.h"
#include "cli/Usage.h"
#include "document/FileError.h"
#include "imaging/TextureLibrary.h"
#include "platform/FileNames.h"
#include "platform/QtPictureDecoder.h"
#include "platform/QtPlatform.h"

namespace zb::cli {

int TexturesCommand(const std::vector<std::string>& args) {
    Arguments a;
    if (!ParseArguments("textures", args, {}, a)) return 2;
    if (a.help) {
        std::fputs(CommandUsage("textures"), stdout);
        return 0;
    }
    if (a.operands.size() > 1) {
        std::fprintf(Err(), "zierbogen textures: nur ein Ordner auf einmal (zierbogen textures --help).\n");
        return 2;
    }
    const std::string folder = a.operands.empty() ? platform::TextureFolder() : a.operands[0];
    const std::string shown = platform::DisplayPath(folder);
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) {
        Fail("Der Texturordner „" + shown + "“ kann nicht gelesen werden: " + FileErrorText(errno) + ".");
        return 1;
    }
    if (!S_ISDIR(st.st_mode)) {
        Fail("„" + shown + "“ ist kein Ordner.");
        return 1;
    }
    const platform::QtPictureDecoder decoder;
    std::vector<TextureScanEntry> entries;
    {
        const QuietStandardError quiet; // the picture libraries' own complaints
        entries = ScanTextureFolder(folder, decoder);
    }
    std::printf("Texturordner: %s\n", shown.c_str());
    if (entries.empty()) {
        std::printf("Keine Dateien: die Texturbibliothek bleibt leer, neue Ebenen bekommen eine schwarze "
                    "10 x 10-Grafik.\n");
        return 0;
    }
    size_t nameWidth = 0;
    for (const TextureScanEntry& e : entries)
        nameWidth = std::max(nameWidth, DisplayWidth(platform::DisplayPath(e.fileName)));
    int index = 0;
    int skipped = 0;
    for (const TextureScanEntry& e : entries) {
        const std::string name = PadRight(platform::DisplayPath(e.fileName), nameWidth);
        if (e.loaded) {
            std::printf("%3d  %s  %-5s %5d x %-5d %2d Bit -> %d Bit%s\n", index++, name.c_str(), e.format.c_str(),
                        e.width, e.height, e.bitsStored, e.bitsConverted,
                        e.flattenedAlpha ? "  (Transparenz auf Weiß gelegt)" : "");
        } else {
            ++skipped;
            std::printf("  -  %s  übergangen: %s\n", name.c_str(), e.reason.c_str());
        }
    }
    std::printf("%s, %s übergangen.\n", Counted(index, "Textur", "Texturen").c_str(),
                Counted(skipped, "Datei", "Dateien").c_str());
    return 0;
}

} // namespace zb::cli
