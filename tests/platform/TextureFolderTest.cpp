// The texture folder the build generates beside the programs.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

#include "imaging/TextureLibrary.h"
#include "platform/QtPictureDecoder.h"

using namespace zb;

namespace {

const std::string kFolder = TextureFolder(ZB_BIN_DIR);

// Brightness averaged over 4 x 4 blocks: the coarse picture, where a seam
// shows as a jump that fine grain cannot hide.
struct Coarse {
    int w = 0, h = 0;
    std::vector<double> v;
    double at(int x, int y) const { return v[size_t(y) * size_t(w) + size_t(x)]; }
};

Coarse Downsample(const TDibRecord& dib) {
    Coarse c;
    c.w = DibWidth(dib) / 4;
    c.h = DibHeight(dib) / 4;
    c.v.assign(size_t(c.w) * size_t(c.h), 0);
    for (int y = 0; y < c.h * 4; ++y)
        for (int x = 0; x < c.w * 4; ++x) {
            const uint32_t p = getpixel(dib, x, y);
            c.v[size_t(y / 4) * size_t(c.w) + size_t(x / 4)] += (RedOf(p) + GreenOf(p) + BlueOf(p)) / 48.0;
        }
    return c;
}

// Mean jump across the wrap-around edge and mean jump between neighbouring
// columns inside, along x (or along y when `vertical`).
std::pair<double, double> SeamAndInside(const Coarse& c, bool vertical) {
    const int n = vertical ? c.h : c.w, m = vertical ? c.w : c.h;
    auto at = [&](int along, int across) { return vertical ? c.at(across, along) : c.at(along, across); };
    double seam = 0, inside = 0;
    for (int j = 0; j < m; ++j) {
        seam += std::abs(at(n - 1, j) - at(0, j));
        for (int i = 0; i + 1 < n; ++i) inside += std::abs(at(i + 1, j) - at(i, j));
    }
    return {seam / m, inside / (double(m) * (n - 1))};
}

// Share of rows (columns when `vertical`) where neighbouring pixels differ by
// more than a hard jump, across the wrap-around edge and, at most, across any
// inside boundary. A cut-off pattern shows as a long run of hard jumps at the
// edge where inside the picture edges are curved or soft.
std::pair<double, double> HardJumps(const TDibRecord& dib, bool vertical) {
    const int n = vertical ? DibHeight(dib) : DibWidth(dib), m = vertical ? DibWidth(dib) : DibHeight(dib);
    auto at = [&](int along, int across) {
        const uint32_t p = vertical ? getpixel(dib, across, along) : getpixel(dib, along, across);
        return RedOf(p) + GreenOf(p) + BlueOf(p);
    };
    auto share = [&](int a, int b) {
        int hard = 0;
        for (int j = 0; j < m; ++j) hard += std::abs(at(a, j) - at(b, j)) > 3 * 48;
        return double(hard) / m;
    };
    double inside = 0;
    for (int i = 0; i + 1 < n; ++i) inside = std::max(inside, share(i, i + 1));
    return {share(n - 1, 0), inside};
}

} // namespace

TEST(TextureFolder, HoldsAtLeastTenReadableSeamlessTextures) {
    platform::QtPictureDecoder decoder;
    const std::vector<TextureScanEntry> report = ScanTextureFolder(kFolder, decoder);
    std::vector<std::string> pictures;
    for (const TextureScanEntry& e : report) {
        if (e.fileName.size() < 4 || e.fileName.substr(e.fileName.size() - 4) != ".png") continue;
        EXPECT_TRUE(e.loaded) << e.fileName << ": " << e.reason;
        pictures.push_back(e.fileName);
    }
    ASSERT_GE(pictures.size(), 10u) << kFolder;

    std::vector<DibPicture> textures;
    ASSERT_EQ(ReadinTextures(textures, kFolder, decoder), pictures.size());
    for (uint32_t i = 0; i < textures.size(); ++i) {
        const TDibRecord& t = textures[i];
        SCOPED_TRACE(pictures[i]);
        EXPECT_EQ(DibBitCount(t), 24);
        // Sizes that divide evenly at every zoom: powers of two from 128 to 1024.
        for (int side : {DibWidth(t), DibHeight(t)}) {
            EXPECT_GE(side, 128);
            EXPECT_LE(side, 1024);
            EXPECT_EQ(side & (side - 1), 0);
        }
        const Coarse coarse = Downsample(t);
        const auto [lo, hi] = std::minmax_element(coarse.v.begin(), coarse.v.end());
        EXPECT_GT(*hi - *lo, 3.0) << "no visible structure";
        for (bool vertical : {false, true}) {
            const auto [seam, inside] = SeamAndInside(coarse, vertical);
            const auto [hardSeam, hardInside] = HardJumps(t, vertical);
            const char* edge = vertical ? "top/bottom" : "left/right";
            EXPECT_LE(seam, 2 * inside + 0.5) << edge << " seam " << seam << " against " << inside << " inside";
            EXPECT_LE(hardSeam, hardInside + 0.02) << edge << " hard jumps " << hardSeam << " against " << hardInside;
        }
    }
    ReleaseTextures(textures);
}

TEST(TextureFolder, GeneratorWritesTheSameFilesEveryTime) {
    QTemporaryDir dir;
    const QString generator = QStringLiteral(ZB_BIN_DIR "/../tools/zb-texgen");
    ASSERT_TRUE(QFile::exists(generator)) << generator.toStdString();
    QProcess run;
    run.start(generator, {dir.path()});
    ASSERT_TRUE(run.waitForFinished(120000));
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    const QStringList fresh = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    ASSERT_GE(fresh.size(), 10);
    for (const QString& name : fresh) {
        SCOPED_TRACE(name.toStdString());
        QFile a(dir.filePath(name)), b(QString::fromStdString(kFolder) + "/" + name);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly));
        ASSERT_TRUE(b.open(QIODevice::ReadOnly));
        EXPECT_TRUE(a.readAll() == b.readAll());
    }
}
