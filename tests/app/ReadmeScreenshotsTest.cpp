// The README's pictures of the program: the main window with a sample design,
// the paper page, the print page and the picture viewer. Every run makes them
// and checks them against the committed ones in docs/screenshots, so a window
// that changed shows here instead of going stale in the README.
// ZB_UPDATE_SCREENSHOTS=1 writes them (scripts/screenshots.sh does that on a
// virtual X server).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include <cmath>
#include <functional>
#include <memory>

#include "app/PictureViewerLink.h"
#include "app/TMainForm.h"
#include "app/TemplateGallery.h"
#include "model/LayerChoices.h"
#include "viewer/TViewPicForm.h"

namespace {

const QString kFolder = QStringLiteral(ZB_SOURCE_DIR "/docs/screenshots");
const QString kFailedFolder = QStringLiteral(ZB_BIN_DIR "/../screenshots");
// The window size of the pictures: what fits beside the README's text.
const QSize kWindowSize(960, 680);
// Mean difference of the coarse pictures (0..255) above which a committed
// picture no longer shows the window. The same window on the offscreen
// platform and on a virtual X server differs by less than 0.01; a page that
// gained or lost a group of controls by several units.
constexpr double kStaleDifference = 2.0;

bool UpdateRequested() { return qEnvironmentVariableIntValue("ZB_UPDATE_SCREENSHOTS") == 1; }

void Settle(int ms, const std::function<bool()>& done = {}) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms || (done && !done() && clock.elapsed() < 20000))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

int DistinctColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
    return int(colours.size());
}

// Grey levels averaged over 24 x 24 blocks: the layout of a window without
// the anti-aliasing of its text.
std::vector<double> Coarse(const QImage& image) {
    const int bw = (image.width() + 23) / 24, bh = (image.height() + 23) / 24;
    std::vector<double> sum(size_t(bw) * size_t(bh), 0), count(sum.size(), 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const size_t i = size_t(y / 24) * size_t(bw) + size_t(x / 24);
            sum[i] += qGray(image.pixel(x, y));
            count[i] += 1;
        }
    for (size_t i = 0; i < sum.size(); ++i) sum[i] /= count[i];
    return sum;
}

double CoarseDifference(const QImage& a, const QImage& b) {
    const std::vector<double> ca = Coarse(a), cb = Coarse(b);
    double d = 0;
    for (size_t i = 0; i < ca.size(); ++i) d += std::abs(ca[i] - cb[i]);
    return d / double(ca.size());
}

// Writes the picture when asked; otherwise holds it against the committed one.
void Keep(const QString& name, const QImage& shot) {
    SCOPED_TRACE(name.toStdString());
    ASSERT_FALSE(shot.isNull());
    // A picture of a blank or half-built window is no picture of the program.
    EXPECT_GT(DistinctColours(shot), 60);
    const QString file = kFolder + '/' + name;
    if (UpdateRequested()) {
        ASSERT_TRUE(QDir().mkpath(kFolder));
        ASSERT_TRUE(shot.save(file, "PNG")) << file.toStdString();
        return;
    }
    const QImage committed(file);
    ASSERT_FALSE(committed.isNull()) << file.toStdString() << " is missing (ZB_UPDATE_SCREENSHOTS=1 writes it)";
    const QImage actual = shot.convertToFormat(QImage::Format_RGB32);
    const bool sameSize = committed.size() == actual.size();
    const double difference = sameSize ? CoarseDifference(committed.convertToFormat(QImage::Format_RGB32), actual) : 255;
    if (!sameSize || difference > kStaleDifference) {
        QDir().mkpath(kFailedFolder);
        actual.save(kFailedFolder + "/actual-" + name, "PNG");
        ADD_FAILURE() << "docs/screenshots/" << name.toStdString() << " no longer shows the program (difference "
                      << difference << ", actual picture in build/screenshots); bash scripts/screenshots.sh "
                      << "makes it anew";
    }
}

QImage Grab(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

QTabWidget* PagesOf(zb::TMainForm& form) {
    for (QTabWidget* tabs : form.findChildren<QTabWidget*>())
        if (tabs->indexOf(form.PaperPage()) >= 0) return tabs;
    return nullptr;
}

} // namespace

