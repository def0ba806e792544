#include "app/TemplateGallery.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <memory>

#include "document/DesignFile.h"
#include "platform/QtFontEngine.h"
#include "render/DesignPreview.h"

namespace zb {

namespace {

// A sheet of the design as a picture, or a grey square when it cannot be read.
QPixmap Picture(const QString& file, FontEngine& fonts, qreal ratio) {
    const int side = int(TemplateGallery::kPictureSize * ratio);
    std::unique_ptr<Design> design;
    Compositor compositor;
    // A design for the whole page shows on an A4 page at 600 dpi.
    const PrintablePage a4{4760, 6779, 600, 600};
    if (openfile(QFile::encodeName(file).toStdString(), design) &&
        ComposePreview(*design, a4, 96, side, side, 1, &fonts, compositor).empty()) {
        const RasterView v = compositor.DesignView();
        QImage image(v.width, v.height, QImage::Format_RGB888);
        for (int y = 0; y < v.height; ++y) {
            uchar* out = image.scanLine(y);
            for (int x = 0; x < v.width; ++x) {
                const uint8_t* p = v.pixel(x, y);
                out[3 * x] = p[2];
                out[3 * x + 1] = p[1];
                out[3 * x + 2] = p[0];
            }
        }
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setDevicePixelRatio(ratio);
        return pixmap;
    }
    QPixmap grey(side, side);
    grey.fill(Qt::lightGray);
    grey.setDevicePixelRatio(ratio);
    return grey;
}

} // namespace

QString TemplateTitle(const QString& fileName) {
    QString title = QFileInfo(fileName).completeBaseName();
    title.remove(QRegularExpression(QStringLiteral("^[0-9]+-")));
    title.replace(QLatin1Char('-'), QLatin1Char(' '));
    if (!title.isEmpty()) title[0] = title[0].toUpper();
    return title;
}

TemplateGallery::TemplateGallery(const QStringList& folders, const QStringList& labels, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TemplateGallery"));
    setWindowTitle(QStringLiteral("Neu aus Vorlage"));
    TemplateList = new QListWidget;
    TemplateList->setObjectName(QStringLiteral("TemplateList"));
    TemplateList->setViewMode(QListView::IconMode);
    TemplateList->setIconSize(QSize(kPictureSize, kPictureSize));
    TemplateList->setGridSize(QSize(kPictureSize + 30, kPictureSize + 40));
    TemplateList->setResizeMode(QListView::Adjust);
    TemplateList->setMovement(QListView::Static);
    TemplateList->setWordWrap(true);
    TemplateList->setMinimumSize(4 * (kPictureSize + 30) + 30, 2 * (kPictureSize + 40) + 10);

    platform::QtFontEngine fonts;
    const qreal ratio = devicePixelRatioF();
    for (int f = 0; f < folders.size(); ++f) {
        const QFileInfoList files =
            QDir(folders[f]).entryInfoList({QStringLiteral("*.zbg")}, QDir::Files, QDir::Name);
        for (const QFileInfo& file : files) {
            auto* item = new QListWidgetItem(QIcon(Picture(file.absoluteFilePath(), fonts, ratio)),
                                             TemplateTitle(file.fileName()), TemplateList);
            item->setData(Qt::UserRole, file.absoluteFilePath());
            item->setToolTip(labels.value(f) + QStringLiteral(": ") + file.fileName());
        }
    }
    if (TemplateList->count() > 0) TemplateList->setCurrentRow(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Open)->setText(QString::fromUtf8("Öffnen"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    buttons->button(QDialogButtonBox::Open)->setEnabled(TemplateList->count() > 0);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(TemplateList, &QListWidget::itemActivated, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(QString::fromUtf8(
        "Wählen Sie eine Vorlage: sie wird als neuer, noch unbenannter Entwurf geöffnet."));
    hint->setWordWrap(true);
    layout->addWidget(hint);
    if (TemplateList->count() == 0) {
        auto* missing = new QLabel(QString::fromUtf8("Keine Vorlagen gefunden in: ") + folders.join(QStringLiteral(", ")));
        missing->setObjectName(QStringLiteral("TemplatesMissing"));
        missing->setWordWrap(true);
        layout->addWidget(missing);
    }
    layout->addWidget(TemplateList, 1);
    layout->addWidget(buttons);
}

QString TemplateGallery::Chosen() const {
    const QListWidgetItem* item = TemplateList->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

int TemplateGallery::Count() const { return TemplateList->count(); }

} // namespace zb
