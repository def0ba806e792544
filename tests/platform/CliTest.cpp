// The command-line program as users and scripts call it: exit codes,
// messages, and pictures that match what the core composes.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QtEndian>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <memory>
#include <vector>
#include <sys/resource.h>

#include "GifWriter.h"
#include "document/DesignFile.h"
#include "base/RasterView.h"
#include "model/LayerStack.h"
#include "imaging/FilterTable.h"
#include "render/Compositor.h"
#include "render/DesignSize.h"

using namespace zb;

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program; fileSizeLimit > 0 limits the size of every file it writes
// (as a full disk would), with the signal ignored so writes fail with EFBIG;
// memoryLimit > 0 limits its address space (as ulimit -v does).
CliRun Zierbogen(const QStringList& args, rlim_t fileSizeLimit = 0, rlim_t memoryLimit = 0) {
    QProcess p;
    if (fileSizeLimit > 0 || memoryLimit > 0) {
        p.setChildProcessModifier([fileSizeLimit, memoryLimit] {
            if (fileSizeLimit > 0) {
                ::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{fileSizeLimit, fileSizeLimit};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            if (memoryLimit > 0) {
                const rlimit limit{memoryLimit, memoryLimit};
                ::setrlimit(RLIMIT_AS, &limit);
            }
        });
    }
    p.start(QStringLiteral(ZB_BIN_DIR "/zierbogen"), args);
    CliRun r;
    if (!p.waitForFinished(120000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// A design of every kind whose result does not depend on the installed fonts:
// a gradient, a texture with a known picture, a seeded pattern and a filter.
std::unique_ptr<Design> DeterministicDesign() {
    auto d = std::make_unique<Design>();
    std::vector<DibPicture> noTextures;
    NewPlane(*d, noTextures);
    d->Layers.back().Kind = kKindGradient;
    d->Layers.back().GradientColor1 = RGBColor(250, 200, 30);
    d->Layers.back().GradientColor2 = RGBColor(20, 60, 200);
    d->Layers.back().GradientDirection = 3;

    NewPlane(*d, noTextures);
    TLayerRecord& tex = d->Layers.back();
    tex.Kind = kKindTexture;
    tex.Transparency = 2;
    tex.PictureWidthMM = 9.0;
    tex.LayerPicture = DibPicture(13, 7, 24);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) setpixel(tex.LayerPicture.dib(), x, y, RGBColor(uint8_t(x * 19), uint8_t(y * 35), 90));

    NewPlane(*d, noTextures);
    TLayerRecord& pat = d->Layers.back();
    pat.Kind = kKindPattern;
    pat.PatternShape = 0;
    pat.PatternSizeMM = 6.0;
    pat.PatternCount = 60;
    pat.Transparency = -2;

    NewPlane(*d, noTextures);
    d->Layers.back().Kind = kKindFilter;
    d->Layers.back().FilterIndex = 12; // emboss
    d->Layers.back().Transparency = 3;

    d->Paper.PrintAll = false;
    d->Paper.Breit = 6.0;
    d->Paper.Hoch = 4.5;
    d->Paper.Zoom = 50;
    return d;
}

// The composed raster as an RGB image, composed in this process.
QImage ComposeHere(Design& design, RasterSize size, double ppi, double zoom, uint32_t seed) {
    Compositor c;
    EXPECT_EQ(c.EnsureSize(size), "");
    EXPECT_EQ(c.ComposeFromSeed(design, ppi, zoom, seed, nullptr).message, "");
    const RasterView v = c.DesignView();
    QImage img(v.width, v.height, QImage::Format_RGB888);
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) {
            const uint8_t* p = v.pixel(x, y);
            img.setPixel(x, y, qRgb(p[2], p[1], p[0]));
        }
    return img;
}

// Runs the program through the shell, so arguments can hold bytes that are not
// UTF-8 (written as printf escapes, e.g. "aus\\374.png" for a Latin-1 ü).
CliRun ZierbogenShell(const QString& script) {
    QProcess p;
    p.setProcessEnvironment([] {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("Z", ZB_BIN_DIR "/zierbogen");
        return env;
    }());
    p.start("/bin/sh", {"-c", script});
    CliRun r;
    if (!p.waitForFinished(120000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QImage Load(const QString& file) {
    QImage img(file);
    return img.convertToFormat(QImage::Format_RGB888);
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        design = DeterministicDesign();
        designFile = dir.filePath("muster.zbg");
        ASSERT_TRUE(savefile(*design, designFile.toStdString()));
    }
    QTemporaryDir dir;
    std::unique_ptr<Design> design;
    QString designFile;
};

} // namespace

TEST_F(CliTest, InfoDescribesEveryLayerAndTheJsonParses) {
    const CliRun text = Zierbogen({"info", designFile});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains("Ebenen (von unten nach oben): 4"));
    EXPECT_TRUE(text.out.contains("Emboss"));
    EXPECT_TRUE(text.out.contains("13 x 7 Pixel, 24 Bit"));
    EXPECT_TRUE(text.out.contains("6,00 cm x 4,50 cm"));

    const CliRun json = Zierbogen({"info", designFile, "--json"});
    ASSERT_EQ(json.exitCode, 0);
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json.out.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.out.toStdString();
    const QJsonArray layers = doc.object()["layers"].toArray();
    ASSERT_EQ(layers.size(), 4);
    EXPECT_EQ(layers[0].toObject()["kindName"].toString(), "Farbverlauf");
    EXPECT_EQ(layers[1].toObject()["picture"].toObject()["width"].toInt(), 13);
    EXPECT_EQ(layers[3].toObject()["filterIndex"].toInt(), 12);
    EXPECT_EQ(doc.object()["zoom"].toDouble(), 50.0);
}

// A user's German locale must not change how numbers are written or read:
// info under de_DE prints exactly what it prints under C, and a decimal zoom
// option reads the same.
TEST_F(CliTest, TheUsersLocaleChangesNoNumber) {
    if (!QFile::exists(QStringLiteral("/usr/lib/locale/locale-archive")) &&
        !QDir(QStringLiteral("/usr/lib/locale/de_DE.utf8")).exists())
        GTEST_SKIP() << "no German locale installed (scripts/setup.sh generates one)";
    auto run = [&](const char* locale, const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZB_BIN_DIR "/zierbogen"), args);
        EXPECT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitCode(), 0) << QString::fromUtf8(p.readAllStandardError()).toStdString();
        return p.readAllStandardOutput();
    };
    for (const QStringList& args : {QStringList{"info", designFile}, QStringList{"info", designFile, "--json"}}) {
        const QByteArray c = run("C.UTF-8", args);
        const QByteArray german = run("de_DE.UTF-8", args);
        ASSERT_FALSE(c.isEmpty());
        EXPECT_EQ(german.toStdString(), c.toStdString());
    }
    const QString a = dir.filePath("c.png"), b = dir.filePath("de.png");
    run("C.UTF-8", {"render", designFile, "-o", a, "--zoom", "45.5", "--seed", "3"});
    run("de_DE.UTF-8", {"render", designFile, "-o", b, "--zoom", "45.5", "--seed", "3"});
    const QImage ia(a), ib(b);
    ASSERT_FALSE(ia.isNull());
    EXPECT_EQ(ia.size(), ib.size());
    EXPECT_TRUE(ia == ib);
}

