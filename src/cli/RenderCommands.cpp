// render, export and variants: compose a design headless and write pictures.
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <unistd.h>

#include "cli/Commands.h"
#include "cli/Console.h"
#include "output/ImageOutput.h"
#include "document/DesignFile.h"
#include "platform/QtFontEngine.h"
#include "render/Compositor.h"
#include "render/DesignSize.h"

namespace zb::cli {
namespace {

// The printable page used when no printer is installed: A4 at 600 dpi.
constexpr PrintablePage kFallbackPage{4760, 6779, 600};

struct Options {
    std::string design;
    std::string output;
    std::optional<uint32_t> seed;
    double screenDpi = 96;
    std::optional<double> zoom;
    std::optional<PrintablePage> page;  // --page
    std::optional<int32_t> printerDpi;  // --printer-dpi
    double dpi = 300;
    int count = 0;
};

bool ParseNumber(const std::string& text, double& out) {
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0' && std::isfinite(out);
}

bool ParseUnsigned(const std::string& text, uint32_t& out) {
    char* end = nullptr;
    if (text.empty() || text[0] == '-') return false;
    const unsigned long long v = std::strtoull(text.c_str(), &end, 10);
    if (!end || *end != '\0' || v > 0xFFFFFFFFull) return false;
    out = uint32_t(v);
    return true;
}

// Parses the options a command allows; prints the reason and returns false on
// a wrong call.
bool Parse(const char* command, const std::vector<std::string>& args, const std::vector<std::string>& allowed,
           Options& o) {
    auto allowedOption = [&](const std::string& a) {
        return std::find(allowed.begin(), allowed.end(), a) != allowed.end();
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.empty() || a[0] != '-') {
            if (!o.design.empty()) {
                std::fprintf(Err(), "zierbogen %s: nur ein Entwurf auf einmal („%s“).\n", command, a.c_str());
                return false;
            }
            o.design = a;
            continue;
        }
        if (!allowedOption(a)) {
            std::fprintf(Err(), "zierbogen %s: unbekannte Option „%s“.\n", command, a.c_str());
            return false;
        }
        if (i + 1 >= args.size()) {
            std::fprintf(Err(), "zierbogen %s: zur Option „%s“ fehlt der Wert.\n", command, a.c_str());
            return false;
        }
        const std::string& v = args[++i];
        bool ok = true;
        double number = 0;
        uint32_t whole = 0;
        if (a == "-o") {
            o.output = v;
        } else if (a == "--seed") {
            ok = ParseUnsigned(v, whole);
            o.seed = whole;
        } else if (a == "--screen-dpi") {
            ok = ParseNumber(v, number) && number > 0 && number <= 100000;
            o.screenDpi = number;
        } else if (a == "--zoom") {
            ok = ParseNumber(v, number) && number > 0 && number <= 100000;
            o.zoom = number;
        } else if (a == "--dpi") {
            ok = ParseNumber(v, number) && number >= 1 && number <= 100000;
            o.dpi = number;
        } else if (a == "--printer-dpi") {
            ok = ParseUnsigned(v, whole) && whole >= 1 && whole <= 100000;
            o.printerDpi = int32_t(whole);
        } else if (a == "--count") {
            ok = ParseUnsigned(v, whole) && whole >= 1 && whole <= 10000;
            o.count = int(whole);
        } else if (a == "--page") {
            const size_t x = v.find_first_of("xX");
            uint32_t w = 0, h = 0;
            ok = x != std::string::npos && ParseUnsigned(v.substr(0, x), w) && ParseUnsigned(v.substr(x + 1), h) &&
                 w >= 1 && h >= 1 && w <= 10000000 && h <= 10000000;
            o.page = PrintablePage{int32_t(w), int32_t(h), 0};
        }
        if (!ok) {
            std::fprintf(Err(), "zierbogen %s: ungültiger Wert „%s“ für %s.\n", command, v.c_str(), a.c_str());
            return false;
        }
    }
    if (o.design.empty() || o.output.empty()) {
        std::fprintf(Err(), "zierbogen %s: Entwurf und -o AUSGABE sind nötig (zierbogen --help).\n", command);
        return false;
    }
    return true;
}

// The default printer's printable page and horizontal resolution, or A4 at
// 600 dpi when there is no printer.
PrintablePage DefaultPrintablePage() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return kFallbackPage;
    QPrinter printer(info, QPrinter::HighResolution);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    if (page.width() <= 0 || page.height() <= 0 || printer.resolution() <= 0) return kFallbackPage;
    return PrintablePage{page.width(), page.height(), printer.resolution()};
}

PrintablePage PageFor(const Options& o) {
    PrintablePage page = o.page ? *o.page : DefaultPrintablePage();
    if (o.printerDpi) page.ppi = *o.printerDpi;
    else if (o.page) page.ppi = DefaultPrintablePage().ppi;
    return page;
}

bool Interactive() { return ErrIsTerminal(); }

std::unique_ptr<Design> Load(const std::string& file) {
    std::unique_ptr<Design> design;
    const FileResult r = openfile(file, design);
    if (!r) {
        Fail(r.Message);
        return nullptr;
    }
    return design;
}