TEST(ReadmeScreenshots, ShowTheProgramAsItIs) {
    zb::TMainForm::Options options;
    options.arguments << QStringLiteral(ZB_SOURCE_DIR "/examples/beispiel.zbg");
    options.programFolder = QStringLiteral(ZB_BIN_DIR);
    options.printer = zb::PrinterPage{zb::kFallbackPrintablePage, 600, true, {}};
    options.seed = 20261207;
    options.composeWaitMs = -1;
    auto form = std::make_unique<zb::TMainForm>(options);
    zb::TViewPicForm* viewer = zb::AttachPictureViewer(*form);
    form->resize(kWindowSize);
    form->show();
    Settle(300, [&] {
        return form->windowHandle() && form->windowHandle()->isExposed() && !form->SavedFileName().isEmpty() &&
               !form->Workspace().Stale();
    });
    ASSERT_FALSE(form->Workspace().Stale());
    ASSERT_FALSE(form->SavedFileName().isEmpty()) << "the sample design did not open";
    Keep("hauptfenster.png", Grab(*form));

    QTabWidget* pages = PagesOf(*form);
    ASSERT_NE(pages, nullptr);
    pages->setCurrentWidget(form->PaperPage());
    Settle(300);
    Keep("papier.png", Grab(*form));
    pages->setCurrentWidget(form->PrintPage());
    Settle(500);
    Keep("drucken.png", Grab(*form));
    pages->setCurrentIndex(0);
    Settle(100);

    // The viewer shows the picture of the design's texture layer.
    const zb::Design& design = form->Workspace().GetDesign();
    int textureRow = -1;
    for (uint32_t i = 0; i < design.Layers.size() && textureRow < 0; ++i)
        if (design.Layers[i].Kind == zb::kKindTexture) textureRow = int(i);
    ASSERT_GE(textureRow, 0);
    auto* list = form->findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    ASSERT_NE(list, nullptr);
    list->setCurrentItem(list->topLevelItem(textureRow));
    form->ListView1Click();
    QImage viewerShot;
    // The viewer is modal: it is photographed and closed from inside its loop.
    QTimer::singleShot(0, viewer, [&] {
        Settle(400, [&] { return viewer->isVisible() && viewer->windowHandle() && viewer->windowHandle()->isExposed(); });
        viewerShot = Grab(*viewer);
        viewer->reject();
    });
    form->findChild<QAbstractButton*>(QStringLiteral("ShowPicBtn"))->click();
    Keep("betrachter.png", viewerShot);

    form->hide();
}

// The first steps of the manual: the gallery of templates and a template
// opened as a new design.
TEST(ReadmeScreenshots, ShowTheGalleryAndATemplate) {
    zb::TMainForm::Options options;
    options.programFolder = QStringLiteral(ZB_BIN_DIR);
    options.printer = zb::PrinterPage{zb::kFallbackPrintablePage, 600, true, {}};
    options.seed = 20261207;
    options.composeWaitMs = -1;
    auto form = std::make_unique<zb::TMainForm>(options);
    form->resize(kWindowSize);
    form->show();
    Settle(300, [&] { return form->windowHandle() && form->windowHandle()->isExposed(); });

    zb::TemplateGallery gallery(form->TemplateFolders(), {QStringLiteral("Vorlage"), QStringLiteral("Beispiel")},
                                form.get());
    gallery.resize(760, 560);
    gallery.show();
    Settle(300, [&] { return gallery.windowHandle() && gallery.windowHandle()->isExposed(); });
    Keep("vorlagen.png", Grab(gallery));
    gallery.hide();

    // What "Neu aus Vorlage..." does once the question before "Neu" is answered.
    ASSERT_EQ(form->Workspace().OpenAsNew(ZB_SOURCE_DIR "/data/vorlagen/01-weihnachten.zbg"), "");
    Settle(300, [&] { return !form->Workspace().Stale(); });
    ASSERT_FALSE(form->Workspace().Stale());
    Keep("vorlage.png", Grab(*form));
    form->hide();
}

TEST(ReadmeScreenshots, ReadmeShowsEveryPicture) {
    QFile readme(QStringLiteral(ZB_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(readme.readAll());
    QSet<QString> linked;
    const QRegularExpression image(QStringLiteral(R"(!\[[^\]]*\]\(docs/screenshots/([^)]+)\))"));
    for (auto it = image.globalMatch(text); it.hasNext();) linked.insert(it.next().captured(1));
    const QStringList expected = {"hauptfenster.png", "papier.png", "drucken.png", "betrachter.png",
                                  "vorlagen.png",     "vorlage.png"};
    for (const QString& name : expected) {
        EXPECT_TRUE(linked.contains(name)) << "README does not show " << name.toStdString();
        EXPECT_TRUE(QFile::exists(kFolder + '/' + name)) << name.toStdString();
    }
    EXPECT_EQ(linked.size(), expected.size());
}