TEST_F(CliTest, DamagedFilesAndWrongCallsFailWithAMessage) {
    QFile f(designFile);
    ASSERT_TRUE(f.resize(1500)); // cut inside the first layer's picture
    const CliRun damaged = Zierbogen({"info", designFile});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.out.isEmpty());
    EXPECT_TRUE(damaged.err.contains("muster.zbg")) << damaged.err.toStdString();
    EXPECT_TRUE(damaged.err.contains("endet, bevor alles gelesen ist")) << damaged.err.toStdString();

    EXPECT_EQ(Zierbogen({"info", dir.filePath("fehlt.zbg")}).exitCode, 1);
    // Wrong calls name the command they belong to.
    for (const QStringList& call : {QStringList{"info"}, QStringList{"textures", "a", "b"},
                                    QStringList{"export", designFile}, QStringList{"render", "--gibts"}}) {
        const CliRun wrong = Zierbogen(call);
        EXPECT_EQ(wrong.exitCode, 2) << call.join(' ').toStdString();
        EXPECT_TRUE(wrong.err.startsWith("zierbogen " + call[0] + ": ")) << wrong.err.toStdString();
    }
    EXPECT_EQ(Zierbogen({"info", designFile, "--bunt"}).exitCode, 2);
    EXPECT_EQ(Zierbogen({"zeichnen"}).exitCode, 2);
    EXPECT_EQ(Zierbogen({"render", designFile, "-o", dir.filePath("a.png"), "--zoom", "abc"}).exitCode, 2);
    EXPECT_EQ(Zierbogen({"render", designFile, "-o", dir.filePath("a.png"), "--seed"}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(dir.filePath("a.png")));
    const CliRun version = Zierbogen({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("zierbogen 1.0.0\n"));
}

TEST_F(CliTest, RenderWritesExactlyTheSheetTheCoreComposes) {
    const QString out = dir.filePath("bogen.png");
    const CliRun r = Zierbogen({"render", designFile, "-o", out, "--seed", "4711", "--screen-dpi", "96"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // The PNG header says 8 bits per channel, colour type 2: 24-bit RGB without alpha.
    QFile png(out);
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    const QByteArray header = png.read(26);
    ASSERT_EQ(header.size(), 26);
    EXPECT_EQ(header[24], 8);
    EXPECT_EQ(header[25], 2);
    const QImage written = Load(out);
    // 6 cm at 96 ppi and the stored zoom of 50 %: trunc(6 * 10 / 25.39995 * 96 * 50 / 100) = 113.
    const RasterSize size = DesignRasterSize(design->Paper, PrintablePage{}, 96, 50);
    ASSERT_EQ(size, (RasterSize{113, 85}));
    const QImage expected = ComposeHere(*design, size, 96, 50, 4711);
    ASSERT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected);

    // Another seed gives another pattern; the same seed the same sheet.
    const QString other = dir.filePath("anders.png");
    ASSERT_EQ(Zierbogen({"render", designFile, "-o", other, "--seed", "4712"}).exitCode, 0);
    EXPECT_FALSE(Load(other) == written);
    ASSERT_EQ(Zierbogen({"render", designFile, "-o", other, "--seed", "4711"}).exitCode, 0);
    EXPECT_TRUE(Load(other) == written);
}

TEST_F(CliTest, RenderSizesAWholePageDesignByThePrintablePage) {
    design->Paper.PrintAll = true;
    ASSERT_TRUE(savefile(*design, designFile.toStdString()));
    const QString out = dir.filePath("seite.png");
    const CliRun r = Zierbogen({"render", designFile, "-o", out, "--seed", "1", "--zoom", "30", "--page", "4760x6779",
                             "--printer-dpi", "600"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage img = Load(out);
    EXPECT_EQ(img.width(), 228);
    EXPECT_EQ(img.height(), 325);
}

TEST_F(CliTest, RenderMatchesTheGoldenImage) {
    const QString out = dir.filePath("golden.png");
    ASSERT_EQ(Zierbogen({"render", designFile, "-o", out, "--seed", "20261207"}).exitCode, 0);
    const QString golden = QStringLiteral(ZB_TEST_DATA "/render-deterministic.png");
    if (qEnvironmentVariableIsSet("ZB_UPDATE_GOLDEN")) {
        QFile::remove(golden);
        ASSERT_TRUE(QFile::copy(out, golden));
    }
    ASSERT_TRUE(QFile::exists(golden)) << "missing reference image " << golden.toStdString()
                                       << " (ZB_UPDATE_GOLDEN=1 writes it)";
    const QImage actual = Load(out);
    const QImage expected = Load(golden);
    if (!(actual == expected)) {
        const QString failed = QDir::temp().filePath("zierbogen-golden-failure");
        QDir().mkpath(failed);
        actual.save(failed + "/actual.png");
        expected.save(failed + "/expected.png");
        FAIL() << "render differs from " << golden.toStdString() << "; both written to " << failed.toStdString();
    }
}

TEST_F(CliTest, SeamlessTilesRenderAndExportWithTheirRepeatAndSayWhatMakesASeam) {
    // render --seamless composes what the core composes for the tile, and the
    // gradient beneath is named on standard error.
    const QString tile = dir.filePath("kachel.png");
    CliRun r = Zierbogen({"render", designFile, "-o", tile, "--seed", "99", "--seamless"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("zierbogen: Hinweis: Ebene 1 ist ein Farbverlauf"))) << r.err.toStdString();
    const RasterSize size = DesignRasterSize(design->Paper, PrintablePage{}, 96, 50);
    design->Paper.Seamless = true;
    EXPECT_TRUE(Load(tile) == ComposeHere(*design, size, 96, 50, 99));
    design->Paper.Seamless = false;
    EXPECT_FALSE(Load(tile) == ComposeHere(*design, size, 96, 50, 99));
    r = Zierbogen({"render", designFile, "-o", tile, "--seed", "99"});
    EXPECT_FALSE(r.err.contains(QStringLiteral("Hinweis"))) << "no hints for a sheet that is no tile";

    // export --repeat half-drop --preview3x3: the tile, and 3 x 3 tiles laid
    // as the half-drop repeat lays them, the tile in the middle.
    const QString exported = dir.filePath("kachel-export.png");
    const QString preview = dir.filePath("rapport.png");
    r = Zierbogen({"export", designFile, "-o", exported, "--dpi", "40", "--seed", "7", "--repeat", "half-drop",
                   "--preview3x3", preview});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage one = Load(exported), nine = Load(preview);
    ASSERT_EQ(nine.size(), one.size() * 3);
    const int w = one.width(), h = one.height();
    for (int y = 0; y < nine.height(); ++y)
        for (int x = 0; x < nine.width(); ++x) {
            const int column = x / w - 1;
            const int ty = ((y - h - column * (h / 2)) % h + 2 * h) % h;
            ASSERT_EQ(nine.pixel(x, y), one.pixel(x % w, ty)) << x << "," << y;
        }
    // A design that stores the choice needs no option; a wrong mode is a wrong call.
    design->Paper.Seamless = true;
    design->Paper.Repeat = kRepeatHalfDrop;
    ASSERT_TRUE(savefile(*design, designFile.toStdString()));
    const QString again = dir.filePath("gespeichert.png");
    ASSERT_EQ(Zierbogen({"export", designFile, "-o", again, "--dpi", "40", "--seed", "7"}).exitCode, 0);
    EXPECT_TRUE(Load(again) == one);
    EXPECT_TRUE(Zierbogen({"info", designFile}).out.contains(QStringLiteral("Nahtlos kachelbar: ja, Rapport Halb versetzt")));
    r = Zierbogen({"export", designFile, "-o", again, "--repeat", "schief"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("--repeat nimmt basic, half-drop oder mirror"))) << r.err.toStdString();
    // The window's words name the same repeats.
    for (const auto& [word, name] : {std::pair{"gerade", "basic"}, {"halb-versetzt", "half-drop"}, {"gespiegelt", "mirror"}}) {
        SCOPED_TRACE(word);
        const QString byWord = dir.filePath("wort.png"), byName = dir.filePath("name.png");
        ASSERT_EQ(Zierbogen({"export", designFile, "-o", byWord, "--dpi", "40", "--seed", "7", "--repeat", word}).exitCode, 0);
        ASSERT_EQ(Zierbogen({"export", designFile, "-o", byName, "--dpi", "40", "--seed", "7", "--repeat", name}).exitCode, 0);
        EXPECT_TRUE(Load(byWord) == Load(byName));
    }
}

TEST_F(CliTest, ExportRecordsTheResolutionInEveryFormat) {
    for (const char* ext : {"png", "jpg", "tif", "bmp"}) {
        SCOPED_TRACE(ext);
        const QString out = dir.filePath(QStringLiteral("export.") + ext);
        const CliRun r = Zierbogen({"export", designFile, "-o", out, "--dpi", "200", "--seed", "5"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QImage img(out);
        // 6 cm x 4,5 cm at 200 pixels per inch.
        EXPECT_EQ(img.width(), 472);
        EXPECT_EQ(img.height(), 354);
        EXPECT_NEAR(img.dotsPerMeterX() * 0.0254, 200.0, 0.5);
        EXPECT_NEAR(img.dotsPerMeterY() * 0.0254, 200.0, 0.5);
    }
    const QString pdf = dir.filePath("export.pdf");
    ASSERT_EQ(Zierbogen({"export", designFile, "-o", pdf, "--dpi", "200"}).exitCode, 0);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    // The picture is stored without loss.
    EXPECT_FALSE(bytes.contains("/DCTDecode"));
    // 6 cm = 170.08 points, 4.5 cm = 127.56 points.
    const int box = bytes.indexOf("/MediaBox");
    ASSERT_GE(box, 0);
    const QList<QByteArray> parts = bytes.mid(box, 60).split('[').value(1).split(']').value(0).simplified().split(' ');
    ASSERT_EQ(parts.size(), 4);
    EXPECT_NEAR(parts[2].toDouble(), 170.08, 1.0);
    EXPECT_NEAR(parts[3].toDouble(), 127.56, 1.0);
}

TEST_F(CliTest, FailedWritesLeaveNothingUnderTheOutputName) {
    const QString missingFolder = dir.filePath("gibt-es-nicht/bogen.png");
    const CliRun r = Zierbogen({"export", designFile, "-o", missingFolder});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_FALSE(QFile::exists(missingFolder));
    EXPECT_EQ(Zierbogen({"export", designFile, "-o", dir.filePath("bogen.gif")}).exitCode, 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"muster.zbg"});
}

TEST_F(CliTest, AFullDiskFailsEveryFormatAndKeepsTheOldFile) {
    for (const char* ext : {"png", "jpg", "tif", "bmp", "pdf"}) {
        SCOPED_TRACE(ext);
        const QString out = dir.filePath(QStringLiteral("voll.") + ext);
        const QByteArray good = QByteArray("eine gute alte Datei ") + ext;
        {
            QFile f(out);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            ASSERT_EQ(f.write(good), good.size());
        }
        const CliRun r = Zierbogen({"export", designFile, "-o", out, "--dpi", "200", "--seed", "5"}, 4096);
        EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith("zierbogen: ")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(out)) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("größer, als der Datenträger oder das System erlaubt")) << r.err.toStdString();
        // Nothing of the encoders' own complaints, nothing in English.
        EXPECT_FALSE(r.err.contains("libpng")) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("TIFF")) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("error", Qt::CaseInsensitive)) << r.err.toStdString();
        QFile f(out);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), good);
    }
    // No temporary file stays behind, and a new name is not created at all.
    const QString fresh = dir.filePath("neu.pdf");
    EXPECT_EQ(Zierbogen({"export", designFile, "-o", fresh, "--dpi", "200"}, 4096).exitCode, 1);
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 6);
}

