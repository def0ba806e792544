#include "app/Pictures.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QSvgRenderer>

#include <set>

using namespace zb;

namespace {

// True when the picture has visible pixels that are not all one colour.
bool HasContent(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) > 0) colours.insert(p);
        }
    }
    return colours.size() > 1;
}

} // namespace

TEST(Pictures, EveryPictureRendersWithContent) {
    const QStringList names = PictureNames();
    ASSERT_GE(names.size(), 25);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QSvgRenderer renderer(QStringLiteral(":/pictures/") + name + QStringLiteral(".svg"));
        ASSERT_TRUE(renderer.isValid());
        const QPixmap pixmap = LoadPicture(name, renderer.defaultSize(), 1.0);
        ASSERT_FALSE(pixmap.isNull());
        EXPECT_TRUE(HasContent(pixmap.toImage()));
    }
}

TEST(Pictures, NamesTheProgramUsesExistAtTheirSizes) {
    struct Case {
        const char* name;
        QSize size;
    } cases[] = {
        {pic::kEndeBtn, pic::kButtonSize},
        {pic::kEndeBtnPressed, pic::kButtonSize},
        {pic::kUeberBtn, pic::kButtonSize},
        {pic::kUeberBtnPressed, pic::kButtonSize},
        {pic::kPrintBtn, pic::kButtonSize},
        {pic::kPrintBtnPressed, pic::kButtonSize},
        {pic::kPrinterSetupBtn, pic::kPrinterSetupSize},
        {pic::kPrinterSetupBtnPressed, pic::kPrinterSetupSize},
        {pic::kPaperPanel, pic::kPanelPictureSize},
        {pic::kPrintPanel, pic::kPanelPictureSize},
        {pic::kTabEbenen, QSize(16, 16)},
        {pic::kTabPapierformat, QSize(16, 16)},
        {pic::kTabDrucken, QSize(16, 16)},
        {pic::kTabFarbverlauf, QSize(16, 16)},
        {pic::kTabMuster, QSize(16, 16)},
        {pic::kTabTextur, QSize(16, 16)},
        {pic::kTabFilter, QSize(16, 16)},
        {pic::kTabText, QSize(16, 16)},
        {pic::kLayerRow, QSize(16, 16)},
        {pic::kNeu, QSize(16, 16)},
        {pic::kOeffnen, QSize(16, 16)},
        {pic::kSpeichern, QSize(16, 16)},
        {pic::kSpeichernUnter, QSize(16, 16)},
        {pic::kUndo, QSize(16, 16)},
        {pic::kRedo, QSize(16, 16)},
        {pic::kNeuWuerfeln, QSize(16, 16)},
        {pic::kWeb, QSize(16, 16)},
        {pic::kHilfe, QSize(16, 16)},
        {pic::kProdukt, pic::kProduktSize},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QSvgRenderer renderer(QStringLiteral(":/pictures/") + c.name + QStringLiteral(".svg"));
        ASSERT_TRUE(renderer.isValid());
        EXPECT_EQ(renderer.defaultSize(), c.size);
        const QIcon icon = LoadIcon(c.name);
        ASSERT_FALSE(icon.isNull());
        EXPECT_TRUE(HasContent(icon.pixmap(QSize(16, 16)).toImage()));
    }
}

TEST(Pictures, RenderedAtTheScreensPixelRatio) {
    struct Case {
        qreal ratio;
        QSize pixels;
    } cases[] = {{1.0, QSize(101, 30)}, {1.25, QSize(127, 38)}, {1.5, QSize(152, 45)}, {2.0, QSize(202, 60)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ratio);
        const QPixmap pixmap = LoadPicture(pic::kEndeBtn, pic::kButtonSize, c.ratio);
        EXPECT_EQ(pixmap.size(), c.pixels);
        EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), c.ratio);
        EXPECT_TRUE(HasContent(pixmap.toImage()));
    }
}

TEST(Pictures, MissingNamesAndEmptySizesGiveNothing) {
    EXPECT_TRUE(LoadPicture(QStringLiteral("gibt-es-nicht"), QSize(16, 16), 1.0).isNull());
    EXPECT_TRUE(LoadPicture(pic::kNeu, QSize(0, 16), 1.0).isNull());
    EXPECT_TRUE(LoadPicture(pic::kNeu, QSize(16, 16), 0.0).isNull());
    EXPECT_TRUE(LoadIcon(QStringLiteral("gibt-es-nicht")).isNull());
}

TEST(Pictures, PressedButtonsDifferFromNormal) {
    const std::pair<const char*, const char*> pairs[] = {{pic::kEndeBtn, pic::kEndeBtnPressed},
                                                         {pic::kUeberBtn, pic::kUeberBtnPressed},
                                                         {pic::kPrintBtn, pic::kPrintBtnPressed},
                                                         {pic::kPrinterSetupBtn, pic::kPrinterSetupBtnPressed}};
    for (const auto& [normal, pressed] : pairs) {
        SCOPED_TRACE(normal);
        QSvgRenderer renderer(QStringLiteral(":/pictures/") + normal + QStringLiteral(".svg"));
        const QSize size = renderer.defaultSize();
        EXPECT_NE(LoadPicture(normal, size, 1.0).toImage(), LoadPicture(pressed, size, 1.0).toImage());
    }
}
