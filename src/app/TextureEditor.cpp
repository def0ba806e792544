#include "app/TextureEditor.h"

#include <utility>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "app/DialogProvider.h"
#include "app/FormControls.h"
#include "app/Pictures.h"
#include "app/TSpinEdit.h"
#include "app/TextureStrip.h"
#include "imaging/DrawDib.h"
#include "imaging/PictureImport.h"
#include "model/SpinField.h"
#include "platform/QtPainterDibDevice.h"
#include "viewer/DevicePixelScope.h"
#include "viewer/PaintBox.h"
#include "workspace/DesignWorkspace.h"

namespace zb {

TextureEditor::TextureEditor(DesignWorkspace& workspace, DialogProvider& dialogs, const PictureDecoder& decoder,
                             DialogFolders& folders, std::function<QString()> designFile, QWidget* parent)
    : LayerEditor(parent), workspace_(workspace), dialogs_(dialogs), decoder_(decoder),
      folders_(folders), designFile_(std::move(designFile)) {
    setObjectName(QStringLiteral("TexturSheet"));
    // A picture dropped here is taken as an opened one.
    setAcceptDrops(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("Panel5"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    OpenPicBtn = Control(new QPushButton(QString::fromUtf8("Grafik öffnen...")), "OpenPicBtn");
    OpenPicBtn->setIcon(LoadIcon(QString::fromLatin1(pic::kOeffnen)));
    ShowPicBtn = Control(new QPushButton(QStringLiteral("Grafik anzeigen...")), "ShowPicBtn");
    PicBreitEd = Control(new TSpinEdit(kPicBreitEd, 1), "PicBreitEd");
    row->addWidget(OpenPicBtn);
    row->addWidget(ShowPicBtn);
    row->addStretch(1);
    row->addWidget(LabelFor("Breite der Grafik:", PicBreitEd));
    row->addWidget(PicBreitEd);
    row->addWidget(new QLabel(QStringLiteral("mm")));
    column->addWidget(panel);

    ScrollBox4 = WorkspaceScrollBox("ScrollBox4");
    Named(ScrollBox4, "Grafik");
    PaintBox4 = Control(new PaintBox(nullptr, PaintBox::Fill::ByOwner), "PaintBox4", "Grafik");
    ScrollBox4->setWidget(PaintBox4);
    column->addWidget(ScrollBox4, 1);

    ScrollBox3 = WorkspaceScrollBox("ScrollBox3");
    Named(ScrollBox3, "Texturen");
    ScrollBox3->setFixedHeight(52);
    ScrollBox3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox3->horizontalScrollBar()->setSingleStep(kThumbPitch);
    ScrollBox3->viewport()->installEventFilter(this);
    PaintBox3 = Control(new PaintBox(nullptr, PaintBox::Fill::ByOwner), "PaintBox3", "Texturen");
    PaintBox3->setToolTip(QString::fromUtf8("Doppelklick übernimmt die Textur"));
    ScrollBox3->setWidget(PaintBox3);
    column->addWidget(ScrollBox3);

    PaintBox4->onPaint = [this](QPainter& p, const QRect& r) { PaintBox4Draw(p, r); };
    PaintBox3->onPaint = [this](QPainter& p, const QRect& r) { PaintBox3Draw(p, r); };
    PaintBox3->onMousePress = [this](QMouseEvent* e) { PaintBox3MouseDown(int(e->position().x())); };
    PaintBox3->onDoubleClick = [this](QMouseEvent*) { PaintBox3DblClick(); };
    connect(OpenPicBtn, &QPushButton::clicked, this, &TextureEditor::OpenPicBtnClick);
    connect(ShowPicBtn, &QPushButton::clicked, this, &TextureEditor::ShowPicBtnClick);
    Watch(PicBreitEd);
    SizeTextureStrip();
}

void TextureEditor::LoadControls(const TLayerRecord& layer) { PicBreitEd->SetValue(layer.PictureWidthMM); }

// The picture itself goes to the layer through the workspace, which copies it
// only when it differs.
void TextureEditor::store(TLayerRecord& layer) const { layer.PictureWidthMM = PicBreitEd->Value(); }

bool TextureEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ScrollBox3->viewport()) {
        if (event->type() == QEvent::Wheel) {
            // The strip scrolls sideways a thumbnail per notch.
            QScrollBar* bar = ScrollBox3->horizontalScrollBar();
            bar->setValue(bar->value() - static_cast<QWheelEvent*>(event)->angleDelta().y() / 120 * kThumbPitch);
            return true;
        }
        if (event->type() == QEvent::Resize) SizeTextureStrip();
    }
    return LayerEditor::eventFilter(watched, event);
}

// ---- the strip ------------------------------------------------------------------

void TextureEditor::SizeTextureStrip() {
    PaintBox3->setFixedSize(TextureStripWidth(int(workspace_.Textures().size())), ScrollBox3->viewport()->height());
}

void TextureEditor::PaintBox3Draw(QPainter& painter, const QRect& exposed) {
    painter.fillRect(exposed, palette().color(QPalette::Dark));
    const int height = PaintBox3->height();
    const std::vector<DibPicture>& textures = workspace_.Textures();
    {
        // Thumbnails are scaled down into the screen's own pixels.
        DevicePixelScope pixels(painter, PaintBox3, exposed);
        QtPainterDibDevice device(painter, pixels.Exposed());
        for (size_t i = 0; i < textures.size(); ++i) {
            const QRect thumb = ThumbnailRect(int(i), height);
            if (!thumb.intersects(exposed)) continue;
            const PixelRect d = DeviceRect({thumb.x(), thumb.y(), thumb.width(), thumb.height()}, pixels.Ratio());
            const TDibRecord& t = textures[i];
            DrawDib(device, d.x, d.y, d.width, d.height, t, 0, 0, DibWidth(t), DibHeight(t), false, false);
        }
        stripFailures_.After(device.Failure());
    }
    if (selectedTexture_ >= 0 && selectedTexture_ < int(textures.size())) {
        painter.setPen(QPen(QColor(255, 0, 0), 1));
        painter.setBrush(Qt::NoBrush);
        // The frame covers columns 33 i .. 33 i + 32 and every row.
        painter.drawRect(ThumbnailFrame(selectedTexture_, height).adjusted(0, 0, -1, -1));
    }
}

void TextureEditor::PaintBox3MouseDown(int x) {
    const int count = int(workspace_.Textures().size());
    if (count == 0) return;
    selectedTexture_ = TextureAt(x, count);
    PaintBox3->update();
}

void TextureEditor::PaintBox3DblClick() {
    if (workspace_.Textures().empty()) return;
    const std::string message = workspace_.TakeTexture(selectedTexture_);
    if (!message.empty()) dialogs_.Error(window(), {}, QString::fromStdString(message));
    emit changed();
}

// ---- the picture ----------------------------------------------------------------

void TextureEditor::PaintBox4Paint() {
    // A new size first: the resized box paints again, and that paint draws.
    const TDibRecord& picture = workspace_.EditPicture();
    const QSize size = SurfaceSizeFor({DibWidth(picture), DibHeight(picture)}, PaintBox4);
    if (PaintBox4->size() != size) {
        PaintBox4->setFixedSize(size);
        return;
    }
    PaintBox4->update();
}

void TextureEditor::PaintBox4Draw(QPainter& painter, const QRect& exposed) {
    const TDibRecord& picture = workspace_.EditPicture();
    const int w = DibWidth(picture), h = DibHeight(picture);
    if (PaintBox4->size() != SurfaceSizeFor({w, h}, PaintBox4) || !picture.Bits) {
        painter.fillRect(exposed, palette().color(QPalette::Dark));
        return;
    }
    // One pixel of the picture to one pixel of the screen.
    DevicePixelScope pixels(painter, PaintBox4, exposed);
    QtPainterDibDevice device(painter, pixels.Exposed());
    DrawDib(device, 0, 0, w, h, picture, 0, 0, w, h, false, false);
    pictureFailures_.After(device.Failure());
}

void TextureEditor::ShowError(const QString& message) { dialogs_.Error(window(), QString(), message); }

void TextureEditor::OpenPicBtnClick() {
    const QString name = dialogs_.OpenFileName(window(), QString::fromUtf8("Grafik öffnen"),
                                               QString::fromStdString(GetDIBOpenFilter(decoder_)),
                                               folders_.For(FileKind::Picture, designFile_()));
    if (name.isEmpty()) return;
    folders_.Remember(FileKind::Picture, name);
    TakePictureFile(name);
}

bool TextureEditor::ReadPictureFile(const QString& name, DibPicture& picture) const {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = OpenPicture24(picture, QFile::encodeName(name).toStdString(), decoder_);
    QApplication::restoreOverrideCursor();
    if (!ok)
        dialogs_.Error(window(), QStringLiteral("Fehler beim Laden (") + name + QStringLiteral(")"),
                       QString::fromStdString(DibMessage(picture)));
    return ok;
}

bool TextureEditor::TakePictureFile(const QString& name) {
    DibPicture picture;
    if (!ReadPictureFile(name, picture)) return false;
    workspace_.TakePicture(std::move(picture));
    Edited();
    return true;
}

bool TextureEditor::ReadImage(const QImage& image, DibPicture& picture) const {
    // Through a file, so a pasted picture is read exactly as an opened one.
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Zwischenablage.png"));
    if (!folder.isValid() || !image.save(file, "PNG")) {
        dialogs_.Error(window(), QString(),
                       QString::fromUtf8("Die Grafik der Zwischenablage lässt sich nicht übernehmen."));
        return false;
    }
    return ReadPictureFile(file, picture);
}

QString TextureEditor::DroppedPicture(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().isEmpty()) return {};
    const QUrl url = data->urls().first();
    // A design dropped here is the window's to open.
    if (!url.isLocalFile() || url.toLocalFile().endsWith(QStringLiteral(".zbg"), Qt::CaseInsensitive)) return {};
    return url.toLocalFile();
}

void TextureEditor::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedPicture(event->mimeData()).isEmpty()) event->acceptProposedAction();
    else event->ignore();
}

void TextureEditor::dropEvent(QDropEvent* event) {
    const QString file = DroppedPicture(event->mimeData());
    if (file.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    TakePictureFile(file);
}

void TextureEditor::ShowPicBtnClick() {
    if (pictureViewer_) pictureViewer_(workspace_.EditPicture());
}

} // namespace zb