// Too little memory for a large export (ulimit -v): the program either writes
// the whole picture or says that memory ran short and keeps the old file;
// it never aborts and never leaves a temporary file.
TEST_F(CliTest, ExportWithLittleMemoryWritesAllOrSaysSo) {
    // Around 350 MB the PDF engine's compression runs short while painting
    // still succeeds: limits close together there, so one of them meets it.
    const std::vector<rlim_t> bmpLimits{350, 450, 550, 700, 4000};
    const std::vector<rlim_t> pdfLimits{341, 344, 347, 350, 353, 356, 359, 362, 450, 700, 4000};
    for (const char* ext : {"bmp", "pdf"}) {
        for (rlim_t megabytes : std::string(ext) == "bmp" ? bmpLimits : pdfLimits) {
            SCOPED_TRACE(std::string(ext) + ", " + std::to_string(megabytes) + " MB");
            const QString out = dir.filePath(QStringLiteral("keep.") + ext);
            {
                QFile f(out);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write("alt");
            }
            // 7086 x 5314 pixels: 113 MB composed.
            const CliRun r = Zierbogen({"export", designFile, "-o", out, "--dpi", "3000", "--seed", "3"}, 0,
                                       megabytes << 20);
            ASSERT_TRUE(r.exitCode == 0 || r.exitCode == 1) << r.exitCode << " " << r.err.toStdString();
            QFile f(out);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            if (r.exitCode == 1) {
                EXPECT_TRUE(r.err.contains("Nicht genug Speicher")) << r.err.toStdString();
                EXPECT_EQ(f.readAll(), "alt");
            } else if (std::string(ext) == "bmp") {
                // The header's size, and every row of pixels behind it.
                const QByteArray header = f.read(54);
                ASSERT_EQ(header.size(), 54);
                const auto field = [&](int at) { return qFromLittleEndian<qint32>(header.constData() + at); };
                EXPECT_EQ(field(18), 7086);
                EXPECT_EQ(field(22), 5314);
                EXPECT_EQ(f.size(), 54 + qint64((7086 * 3 + 3) / 4 * 4) * 5314);
            } else {
                // Every row of the picture, in streams that are not empty.
                EXPECT_EQ(f.read(5), "%PDF-");
                QProcess list;
                list.start("pdfimages", {"-list", out});
                ASSERT_TRUE(list.waitForFinished(60000));
                int rows = 0;
                const QStringList lines = QString::fromUtf8(list.readAllStandardOutput()).split('\n');
                for (const QString& line : lines.mid(2)) {
                    const QStringList c = line.simplified().split(' ');
                    if (c.size() < 15) continue;
                    EXPECT_EQ(c[3], "7086") << line.toStdString();
                    EXPECT_NE(c[13], "0B") << "an empty picture stream: " << line.toStdString();
                    rows += c[4].toInt();
                }
                EXPECT_EQ(rows, 5314);
            }
            EXPECT_EQ(QDir(dir.path()).entryList({".keep*"}, QDir::Files | QDir::Hidden), QStringList());
        }
    }
}

