#pragma once
// The page "Textur/Grafik": the picture a texture layer tiles, its width on
// paper, and the strip of textures to take one from.
//
// The picture shown is the workspace's working picture; the strip shows the
// workspace's texture library. Taking a texture or opening a picture goes to
// the workspace, and the page then says changed() so the window stores it.
// The page borrows the workspace, the dialogs and the decoder; they outlive it.
#include <QString>
#include <functional>

#include "app/DialogFolders.h"
#include "app/DrawFailureNotice.h"
#include "app/LayerEditor.h"

class QPainter;
class QPushButton;
class QScrollArea;

class QImage;
class QMimeData;

namespace zb {

class DesignWorkspace;
class DialogProvider;
class PaintBox;
class PictureDecoder;

class TextureEditor : public LayerEditor {
    Q_OBJECT
public:
    // `folders`: where the picture dialog opens, and where pictures were chosen (borrowed).
    TextureEditor(DesignWorkspace& workspace, DialogProvider& dialogs, const PictureDecoder& decoder,
                  DialogFolders& folders, std::function<QString()> designFile, QWidget* parent = nullptr);
    void store(TLayerRecord& layer) const override;

    // "Grafik anzeigen...": shows the working picture; set by the viewer.
    void SetPictureViewer(std::function<void(const TDibRecord&)> viewer) { pictureViewer_ = std::move(viewer); }
    // Follows a new working picture: the preview takes its size and repaints.
    void PaintBox4Paint();
    // The strip's marked texture.
    int SelectedTexture() const { return selectedTexture_; }
    // A press at x marks a texture; a double click takes the marked one.
    void PaintBox3MouseDown(int x);
    void PaintBox3DblClick();
    void OpenPicBtnClick();
    // Reads a picture file as "Grafik öffnen..." does and takes it; false
    // (said) on failure.
    bool TakePictureFile(const QString& name);
    // Reads a picture of the clipboard as an opened one is read; false (said)
    // on failure.
    bool ReadImage(const QImage& image, DibPicture& picture) const;
    void ShowPicBtnClick();

protected:
    void LoadControls(const TLayerRecord& layer) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The local picture file a drop carries, or empty.
    static QString DroppedPicture(const QMimeData* data);
    bool ReadPictureFile(const QString& name, DibPicture& picture) const;
    void SizeTextureStrip();
    void PaintBox3Draw(QPainter& painter, const QRect& exposed);
    void PaintBox4Draw(QPainter& painter, const QRect& exposed);

    DesignWorkspace& workspace_;
    DialogProvider& dialogs_;
    // Drawing failures of the strip and the picture, each said once.
    void ShowError(const QString& message);
    DrawFailureNotice stripFailures_{[this](const QString& m) {
        QMetaObject::invokeMethod(this, [this, m] { ShowError(m); }, Qt::QueuedConnection);
    }};
    DrawFailureNotice pictureFailures_{[this](const QString& m) {
        QMetaObject::invokeMethod(this, [this, m] { ShowError(m); }, Qt::QueuedConnection);
    }};
    const PictureDecoder& decoder_;
    DialogFolders& folders_;
    std::function<QString()> designFile_;
    std::function<void(const TDibRecord&)> pictureViewer_;
    int selectedTexture_ = 0;

    QPushButton* OpenPicBtn = nullptr;
    QPushButton* ShowPicBtn = nullptr;
    TSpinEdit* PicBreitEd = nullptr;
    QScrollArea* ScrollBox4 = nullptr;
    PaintBox* PaintBox4 = nullptr;
    QScrollArea* ScrollBox3 = nullptr;
    PaintBox* PaintBox3 = nullptr;
};

} // namespace zb
