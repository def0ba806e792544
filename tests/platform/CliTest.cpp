// The command-line program as users and scripts call it: exit codes,
// messages, and pictures that match what the core composes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <memory>
#include <sys/resource.h>

#include "document/DesignFile.h"
#include "base/RasterView.h"
#include "model/LayerStack.h"
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
// (as a full disk would), with the signal ignored so writes fail with EFBIG.
CliRun Zierbogen(const QStringList& args, rlim_t fileSizeLimit = 0) {
    QProcess p;
    if (fileSizeLimit > 0) {
        p.setChildProcessModifier([fileSizeLimit] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
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
    TDibRecord* none = nullptr;
    TDynaArray<TDibRecord> noTextures{&none};
    NewPlane(*d, noTextures);
    d->CurrentLayer->Kind = kKindGradient;
    d->CurrentLayer->GradientColor1 = RGBColor(250, 200, 30);
    d->CurrentLayer->GradientColor2 = RGBColor(20, 60, 200);
    d->CurrentLayer->GradientDirection = 3;

    NewPlane(*d, noTextures);
    TLayerRecord& tex = *d->CurrentLayer;
    tex.Kind = kKindTexture;
    tex.Transparency = 2;
    tex.PictureWidthMM = 9.0;
    deldib(tex.LayerPicture);
    newdib(tex.LayerPicture, 13, 7, 24, nullptr, 0);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) setpixel(tex.LayerPicture, x, y, RGBColor(uint8_t(x * 19), uint8_t(y * 35), 90));

    NewPlane(*d, noTextures);
    TLayerRecord& pat = *d->CurrentLayer;
    pat.Kind = kKindPattern;
    pat.PatternShape = 0;
    pat.PatternSizeMM = 6.0;
    pat.PatternCount = 60;
    pat.Transparency = -2;

    NewPlane(*d, noTextures);
    d->CurrentLayer->Kind = kKindFilter;
    d->CurrentLayer->FilterIndex = 12; // emboss
    d->CurrentLayer->Transparency = 3;

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
    EXPECT_EQ(c.ComposeFromSeed(design, ppi, zoom, seed, nullptr), "");
    const RasterView v = c.DesignView();
    QImage img(v.width, v.height, QImage::Format_RGB888);
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) {
            const uint8_t* p = v.pixel(x, y);
            img.setPixel(x, y, qRgb(p[2], p[1], p[0]));
        }
    return img;
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

TEST_F(CliTest, DamagedFilesAndWrongCallsFailWithAMessage) {
    QFile f(designFile);
    ASSERT_TRUE(f.resize(1500)); // cut inside the first layer's picture
    const CliRun damaged = Zierbogen({"info", designFile});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.out.isEmpty());
    EXPECT_TRUE(damaged.err.contains("muster.zbg")) << damaged.err.toStdString();
    EXPECT_TRUE(damaged.err.contains("endet, bevor alles gelesen ist")) << damaged.err.toStdString();

    EXPECT_EQ(Zierbogen({"info", dir.filePath("fehlt.zbg")}).exitCode, 1);
    EXPECT_EQ(Zierbogen({"info"}).exitCode, 2);
    EXPECT_EQ(Zierbogen({"info", designFile, "--bunt"}).exitCode, 2);
    EXPECT_EQ(Zierbogen({"zeichnen"}).exitCode, 2);
    EXPECT_EQ(Zierbogen({"render", designFile, "-o", dir.filePath("a.png"), "--zoom", "abc"}).exitCode, 2);
    EXPECT_EQ(Zierbogen({"render", designFile, "-o", dir.filePath("a.png"), "--seed"}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(dir.filePath("a.png")));
    const CliRun version = Zierbogen({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("zierbogen "));
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
    EXPECT_TRUE(r.out.contains("1 Texturen, 1 Dateien übergangen")) << r.out.toStdString();

    // Without a folder: the one beside the program, with our own textures.
    const CliRun builtIn = Zierbogen({"textures"});
    ASSERT_EQ(builtIn.exitCode, 0);
    EXPECT_TRUE(builtIn.out.contains("01-papier.png"));
}