TEST_F(CliTest, VariantsAreConsecutiveSheetsOfOneGenerator) {
    const QString out = dir.filePath("stapel");
    const CliRun r = Zierbogen({"variants", designFile, "-o", out, "--count", "3", "--dpi", "50", "--seed", "9"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList files = QDir(out).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files, (QStringList{"muster-001.png", "muster-002.png", "muster-003.png"}));
    const QImage a = Load(out + "/" + files[0]), b = Load(out + "/" + files[1]), c = Load(out + "/" + files[2]);
    EXPECT_FALSE(a == b);
    EXPECT_FALSE(b == c);
    // The first variant is the export of the same seed.
    const QString single = dir.filePath("einzeln.png");
    ASSERT_EQ(Zierbogen({"export", designFile, "-o", single, "--dpi", "50", "--seed", "9"}).exitCode, 0);
    EXPECT_TRUE(Load(single) == a);
}

TEST_F(CliTest, TexturesListsReadableFilesAndWhyOthersAreSkipped) {
    const QString folder = dir.filePath("texturen");
    ASSERT_TRUE(QDir().mkpath(folder));
    QImage small(8, 4, QImage::Format_Indexed8);
    small.setColorCount(2);
    small.setColor(0, qRgb(0, 0, 0));
    small.setColor(1, qRgb(255, 255, 0));
    small.fill(1);
    ASSERT_TRUE(small.save(folder + "/a-gelb.bmp"));
    QFile text(folder + "/b-notiz.txt");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("keine Grafik");
    text.close();
    const CliRun r = Zierbogen({"textures", folder});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("a-gelb.bmp")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("8 x 4")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("b-notiz.txt")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("übergangen")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("1 Textur, 1 Datei übergangen.")) << r.out.toStdString();

    // Without a folder: the one beside the program, with our own textures.
    const CliRun builtIn = Zierbogen({"textures"});
    ASSERT_EQ(builtIn.exitCode, 0);
    EXPECT_TRUE(builtIn.out.contains("01-papier.png"));
}

