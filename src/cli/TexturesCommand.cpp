#include <cstdio>

#include "cli/Commands.h"
#include "cli/Console.h"
#include "imaging/TextureLibrary.h"
#include "platform/QtPictureDecoder.h"
#include "platform/QtPlatform.h"

namespace zb::cli {

int TexturesCommand(const std::vector<std::string>& args) {
    if (args.size() > 1 || (!args.empty() && !args[0].empty() && args[0][0] == '-')) {
        std::fprintf(Err(), "Aufruf: zierbogen textures [ORDNER]\n");
        return 2;
    }
    const std::string folder = args.empty() ? platform::TextureFolder() : args[0];
    const platform::QtPictureDecoder decoder;
    const std::vector<TextureScanEntry> entries = ScanTextureFolder(folder, decoder);
    std::printf("Texturordner: %s\n", folder.c_str());
    if (entries.empty()) {
        std::printf("Keine Dateien: die Texturbibliothek bleibt leer, neue Ebenen bekommen eine schwarze "
                    "10 x 10-Grafik.\n");
        return 0;
    }
    int index = 0;
    size_t skipped = 0;
    for (const TextureScanEntry& e : entries) {
        if (e.loaded) {
            std::printf("%3d  %-28s %-5s %5d x %-5d %2d Bit -> %d Bit%s\n", index++, e.fileName.c_str(),
                        e.format.c_str(), e.width, e.height, e.bitsRead, e.bitsConverted,
                        e.flattenedAlpha ? "  (Transparenz auf Weiß gelegt)" : "");
        } else {
            ++skipped;
            std::printf("  -  %-28s übergangen: %s\n", e.fileName.c_str(), e.reason.c_str());
        }
    }
    std::printf("%d Texturen, %zu Dateien übergangen.\n", index, skipped);
    return 0;
}

} // namespace zb::cli
