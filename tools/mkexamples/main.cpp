// Writes the sample designs of examples/ from our own textures:
//   zb-mkexamples TEXTURE_FOLDER OUTPUT_FOLDER
#include <cstdio>
#include <memory>
#include <string>

#include "document/DesignFile.h"
#include "base/DibCopy.h"
#include "imaging/TextureLibrary.h"
#include "model/LayerStack.h"
#include "platform/QtPictureDecoder.h"

using namespace zb;

namespace {

struct Library {
    DibPicture* cursor = nullptr;
    TDynaArray<DibPicture> textures{&cursor};
    std::vector<std::string> names;
    ~Library() { ReleaseTextures(textures); }

    // The texture whose file name starts with `prefix`.
    const TDibRecord& Find(const std::string& prefix) const {
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i].rfind(prefix, 0) == 0) return textures[uint32_t(i)];
        std::fprintf(stderr, "zb-mkexamples: keine Textur „%s“\n", prefix.c_str());
        std::exit(1);
    }
};

TLayerRecord& Add(Design& d, const Library& lib, uint32_t kind, const char* texture = nullptr) {
    if (!NewPlane(d, lib.textures).empty()) std::exit(1);
    TLayerRecord& l = *d.CurrentLayer;
    l.Kind = kind;
    if (texture) {
        if (!MakeDIBCopy(lib.Find(texture), l.LayerPicture)) std::exit(1);
    }
    return l;
}

void Save(const Design& d, const std::string& folder, const char* name) {
    const FileResult r = savefile(d, folder + "/" + name);
    if (!r) {
        std::fprintf(stderr, "%s\n", r.Message.c_str());
        std::exit(1);
    }
    std::printf("%s\n", name);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Aufruf: zb-mkexamples TEXTURORDNER AUSGABEORDNER\n");
        return 2;
    }
    const platform::QtPictureDecoder decoder;
    Library lib;
    lib.names = TextureFileNames(argv[1]);
    if (ReadinTextures(lib.textures, argv[1], decoder) != lib.names.size()) {
        std::fprintf(stderr, "zb-mkexamples: nicht alle Texturen lesbar\n");
        return 1;
    }
    const std::string out = argv[2];

    { // Marble with scattered translucent dots and a regular greeting.
        Design d;
        Add(d, lib, kKindTexture, "04-marmor").PictureWidthMM = 60.0;
        TLayerRecord& dots = Add(d, lib, kKindPattern, "02-leinen");
        dots.PatternShape = 0;
        dots.PatternColorMode = 1;
        dots.PatternColor = RGBColor(200, 60, 40);
        dots.PatternSizeMM = 12.0;
        dots.PatternCount = 400;
        dots.Transparency = -1;
        TLayerRecord& text = Add(d, lib, kKindText, "02-leinen");
        text.LayerText = "Alles Gute ";
        text.TextColorMode = 2;
        text.TextColor = RGBColor(40, 40, 90);
        text.TextSizeMode = 1;
        text.TextPosMode = 1;
        text.TextFontMode = 1;
        text.TextCount = 10;
        text.Transparency = 2;
        d.Paper.PrintAll = false;
        Save(d, out, "beispiel.zbg");
    }
    { // A diagonal gradient under regular squares, softened by a blur.
        Design d;
        TLayerRecord& g = Add(d, lib, kKindGradient, "07-punkte");
        g.GradientColor1 = RGBColor(250, 220, 120);
        g.GradientColor2 = RGBColor(200, 70, 90);
        g.GradientDirection = 2;
        TLayerRecord& sq = Add(d, lib, kKindPattern, "07-punkte");
        sq.PatternShape = 3;
        sq.PatternColorMode = 0;
        sq.PatternSizeMode = 1;
        sq.PatternSizeMM = 8.0;
        sq.PatternPosMode = 1;
        sq.PatternCount = 600;
        sq.Transparency = 0;
        Add(d, lib, kKindFilter, "07-punkte").FilterIndex = 2;
        d.Paper.PrintAll = false;
        d.Paper.Breit = 21.0;
        d.Paper.Hoch = 29.7;
        d.Paper.SVerh = false;
        Save(d, out, "verlauf-quadrate.zbg");
    }
    { // Kraft paper with lying stripes and scattered words: wrapping paper.
        Design d;
        Add(d, lib, kKindTexture, "03-kraftpapier").PictureWidthMM = 90.0;
        TLayerRecord& st = Add(d, lib, kKindPattern, "08-streifen");
        st.PatternShape = 5;
        st.PatternColorMode = 2;
        st.PatternColor = RGBColor(255, 255, 255);
        st.PatternSizeMM = 40.0;
        st.PatternCount = 150;
        st.Transparency = 1;
        TLayerRecord& text = Add(d, lib, kKindText, "08-streifen");
        text.LayerText = "Frohes Fest ";
        text.TextColorMode = 1;
        text.TextColor = RGBColor(170, 20, 30);
        text.TextSize = 18;
        text.TextCount = 3;
        text.Transparency = -5;
        Save(d, out, "geschenkpapier.zbg");
    }
    return 0;
}