TEST_F(CliTest, FileErrorsAreGermanNameThePathAsGivenAndStartWithTheProgramName) {
    const struct {
        QString path;
        const char* expected;
    } cases[] = {
        {dir.filePath("fehlt.zbg"), "nicht gefunden"},
        {dir.path(), "Ordner"},
        {QStringLiteral(ZB_TEST_DATA "/render-deterministic.png"), "ist keine Zierbogen-Entwurfsdatei"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const CliRun r = Zierbogen({"info", c.path});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.startsWith("zierbogen: Die Datei „" + c.path + "“")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.expected)) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("Ebenenanzahl")) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("bisherige Entwurf")) << r.err.toStdString();
        for (const char* english : {"File not found", "Unknown error", "access denied", "Read beyond"})
            EXPECT_FALSE(r.err.contains(english)) << r.err.toStdString();
    }
    // A plain text file is no design either.
    QFile text(dir.filePath("notiz.zbg"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("Hallo, das ist kein Entwurf.\n");
    text.close();
    EXPECT_TRUE(Zierbogen({"info", text.fileName()}).err.contains("ist keine Zierbogen-Entwurfsdatei"));

    // The decoders' own complaints about a broken picture stay off standard error.
    const QString folder = dir.filePath("kaputt");
    ASSERT_TRUE(QDir().mkpath(folder));
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(qRgb(10, 200, 30));
    ASSERT_TRUE(img.save(folder + "/halb.png"));
    ASSERT_TRUE(img.save(folder + "/halb.tif"));
    ASSERT_TRUE(img.save(folder + "/halb.jpg"));
    for (const char* name : {"/halb.png", "/halb.tif", "/halb.jpg"}) {
        QFile f(folder + name);
        ASSERT_TRUE(f.resize(f.size() / 2));
    }
    const CliRun r = Zierbogen({"textures", folder});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
}

TEST_F(CliTest, NumbersParseAlikeAndResolutionsAreWhole) {
    const QString out = dir.filePath("z.png");
    const struct {
        QStringList args;
        int exitCode;
    } cases[] = {
        {{"export", designFile, "-o", out, "--dpi", "150.5"}, 2},
        {{"export", designFile, "-o", out, "--dpi", "0x96"}, 2},
        {{"export", designFile, "-o", out, "--dpi", "1e2"}, 2},
        {{"export", designFile, "-o", out, "--dpi", "-5"}, 2},
        {{"export", designFile, "-o", out, "--dpi", "0"}, 2},
        {{"render", designFile, "-o", out, "--screen-dpi", "96.0"}, 2},
        {{"render", designFile, "-o", out, "--printer-dpi", "600.5"}, 2},
        {{"render", designFile, "-o", out, "--seed", "0x10"}, 2},
        {{"render", designFile, "-o", out, "--seed", "4294967296"}, 2},
        {{"render", designFile, "-o", out, "--zoom", "0x20"}, 2},
        {{"render", designFile, "-o", out, "--zoom", "inf"}, 2},
        {{"render", designFile, "-o", out, "--page", "10x"}, 2},
        {{"variants", designFile, "-o", dir.filePath("v"), "--count", "2.0"}, 2},
        {{"render", designFile, "-o", out, "--zoom", "45,5", "--seed", "4294967295"}, 0},
        {{"export", designFile, "-o", out, "--dpi", "150"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun r = Zierbogen(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        if (c.exitCode == 2) {
            EXPECT_TRUE(r.err.startsWith("zierbogen ")) << r.err.toStdString();
        }
    }
    // render records the screen resolution it composed for.
    ASSERT_EQ(Zierbogen({"render", designFile, "-o", out, "--screen-dpi", "120", "--seed", "1"}).exitCode, 0);
    const QImage img(out);
    EXPECT_NEAR(img.dotsPerMeterX() * 0.0254, 120.0, 0.5);
    EXPECT_NEAR(img.dotsPerMeterY() * 0.0254, 120.0, 0.5);
}

TEST_F(CliTest, WholePageDesignsUseThePrintablePageInInfoAndExport) {
    design->Paper.PrintAll = true;
    ASSERT_TRUE(savefile(*design, designFile.toStdString()));
    const QStringList page = {"--page", "4760x6779", "--printer-dpi", "600"};
    const CliRun text = Zierbogen(QStringList{"info", designFile} + page);
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains("Druckbare Seite: 20,15 cm x 28,70 cm (4760 x 6779 Druckerpixel bei 600 dpi)"))
        << text.out.toStdString();
    const CliRun json = Zierbogen(QStringList{"info", designFile, "--json"} + page);
    const QJsonObject p = QJsonDocument::fromJson(json.out.toUtf8()).object()["printablePage"].toObject();
    EXPECT_EQ(p["widthPx"].toInt(), 4760);
    EXPECT_EQ(p["heightPx"].toInt(), 6779);
    EXPECT_EQ(p["ppi"].toInt(), 600);
    EXPECT_FALSE(p["fallback"].toBool(true));
    EXPECT_NEAR(p["widthCm"].toDouble(), 20.15, 0.01);

    // Export at 100 dpi: trunc(4760 * 100 / 600) x trunc(6779 * 100 / 600).
    const QString out = dir.filePath("seite.png");
    const CliRun r = Zierbogen(QStringList{"export", designFile, "-o", out, "--dpi", "100", "--seed", "3"} + page);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(out).size(), QSize(793, 1129));

    // Named paper sizes: the whole sheet at the printer's resolution, cut to
    // whole pixels (A4 at 600 dpi: 210 / 25.4 * 600 = 4960.6).
    const struct {
        const char* page;
        const char* dpi;
        int width, height;
    } named[] = {
        {"A4", "600", 4960, 7015}, {"a4-quer", "600", 7015, 4960}, {"A3 quer", "300", 4960, 3507},
        {"A5", "300", 1748, 2480}, {"Letter", "300", 2550, 3300}, {"LEGAL", "100", 850, 1400},
        {"A6", "300", 0, 0},       {"A4quer", "300", 0, 0},
    };
    for (const auto& c : named) {
        SCOPED_TRACE(c.page);
        const CliRun n = Zierbogen({"info", designFile, "--json", "--page", c.page, "--printer-dpi", c.dpi});
        EXPECT_EQ(n.exitCode, c.width ? 0 : 2) << n.err.toStdString();
        if (!c.width) continue;
        const QJsonObject size = QJsonDocument::fromJson(n.out.toUtf8()).object()["printablePage"].toObject();
        EXPECT_EQ(size["widthPx"].toInt(), c.width);
        EXPECT_EQ(size["heightPx"].toInt(), c.height);
    }

    // A design of part of the page names no printable page.
    design->Paper.PrintAll = false;
    ASSERT_TRUE(savefile(*design, designFile.toStdString()));
    EXPECT_FALSE(Zierbogen({"info", designFile}).out.contains("Druckbare Seite"));
    EXPECT_TRUE(QJsonDocument::fromJson(Zierbogen({"info", designFile, "--json"}).out.toUtf8())
                    .object()["printablePage"].isNull());
}

TEST_F(CliTest, InfoGivesStoredTransparencyAndSliderPositionInBothOutputs) {
    const CliRun text = Zierbogen({"info", designFile});
    // Layer 2 stores 2, which the track bar shows at 7.
    EXPECT_TRUE(text.out.contains("2. Grafik   Transparenz: Reglerstellung 7 von 10 (gespeicherter Wert 2)"))
        << text.out.toStdString();
    const QJsonArray layers =
        QJsonDocument::fromJson(Zierbogen({"info", designFile, "--json"}).out.toUtf8()).object()["layers"].toArray();
    ASSERT_EQ(layers.size(), 4);
    const int stored[] = {0, 2, -2, 3};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(layers[i].toObject()["transparencyStored"].toInt(-99), stored[i]);
        EXPECT_EQ(layers[i].toObject()["transparencySlider"].toInt(-99), stored[i] + 5);
    }
    EXPECT_EQ(layers[0].toObject()["gradientDirectionName"].toString(), "Oben rechts -> Unten links");
}

TEST_F(CliTest, TexturesChecksTheFolderReportsStoredDepthsAndAlignsColumns) {
    EXPECT_EQ(Zierbogen({"textures", dir.filePath("gibt-es-nicht")}).exitCode, 1);
    const CliRun notFolder = Zierbogen({"textures", designFile});
    EXPECT_EQ(notFolder.exitCode, 1);
    EXPECT_TRUE(notFolder.err.contains("ist kein Ordner")) << notFolder.err.toStdString();

    const QString folder = dir.filePath("tiefen");
    ASSERT_TRUE(QDir().mkpath(folder));
    std::vector<uint32_t> palette;
    for (uint32_t i = 0; i < 256; ++i) palette.push_back(i * 0x010101u);
    const std::vector<uint8_t> gif = zb::test::GifWriter::Build(6, 4, palette, [](int x, int y) { return uint32_t(x * 40 + y); });
    QFile g(folder + "/a-acht.gif");
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write(reinterpret_cast<const char*>(gif.data()), qint64(gif.size()));
    g.close();
    QImage grey(5, 3, QImage::Format_Grayscale16);
    grey.fill(Qt::gray);
    ASSERT_TRUE(grey.save(folder + "/b-grau.png"));
    QImage colour(4, 4, QImage::Format_RGB32);
    colour.fill(Qt::red);
    ASSERT_TRUE(colour.save(folder + "/\xC3\xA4pfel.png"));

    const CliRun r = Zierbogen({"textures", folder});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n');
    auto line = [&](const QString& name) {
        for (const QString& l : lines)
            if (l.contains(name)) return l;
        return QString();
    };
    EXPECT_TRUE(line("a-acht.gif").contains(" 8 Bit -> 24 Bit")) << r.out.toStdString();
    EXPECT_TRUE(line("b-grau.png").contains("16 Bit -> 24 Bit")) << r.out.toStdString();
    // The format column starts at the same place whatever the name's bytes.
    const QString umlaut = line("\xC3\xA4pfel.png");
    ASSERT_FALSE(umlaut.isEmpty()) << r.out.toStdString();
    EXPECT_EQ(umlaut.indexOf("PNG"), line("b-grau.png").indexOf("PNG")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("3 Texturen, 0 Dateien übergangen.")) << r.out.toStdString();
}

TEST_F(CliTest, SmallerThings) {
    // Standard output that cannot be written is a failure.
    {
        QProcess p;
        p.setStandardOutputFile("/dev/full");
        p.start(QStringLiteral(ZB_BIN_DIR "/zierbogen"), {"info", designFile});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_NE(p.exitCode(), 0);
        EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains("Datenträger ist voll"));
    }
    // Help after a command is that command's help; --name=value works.
    for (const char* help : {"--help", "-h"}) {
        const CliRun r = Zierbogen({"render", designFile, help});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(r.out.startsWith("Aufruf: zierbogen render")) << r.out.toStdString();
    }
    const QString a = dir.filePath("a.png"), b = dir.filePath("b.png");
    ASSERT_EQ(Zierbogen({"render", designFile, "-o", a, "--seed", "4711", "--screen-dpi", "72"}).exitCode, 0);
    ASSERT_EQ(Zierbogen({"render", designFile, "-o", b, "--seed=4711", "--screen-dpi=72"}).exitCode, 0);
    EXPECT_TRUE(Load(a) == Load(b));

    // The output is checked before a long composition.
    QElapsedTimer timer;
    timer.start();
    const CliRun missing = Zierbogen({"export", designFile, "-o", dir.filePath("fehlt/x.tif"), "--dpi", "2400"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("fehlt")) << missing.err.toStdString();
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(Zierbogen({"export", designFile, "-o", dir.path(), "--dpi", "2400"}).exitCode, 2); // no extension
    ASSERT_TRUE(QDir().mkpath(dir.filePath("ordner.png")));
    timer.restart();
    const CliRun overFolder = Zierbogen({"export", designFile, "-o", dir.filePath("ordner.png"), "--dpi", "2400"});
    EXPECT_EQ(overFolder.exitCode, 1);
    EXPECT_TRUE(overFolder.err.contains("Ordner")) << overFolder.err.toStdString();
    EXPECT_LT(timer.elapsed(), 3000);

    // variants numbers with as many digits as the count needs, at least three.
    // A thousand synced files: in memory (tmpfs) where there is one.
    QTemporaryDir memory(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/zb-viele-XXXXXX") : QString());
    ASSERT_TRUE(memory.isValid());
    const QString many = memory.filePath("viele");
    const CliRun v = Zierbogen({"variants", designFile, "-o", many, "--count", "1000", "--dpi", "1", "--seed", "2"});
    ASSERT_EQ(v.exitCode, 0) << v.err.toStdString();
    const QStringList files = QDir(many).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 1000);
    EXPECT_EQ(files.front(), "muster-0001.png");
    EXPECT_EQ(files.back(), "muster-1000.png");
}

TEST_F(CliTest, NamesThatAreNotUtf8AreReadAndWrittenUnderTheirOwnBytes) {
    const QString folder = dir.filePath("latin");
    ASSERT_TRUE(QDir().mkpath(folder));
    QImage img(3, 3, QImage::Format_RGB32);
    img.fill(Qt::blue);
    ASSERT_TRUE(img.save(folder + "/plain.png"));
    const QString q = "'" + folder + "'";
    const QString d = "'" + designFile + "'";
    // QTemporaryDir cannot name the Latin-1 files to remove them; the shell can.
    struct RemoveByBytes {
        QString folder;
        ~RemoveByBytes() { QProcess::execute("rm", {"-rf", "--", folder}); }
    } cleanup{folder};
    // A texture named with a Latin-1 "ü" is read, not skipped.
    CliRun r = ZierbogenShell("mv " + q + "/plain.png \"" + folder + "/$(printf 't\\374r.png')\" && \"$Z\" textures " + q);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("1 Textur, 0 Dateien übergangen.")) << r.out.toStdString();

    // Outputs, a design and a variants folder named in Latin-1 keep their bytes.
    r = ZierbogenShell("cd " + q + " && \"$Z\" export " + d + " -o \"$(printf 'aus\\374.tif')\" --dpi 20 && "
                       "cp " + d + " \"$(printf 'entw\\374rf.zbg')\" && \"$Z\" info \"$(printf 'entw\\374rf.zbg')\" && "
                       "\"$Z\" variants \"$(printf 'entw\\374rf.zbg')\" -o \"$(printf 'b\\374gen')\" --count 1 --dpi 20 && "
                       "ls | od -An -c | tr -s ' '");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("a u s 374 . t i f")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("b 374 g e n")) << r.out.toStdString();
    r = ZierbogenShell("ls " + q + "/\"$(printf 'b\\374gen')\" | od -An -c | tr -s ' '");
    EXPECT_TRUE(r.out.contains("e n t w 374 r f - 0 0 1 . p n g")) << r.out.toStdString();

    // So does a PDF printed into.
    r = ZierbogenShell("cd " + q + " && \"$Z\" print " + d + " --seed 1 --pdf \"$(printf 'dr\\374ck.pdf')\" && "
                       "ls | od -An -c | tr -d ' \\n'");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("dr374ck.pdf")) << r.out.toStdString();
}

