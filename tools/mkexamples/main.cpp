// Writes the sample designs of examples/ and, given a third folder, the
// templates of data/vorlagen ("Neu aus Vorlage...") from our own textures:
//   zb-mkexamples TEXTURE_FOLDER OUTPUT_FOLDER [TEMPLATE_FOLDER]
#include <cstdio>
#include <memory>
#include <string>

#include "document/DesignFile.h"
#include "base/DibCopy.h"
#include "imaging/TextureLibrary.h"
#include "model/Cp1252.h"
#include "model/LayerStack.h"
#include "platform/QtPictureDecoder.h"

using namespace zb;

namespace {

struct Library {
    std::vector<DibPicture> textures;
    std::vector<std::string> names;
    ~Library() { ReleaseTextures(textures); }

    // The texture whose file name starts with `prefix`.
    const TDibRecord& Find(const std::string& prefix) const {
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i].rfind(prefix, 0) == 0) return textures[i];
        std::fprintf(stderr, "zb-mkexamples: keine Textur „%s“\n", prefix.c_str());
        std::exit(1);
    }
};

TLayerRecord& Add(Design& d, const Library& lib, uint32_t kind, const char* texture = nullptr) {
    if (!NewPlane(d, lib.textures).empty()) std::exit(1);
    TLayerRecord& l = d.Layers.back();
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

// A template's layer: named, and carrying a small picture unless it tiles
// one, so the files stay small.
TLayerRecord& Layer(Design& d, const Library& lib, uint32_t kind, const char* name, const char* texture = nullptr) {
    TLayerRecord& l = Add(d, lib, kind, texture);
    if (!texture) l.LayerPicture = DibPicture(10, 10, 24);
    l.Name = Utf8ToCp1252(name);
    return l;
}

TLayerRecord& Gradient(Design& d, const Library& lib, const char* name, uint32_t from, uint32_t to, int direction) {
    TLayerRecord& g = Layer(d, lib, kKindGradient, name);
    g.GradientColor1 = from;
    g.GradientColor2 = to;
    g.GradientDirection = direction;
    return g;
}

TLayerRecord& Shapes(Design& d, const Library& lib, const char* name, int shape, int colourMode, uint32_t colour,
                     double sizeMM, int count, int transparency) {
    TLayerRecord& p = Layer(d, lib, kKindPattern, name);
    p.PatternShape = shape;
    p.PatternColorMode = colourMode;
    p.PatternColor = colour;
    p.PatternSizeMM = sizeMM;
    p.PatternCount = count;
    p.Transparency = transparency;
    return p;
}

TLayerRecord& Words(Design& d, const Library& lib, const char* name, const char* text, int colourMode, uint32_t colour,
                    int size, int density, int transparency) {
    TLayerRecord& t = Layer(d, lib, kKindText, name);
    t.LayerText = Utf8ToCp1252(text);
    t.TextColorMode = colourMode;
    t.TextColor = colour;
    t.TextSize = size;
    t.TextCount = density;
    t.Transparency = transparency;
    return t;
}

void Sheet(Design& d, double widthCm, double heightCm) {
    d.Paper.PrintAll = false;
    d.Paper.SVerh = false;
    d.Paper.Breit = widthCm;
    d.Paper.Hoch = heightCm;
    d.Paper.BreitV = widthCm;
    d.Paper.HochV = heightCm;
    d.Paper.DezV = widthCm / heightCm;
}

void WriteTemplates(const Library& lib, const std::string& out) {
    { // Gold dots and greetings on deep red.
        Design d;
        Gradient(d, lib, "Weinrot", RGBColor(150, 20, 30), RGBColor(70, 5, 15), 0);
        Shapes(d, lib, "Goldpunkte", 0, 1, RGBColor(240, 200, 90), 9.0, 350, -1);
        Words(d, lib, "Gruß", "Frohe Weihnachten ", 2, RGBColor(245, 215, 120), 22, 4, -1);
        Sheet(d, 21.0, 29.7);
        Save(d, out, "01-weihnachten.zbg");
    }
    { // Confetti over paper with a regular greeting.
        Design d;
        Layer(d, lib, kKindTexture, "Papier", "01-papier").PictureWidthMM = 80.0;
        Shapes(d, lib, "Konfetti", 1, 0, 0, 7.0, 900, 0);
        TLayerRecord& t = Words(d, lib, "Glückwunsch", "Alles Gute zum Geburtstag! ", 1, RGBColor(30, 60, 160), 16, 6, 1);
        t.TextPosMode = 1;
        Sheet(d, 21.0, 29.7);
        Save(d, out, "02-geburtstag.zbg");
    }
    { // Pastel eggs on a spring-green gradient.
        Design d;
        Gradient(d, lib, "Frühling", RGBColor(250, 245, 190), RGBColor(170, 220, 150), 0);
        Shapes(d, lib, "Eier", 0, 1, RGBColor(250, 170, 200), 14.0, 250, 0);
        Shapes(d, lib, "Tupfen", 0, 0, 0, 3.0, 600, 2);
        Words(d, lib, "Gruß", "Frohe Ostern ", 2, RGBColor(120, 80, 160), 18, 3, 0);
        Sheet(d, 21.0, 29.7);
        Save(d, out, "03-ostern.zbg");
    }
    { // Parchment with soft white dots and a serif line.
        Design d;
        Layer(d, lib, kKindTexture, "Pergament", "10-pergament").PictureWidthMM = 90.0;
        Shapes(d, lib, "Perlen", 0, 1, RGBColor(255, 255, 255), 6.0, 500, 1);
        TLayerRecord& t = Words(d, lib, "Widmung", "Für immer ", 2, RGBColor(150, 120, 60), 20, 5, 0);
        t.TextFontMode = 1;
        t.FontName = "DejaVu Serif";
        t.TextSizeMode = 1;
        t.TextPosMode = 1;
        Sheet(d, 21.0, 29.7);
        Save(d, out, "04-hochzeit.zbg");
    }
    { // Bright squares in a grid under a pale sky.
        Design d;
        Gradient(d, lib, "Himmel", RGBColor(150, 210, 250), RGBColor(255, 255, 255), 0);
        TLayerRecord& q = Shapes(d, lib, "Bauklötze", 3, 0, 0, 15.0, 400, 1);
        q.PatternSizeMode = 1;
        q.PatternPosMode = 1;
        Words(d, lib, "Jubel", "Hurra! ", 0, 0, 20, 4, 0);
        Sheet(d, 21.0, 29.7);
        Save(d, out, "05-kinder.zbg");
    }
    { // A starry night: many small light dots and a few large ones.
        Design d;
        Gradient(d, lib, "Nacht", RGBColor(10, 20, 70), RGBColor(0, 0, 10), 0);
        Shapes(d, lib, "Sternenstaub", 0, 1, RGBColor(255, 255, 230), 2.0, 2500, 0);
        Words(d, lib, "Sterne", "*", 1, RGBColor(255, 230, 120), 28, 3, 0);
        Sheet(d, 21.0, 29.7);
        Save(d, out, "06-sterne.zbg");
    }
    { // Confetti of every colour on white paper.
        Design d;
        Layer(d, lib, kKindTexture, "Papier", "01-papier").PictureWidthMM = 80.0;
        Shapes(d, lib, "Schnipsel", 2, 0, 0, 6.0, 2500, 0);
        Shapes(d, lib, "Punkte", 0, 0, 0, 4.0, 800, 1);
        Sheet(d, 21.0, 29.7);
        Save(d, out, "07-konfetti.zbg");
    }
    { // Regular stripes over a warm gradient.
        Design d;
        Gradient(d, lib, "Grund", RGBColor(250, 230, 200), RGBColor(240, 180, 150), 1);
        TLayerRecord& s = Shapes(d, lib, "Streifen", 4, 2, RGBColor(200, 60, 60), 20.0, 3000, 2);
        s.PatternSizeMode = 1;
        s.PatternPosMode = 1;
        Sheet(d, 21.0, 29.7);
        Save(d, out, "08-streifen.zbg");
    }
    { // Dotted texture with a grid of coloured dots.
        Design d;
        Layer(d, lib, kKindTexture, "Punktpapier", "07-punkte").PictureWidthMM = 40.0;
        TLayerRecord& p = Shapes(d, lib, "Große Punkte", 0, 1, RGBColor(40, 120, 200), 12.0, 3000, 1);
        p.PatternSizeMode = 1;
        p.PatternPosMode = 1;
        Sheet(d, 21.0, 29.7);
        Save(d, out, "09-punkte.zbg");
    }
    { // Marble, softened, with scattered gold words.
        Design d;
        Layer(d, lib, kKindTexture, "Marmor", "04-marmor").PictureWidthMM = 100.0;
        Layer(d, lib, kKindFilter, "Weich").FilterIndex = 1;
        Words(d, lib, "Schrift", "Marmor ", 2, RGBColor(200, 160, 60), 14, 2, 1);
        Sheet(d, 21.0, 29.7);
        Save(d, out, "10-marmor.zbg");
    }
    { // Wood with faint lying stripes.
        Design d;
        Layer(d, lib, kKindTexture, "Holz", "05-holz").PictureWidthMM = 120.0;
        Shapes(d, lib, "Maserung", 5, 2, RGBColor(90, 50, 20), 30.0, 120, 3);
        Sheet(d, 21.0, 29.7);
        Save(d, out, "11-holz.zbg");
    }
    { // Watercolour with large soft blots, blurred.
        Design d;
        Layer(d, lib, kKindTexture, "Aquarell", "06-aquarell").PictureWidthMM = 150.0;
        Shapes(d, lib, "Kleckse", 0, 1, RGBColor(120, 160, 230), 40.0, 60, 3);
        Layer(d, lib, kKindFilter, "Verwischen", nullptr).FilterIndex = 2;
        Sheet(d, 21.0, 29.7);
        Save(d, out, "12-aquarell.zbg");
    }
    { // A seamless tile: diamonds repeated with dots that cross the edges.
        Design d;
        Layer(d, lib, kKindTexture, "Rauten", "11-rauten").PictureWidthMM = 50.0;
        Shapes(d, lib, "Tupfen", 0, 1, RGBColor(220, 80, 60), 8.0, 200, 1);
        Sheet(d, 20.0, 20.0);
        d.Paper.Seamless = true;
        Save(d, out, "13-rauten-nahtlos.zbg");
    }
    { // A poster of 70 x 100 cm, printed over several pages.
        Design d;
        Gradient(d, lib, "Abendrot", RGBColor(250, 150, 60), RGBColor(120, 30, 90), 2);
        Shapes(d, lib, "Sterne", 0, 1, RGBColor(255, 240, 200), 20.0, 400, 1);
        TLayerRecord& t = Words(d, lib, "Willkommen", "Willkommen ", 2, RGBColor(255, 255, 255), 60, 4, 0);
        t.TextPosMode = 1;
        Sheet(d, 70.0, 100.0);
        d.Paper.Zoom = 10.0;
        Save(d, out, "14-plakat.zbg");
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "Aufruf: zb-mkexamples TEXTURORDNER AUSGABEORDNER [VORLAGENORDNER]\n");
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
    if (argc == 4) WriteTemplates(lib, argv[3]);
    return 0;
}
