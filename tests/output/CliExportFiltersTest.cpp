#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "document/DesignFile.h"
#include "model/LayerChoices.h"
#include "render/Compositor.h"
#include "render/PageGeometry.h"

namespace {

// `zierbogen export` of a gradient under "Stark Weichzeichnen", 4 x 3 cm at
// 150 dpi from a 30 % design view: the filter at the view's scale (k = 150 /
// 28.8, rounded 5) unless --pixel-filters; compared with the compositor's own sheet.
QImage Sheet(zb::Design& design, double filterScale) {
    zb::Compositor c;
    EXPECT_EQ(c.EnsureSize(zb::DesignRasterSize(design.Paper, {}, 150, 100)), "");
    c.SetFilterScale(filterScale);
    EXPECT_EQ(c.ComposeFromSeed(design, 150, 100, 5, nullptr).message, "");
    const zb::RasterView v = c.DesignView();
    QImage image(v.width, v.height, QImage::Format_RGB888);
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) {
            const uint8_t* p = v.pixel(x, y);
            image.setPixel(x, y, qRgb(p[2], p[1], p[0]));
        }
    return image;
}

int Export(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(ZB_BIN_DIR "/zierbogen"), QStringList{"export"} + args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

TEST(CliExport, FiltersAtTheViewsScaleUnlessPixelFilters) {
    QTemporaryDir dir;
    zb::Design design;
    zb::TLayerRecord& g = design.Layers.Add();
    zb::SetLayerDefaults(g);
    g.Kind = zb::kKindGradient;
    g.GradientColor1 = 0x000000;
    g.GradientColor2 = 0xFFFFFF;
    g.GradientDirection = zb::kGradientLeftToRight;
    zb::TLayerRecord& pattern = design.Layers.Add();
    zb::SetLayerDefaults(pattern);
    pattern.Kind = zb::kKindPattern;
    pattern.Transparency = -5;
    zb::TLayerRecord& f = design.Layers.Add();
    zb::SetLayerDefaults(f);
    f.Kind = zb::kKindFilter;
    f.FilterIndex = 2;
    f.Transparency = -5;
    design.Paper.PrintAll = false;
    design.Paper.Breit = 4;
    design.Paper.Hoch = 3;
    design.Paper.Zoom = 30;
    const QString file = dir.filePath("filter.zbg");
    ASSERT_TRUE(zb::savefile(design, file.toStdString()));

    const QString scaled = dir.filePath("skaliert.png"), literal = dir.filePath("pixel.png");
    ASSERT_EQ(Export({file, "-o", scaled, "--dpi", "150", "--seed", "5"}), 0);
    ASSERT_EQ(Export({file, "-o", literal, "--dpi", "150", "--seed", "5", "--pixel-filters"}), 0);
    const QImage a = QImage(scaled).convertToFormat(QImage::Format_RGB888);
    const QImage b = QImage(literal).convertToFormat(QImage::Format_RGB888);
    EXPECT_EQ(a, Sheet(design, zb::FilterScale(150, 96, 30)));
    EXPECT_EQ(b, Sheet(design, 1.0));
    EXPECT_NE(a, b);
}