// Names and hidden layers: info lists them, render leaves hidden layers out
// (every layer hidden: white paper).
TEST_F(CliTest, InfoNamesLayersAndRenderLeavesHiddenOnesOut) {
    design->Layers[1].Name = "Gr\xFCn";
    design->Layers[1].Visible = false;
    ASSERT_TRUE(savefile(*design, designFile.toStdString()));
    const CliRun text = Zierbogen({"info", designFile});
    EXPECT_TRUE(text.out.contains(QStringLiteral("   Name: \"Grün\" (ausgeblendet)\n"))) << text.out.toStdString();
    EXPECT_TRUE(text.out.contains(QStringLiteral("   Name: \"Farbverlauf\"\n"))) << text.out.toStdString();
    const QJsonArray layers =
        QJsonDocument::fromJson(Zierbogen({"info", designFile, "--json"}).out.toUtf8()).object()["layers"].toArray();
    ASSERT_EQ(layers.size(), 4);
    EXPECT_EQ(layers[1].toObject()["name"].toString(), QStringLiteral("Grün"));
    EXPECT_FALSE(layers[1].toObject()["visible"].toBool(true));
    EXPECT_TRUE(layers[2].toObject()["visible"].toBool(false));

    for (uint32_t i = 0; i < design->Layers.size(); ++i) design->Layers[i].Visible = false;
    ASSERT_TRUE(savefile(*design, designFile.toStdString()));
    const QString out = dir.filePath("leer.png");
    const CliRun r = Zierbogen({"render", designFile, "-o", out, "--zoom", "10"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage image = Load(out);
    ASSERT_FALSE(image.isNull());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}
