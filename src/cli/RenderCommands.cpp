// render, export and variants: compose a design headless and write pictures.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sys/stat.h>

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Common.h"
#include "cli/Console.h"
#include "cli/Usage.h"
#include "document/FileError.h"
#include "output/ImageOutput.h"
#include "platform/FileNames.h"
#include "platform/QtFontEngine.h"
#include "output/DesignPrinting.h"
#include "render/Compositor.h"
#include "render/DesignSize.h"
#include "render/PageGeometry.h"
#include "render/RepeatPreview.h"
#include "render/SeamHints.h"
#include "workspace/DesignWorkspace.h"

namespace zb::cli {
namespace {

// What render, export and variants share after the options are read.
struct Job {
    std::string design;
    std::string output;
    uint32_t seed = 0;
    PageChoice page;
};

// Reads the options every composing command has; returns -1 to go on, else
// the exit code (help shown: 0, wrong call: 2).
int ReadJob(const std::string& command, const std::vector<std::string>& args, const std::vector<OptionSpec>& extra,
            Arguments& a, Job& job) {
    std::vector<OptionSpec> specs = {{"-o", true}, {"--seed", true}, {"--page", true}, {"--printer-dpi", true}};
    specs.insert(specs.end(), extra.begin(), extra.end());
    if (!ParseArguments(command, args, specs, a)) return 2;
    if (a.help) {
        std::fputs(CommandUsage(command), stdout);
        return 0;
    }
    if (a.operands.size() > 1) {
        std::fprintf(Err(), "zierbogen %s: nur ein Entwurf auf einmal („%s“).\n", command.c_str(),
                     platform::DisplayPath(a.operands[1]).c_str());
        return 2;
    }
    if (a.operands.empty() || !a.values.count("-o")) {
        std::fprintf(Err(), "zierbogen %s: Entwurf und -o AUSGABE sind nötig (zierbogen %s --help).\n",
                     command.c_str(), command.c_str());
        return 2;
    }
    job.design = a.operands[0];
    job.output = a.values.at("-o");
    int64_t seed = -1;
    if (!WholeOption(command, a, "--seed", 0, 0xFFFFFFFFll, seed)) return 2;
    job.seed = seed >= 0 ? uint32_t(seed) : RandomInt::SeedFromTimeOfDay();
    if (!ChoosePage(command, a, job.page)) return 2;
    return -1;
}

// Says that a size gives no picture; the command's exit code.
int NothingToCompose(RasterSize size) {
    Fail("Der Entwurf ergibt bei dieser Auflösung keine Grafik (" + std::to_string(size.width) + " x " +
         std::to_string(size.height) + " Pixel).");
    return 1;
}

// Sizes the compositor and composes; prints the reason and returns false on failure.
bool ComposeAt(Compositor& compositor, const Design& design, RasterSize size, double ppi, double zoom, RandomInt& random,
               FontEngine& fonts) {
    if (size.empty()) return NothingToCompose(size) == 0;
    const std::string sizeMessage = compositor.EnsureSize(size);
    if (!sizeMessage.empty()) {
        Fail(sizeMessage);
        return false;
    }
    if (ErrIsTerminal()) {
        std::fprintf(Err(), "Setze %d Ebenen zusammen (%d x %d Pixel) ...\n", int(design.Layers.size()), size.width,
                     size.height);
        compositor.SetProgress([](int done, int total) {
            std::fprintf(Err(), "\r  Ebene %d von %d fertig", done, total);
            if (done == total) std::fputc('\n', Err());
        });
    }
    const JobResult composed = compositor.Compose(design, ppi, zoom, random, &fonts);
    if (!composed.ok()) {
        Fail(composed.message);
        return false;
    }
    return true;
}

bool Write(const TDibRecord& raster, const std::string& file, const std::string& format, double dpi) {
    if (ErrIsTerminal()) std::fprintf(Err(), "Schreibe %s ...\n", platform::DisplayPath(file).c_str());
    const std::string message = WriteRaster(raster, file, format, dpi);
    if (!message.empty()) {
        Fail(message);
        return false;
    }
    return true;
}

// --seamless (and, for export, --repeat MODE): the design becomes a seamless
// tile. Prints the reason and returns false for an unknown mode.
bool ChooseTile(const std::string& command, const Arguments& a, Design& design) {
    if (a.Has("--seamless")) design.Paper.Seamless = true;
    if (!a.values.count("--repeat")) return true;
    const std::string& name = a.values.at("--repeat");
    for (size_t i = 0; i < kRepeatModeNames.size(); ++i) {
        if (name == kRepeatModeNames[i] || name == kRepeatModeWords[i]) {
            design.Paper.Seamless = true;
            design.Paper.Repeat = RepeatModeOf(int64_t(i));
            return true;
        }
    }
    std::fprintf(Err(),
                 "zierbogen %s: --repeat nimmt basic, half-drop oder mirror (auch gerade, halb-versetzt oder "
                 "gespiegelt), nicht „%s“.\n",
                 command.c_str(), name.c_str());
    return false;
}

// What keeps the tile from repeating without a seam, on standard error.
void SayHints(const Design& design, RasterSize size, double ppi, double zoom) {
    for (const std::string& hint : SeamHints(design, size, ppi, zoom))
        std::fprintf(Err(), "zierbogen: Hinweis: %s\n", hint.c_str());
}

// The output can be written; checked before a long composition.
bool OutputWritable(const std::string& file) {
    const std::string problem = CheckOutputPath(file);
    if (problem.empty()) return true;
    Fail(problem);
    return false;
}

} // namespace

int RenderCommand(const std::vector<std::string>& args) {
    Arguments a;
    Job job;
    if (const int code = ReadJob("render", args, {{"--screen-dpi", true}, {"--zoom", true}, {"--seamless", false}},
                                 a, job);
        code >= 0)
        return code;
    int64_t screenDpi = 96;
    double zoom = 0;
    if (!WholeOption("render", a, "--screen-dpi", 1, 100000, screenDpi)) return 2;
    if (!DecimalOption("render", a, "--zoom", 1, 100000, zoom)) return 2;
    if (OutputFormat(job.output) != "png") {
        std::fprintf(Err(), "zierbogen render: die Ausgabe ist eine PNG-Datei (*.png).\n");
        return 2;
    }
    if (!OutputWritable(job.output)) return 1;
    // The sheet the window shows, composed as the window composes it: the
    // seed is the first sheet's number.
    platform::QtFontEngine fonts;
    DesignWorkspace workspace(job.seed, PrinterFacts{job.page.page, job.page.fallback}, &fonts);
    if (const std::string message = workspace.Open(job.design); !message.empty()) {
        Fail(message);
        return 1;
    }
    PrepareFonts(workspace.GetDesign(), fonts);
    if (a.values.count("--zoom")) workspace.SetZoom(zoom);
    if (a.Has("--seamless")) workspace.SetTile(true, workspace.Paper().Repeat);
    const int ppi = int(screenDpi);
    const RasterSize size = workspace.SheetSize(ppi);
    if (size.empty()) return NothingToCompose(size);
    SayHints(workspace.GetDesign(), size, double(ppi), workspace.Zoom());
    if (ErrIsTerminal())
        std::fprintf(Err(), "Setze %d Ebenen zusammen (%d x %d Pixel) ...\n", int(workspace.GetDesign().Layers.size()),
                     size.width, size.height);
    std::string message;
    do {
        message = workspace.Compose(ppi, 200);
        if (ErrIsTerminal() && workspace.Composing())
            std::fprintf(Err(), "\r  Ebene %d von %d", workspace.ComposingLayersDone(), workspace.ComposingLayerCount());
    } while (message.empty() && workspace.Stale() && workspace.Composing());
    if (ErrIsTerminal()) std::fputc('\n', Err());
    if (!message.empty() || workspace.Stale()) {
        Fail(message.empty() ? "Der Bogen konnte nicht zusammengesetzt werden." : message);
        return 1;
    }
    // The PNG records the screen resolution it was composed for.
    return Write(workspace.Sheet().DesignRaster(), job.output, "png", double(screenDpi)) ? 0 : 1;
}

int ExportCommand(const std::vector<std::string>& args) {
    Arguments a;
    Job job;
    if (const int code = ReadJob("export", args,
                                 {{"--dpi", true},
                                  {"--pixel-filters", false},
                                  {"--seamless", false},
                                  {"--repeat", true},
                                  {"--preview3x3", true}},
                                 a, job);
        code >= 0)
        return code;
    int64_t dpi = PrintSettings().exportDpi;
    if (!WholeOption("export", a, "--dpi", kMinExportDpi, kMaxExportDpi, dpi)) return 2;
    const std::string format = OutputFormat(job.output);
    const std::string preview = a.values.count("--preview3x3") ? a.values.at("--preview3x3") : std::string();
    if (format.empty() || (!preview.empty() && OutputFormat(preview).empty())) {
        std::fprintf(Err(), "zierbogen export: die Ausgabe endet auf .png, .jpg, .tif, .bmp oder .pdf.\n");
        return 2;
    }
    Design probe; // the mode is checked before anything is read
    if (!ChooseTile("export", a, probe)) return 2;
    if (!OutputWritable(job.output) || (!preview.empty() && !OutputWritable(preview))) return 1;
    auto design = LoadDesign(job.design);
    if (!design) return 1;
    ChooseTile("export", a, *design);
    // The physical size at D pixels per inch: the design composed for a target
    // of D pixels per inch at 100 %. A whole-page design is the printable page.
    const RasterSize size = DesignRasterSize(design->Paper, job.page.page, int32_t(dpi), 100.0);
    SayHints(*design, size, double(dpi), 100.0);
    if (size.empty()) return NothingToCompose(size);
    platform::QtFontEngine fonts;
    DesignExportJob exportJob;
    exportJob.design = design.get();
    exportJob.fonts = &fonts;
    exportJob.seed = job.seed;
    exportJob.dpi = double(dpi);
    exportJob.page = job.page.page;
    // Filter layers reach as far as in the design view at 96 pixels per inch
    // and the stored zoom, unless the literal pixel filter is asked for.
    exportJob.screenPpi = 96.0;
    exportJob.zoomPercent = design->Paper.Zoom;
    exportJob.settings.previewFilters = !a.Has("--pixel-filters");
    exportJob.settings.exportDpi = int(dpi);
    exportJob.fileName = job.output;
    exportJob.format = format;
    exportJob.previewFileName = preview;
    if (ErrIsTerminal()) {
        std::fprintf(Err(), "Setze %d Ebenen zusammen und schreibe %s (%d x %d Pixel) ...\n",
                     int(design->Layers.size()), platform::DisplayPath(job.output).c_str(), size.width, size.height);
        exportJob.progress = [](int, int, int done, int total) {
            std::fprintf(Err(), "\r  Ebene %d von %d fertig", done, total);
            if (done == total) std::fputc('\n', Err());
        };
    }
    // The file is written as the bands come.
    const JobResult exported = ExportDesign(exportJob);
    if (!exported.ok()) {
        Fail(exported.message);
        return 1;
    }
    return 0;
}

int VariantsCommand(const std::vector<std::string>& args) {
    Arguments a;
    Job job;
    if (const int code = ReadJob("variants", args, {{"--dpi", true}, {"--count", true}}, a, job); code >= 0)
        return code;
    int64_t dpi = 300;
    int64_t count = 0;
    if (!WholeOption("variants", a, "--dpi", 1, 100000, dpi)) return 2;
    if (!WholeOption("variants", a, "--count", 1, 10000, count)) return 2;
    if (count < 1) {
        std::fprintf(Err(), "zierbogen variants: --count K (1 bis 10000) ist nötig.\n");
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(job.output, ec);
    if (ec) {
        Fail("Der Ordner „" + platform::DisplayPath(job.output) + "“ kann nicht angelegt werden: " +
             FileErrorText(ec.value()) + ".");
        return 1;
    }
    const std::string base = std::filesystem::path(job.design).stem().string();
    // As many digits as the count needs, at least three, so the files sort.
    const int digits = std::max<int>(3, int(std::to_string(count).size()));
    auto fileName = [&](int64_t k) {
        std::string number = std::to_string(k);
        number.insert(0, size_t(digits) - number.size(), '0');
        return (std::filesystem::path(job.output) / (base + "-" + number + ".png")).string();
    };
    if (!OutputWritable(fileName(1))) return 1;
    auto design = LoadDesign(job.design);
    if (!design) return 1;
    const RasterSize size = DesignRasterSize(design->Paper, job.page.page, int32_t(dpi), 100.0);
    platform::QtFontEngine fonts;
    PrepareFonts(*design, fonts);
    Compositor compositor;
    RandomInt random(job.seed); // one generator: consecutive compositions differ
    for (int64_t k = 1; k <= count; ++k) {
        const std::string file = fileName(k);
        if (!ComposeAt(compositor, *design, size, double(dpi), 100.0, random, fonts)) return 1;
        if (!Write(compositor.DesignRaster(), file, "png", double(dpi))) return 1;
        std::printf("%s\n", file.c_str());
    }
    return 0;
}

} // namespace zb::cli