// Sizes the compositor and composes; prints the reason and returns false on failure.
bool ComposeAt(Compositor& compositor, Design& design, RasterSize size, double ppi, double zoom, RandomInt& random,
               FontEngine& fonts) {
    if (size.empty()) {
        std::fprintf(Err(), "Der Entwurf ergibt bei dieser Auflösung keine Grafik (%d x %d Pixel).\n", size.width,
                     size.height);
        return false;
    }
    const std::string sizeMessage = compositor.EnsureSize(size);
    if (!sizeMessage.empty()) {
        Fail(sizeMessage);
        return false;
    }
    if (Interactive()) {
        std::fprintf(Err(), "Setze %d Ebenen zusammen (%d x %d Pixel) ...\n", int(design.Layers.Count), size.width,
                     size.height);
        compositor.SetProgress([](int done, int total) {
            std::fprintf(Err(), "\r  Ebene %d von %d fertig", done, total);
            if (done == total) std::fputc('\n', Err());
        });
    }
    const std::string message = compositor.Compose(design, ppi, zoom, random, &fonts);
    if (!message.empty()) {
        Fail(message);
        return false;
    }
    return true;
}

bool Write(const Compositor& compositor, const std::string& file, const std::string& format, double dpi) {
    if (Interactive()) std::fprintf(Err(), "Schreibe %s ...\n", file.c_str());
    const std::string message = WriteRaster(compositor.DesignRaster(), file, format, dpi);
    if (!message.empty()) {
        Fail(message);
        return false;
    }
    return true;
}

uint32_t SeedFor(const Options& o) { return o.seed ? *o.seed : RandomInt::SeedFromTimeOfDay(); }

} // namespace

int RenderCommand(const std::vector<std::string>& args) {
    Options o;
    if (!Parse("render", args, {"-o", "--seed", "--screen-dpi", "--zoom", "--page", "--printer-dpi"}, o)) return 2;
    if (OutputFormat(o.output) != "png") {
        std::fprintf(Err(), "zierbogen render: die Ausgabe ist eine PNG-Datei (*.png).\n");
        return 2;
    }
    auto design = Load(o.design);
    if (!design) return 1;
    const double zoom = o.zoom ? *o.zoom : design->Paper.Zoom;
    const PrintablePage page = PageFor(o);
    const RasterSize size = DesignRasterSize(design->Paper, page, int32_t(o.screenDpi), zoom);
    platform::QtFontEngine fonts;
    Compositor compositor;
    RandomInt random(SeedFor(o));
    if (!ComposeAt(compositor, *design, size, o.screenDpi, zoom, random, fonts)) return 1;
    return Write(compositor, o.output, "png", 0) ? 0 : 1;
}

int ExportCommand(const std::vector<std::string>& args) {
    Options o;
    if (!Parse("export", args, {"-o", "--seed", "--dpi", "--page", "--printer-dpi"}, o)) return 2;
    const std::string format = OutputFormat(o.output);
    if (format.empty()) {
        std::fprintf(Err(), "zierbogen export: die Ausgabe endet auf .png, .jpg, .tif, .bmp oder .pdf.\n");
        return 2;
    }
    auto design = Load(o.design);
    if (!design) return 1;
    // The physical size at D pixels per inch: the design composed for a target
    // of D pixels per inch at 100 %.
    const RasterSize size = DesignRasterSize(design->Paper, PageFor(o), int32_t(o.dpi), 100.0);
    platform::QtFontEngine fonts;
    Compositor compositor;
    RandomInt random(SeedFor(o));
    if (!ComposeAt(compositor, *design, size, o.dpi, 100.0, random, fonts)) return 1;
    return Write(compositor, o.output, format, o.dpi) ? 0 : 1;
}

int VariantsCommand(const std::vector<std::string>& args) {
    Options o;
    if (!Parse("variants", args, {"-o", "--count", "--dpi", "--seed", "--page", "--printer-dpi"}, o)) return 2;
    if (o.count < 1) {
        std::fprintf(Err(), "zierbogen variants: --count K (1 bis 10000) ist nötig.\n");
        return 2;
    }
    auto design = Load(o.design);
    if (!design) return 1;
    if (!QDir().mkpath(QString::fromStdString(o.output))) {
        std::fprintf(Err(), "Der Ordner „%s“ kann nicht angelegt werden.\n", o.output.c_str());
        return 1;
    }
    const RasterSize size = DesignRasterSize(design->Paper, PageFor(o), int32_t(o.dpi), 100.0);
    const std::string base = QFileInfo(QString::fromStdString(o.design)).completeBaseName().toStdString();
    platform::QtFontEngine fonts;
    Compositor compositor;
    RandomInt random(SeedFor(o)); // one generator: consecutive compositions differ
    for (int k = 1; k <= o.count; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "-%03d.png", k);
        const std::string file = o.output + "/" + base + name;
        if (!ComposeAt(compositor, *design, size, o.dpi, 100.0, random, fonts)) return 1;
        if (!Write(compositor, file, "png", o.dpi)) return 1;
        std::printf("%s\n", file.c_str());
    }
    return 0;
}

} // namespace zb::cli
