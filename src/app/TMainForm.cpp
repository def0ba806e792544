#include "app/TMainForm.h"
#include "app/OutputPages.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QWheelEvent>

#include "app/EditorValues.h"
#include "app/PaintBox.h"
#include "app/Pictures.h"
#include "app/ProjectInfo.h"
#include "app/QtDialogs.h"
#include "app/TAboutBox.h"
#include "app/TImageBtn.h"
#include "app/TPaloColorComboBox.h"
#include "app/TSpinEdit.h"
#include "app/TextureStrip.h"
#include "app/WindowPlacement.h"
#include "app/WindowTitle.h"
#include "base/DibCopy.h"
#include "document/DesignFile.h"
#include "imaging/DrawDib.h"
#include "imaging/PictureImport.h"
#include "imaging/TextureLibrary.h"
#include "model/LayerStack.h"
#include "platform/QtPainterDibDevice.h"
#include "platform/QtPlatform.h"
#include "render/DesignSize.h"
#include "render/DesignViewPaint.h"

namespace zb {

namespace {

QString U(const std::string& s) { return QString::fromStdString(s); }

std::string LocalName(const QString& name) { return QFile::encodeName(name).toStdString(); }

const char* const kDesignFilter = "Zierbogen-Drucker-Dateien (*.zbg);;Alle Dateien (*.*)";
const char* const kLoseUnsaved = "Hiermit gehen alle nicht gespeicherten Informationen verloren.";

} // namespace

TMainForm::TMainForm(Options options, QWidget* parent)
    : QMainWindow(parent), arguments_(options.arguments), dialogs_(options.dialogs),
      design_(std::make_unique<Design>()) {
    setObjectName(QStringLiteral("MainForm"));
    if (!dialogs_) {
        ownDialogs_ = std::make_unique<QtDialogs>();
        dialogs_ = ownDialogs_.get();
    }
    printer_ = options.printer ? *options.printer : DefaultPrinterPage();
    random_.setSeed(options.seed ? *options.seed : RandomInt::SeedFromTimeOfDay());

    // Working pictures, the texture library, the first layer.
    newdib(editPicture_, 320, 200, 24, nullptr, 0);
    const QString folder =
        options.programFolder.isEmpty() ? QString::fromLocal8Bit(platform::ProgramDirectory()) : options.programFolder;
    ReadinTextures(textures_, platform::FindTextureFolder(LocalName(folder)), decoder_,
                   [](size_t, size_t) { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    const std::string added = AddLayer(*design_, textures_);
    design_->CurrentIndex = 0;

    BuildWindow();
    InstallOutputPages(*this);
    SizeTextureStrip();
    ListPlanes();
    Setsavedfilename(QString());
    SetOptionsNow();
    history_.Reset(*design_);
    UpdateUndoButtons();
    if (!added.empty()) Error({}, added);
}

TMainForm::~TMainForm() {
    Timer1->stop();
    ReleaseTextures(textures_);
    design_->ReleaseAll();
    deldib(editPicture_);
}

void TMainForm::PlaceOnScreen() {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QSize wanted = QSize(622, 475).expandedTo(minimumSizeHint());
    const QRect frame = frameGeometry();
    const QSize decoration = frame.size() - geometry().size();
    const QRect area = screen->availableGeometry().adjusted(0, 0, -decoration.width(), -decoration.height());
    setGeometry(PlaceWindow(wanted, area));
}

// ---- state for the other pages ----------------------------------------------

bool TMainForm::DesignValid() const { return compositor_.DesignValid(); }

void TMainForm::Invalidate() { compositor_.Invalidate(); }

int TMainForm::Zoom() const { return int(ZoomEd->Value()); }

int TMainForm::ScreenPpi() const { return PaintBox1->logicalDpiX(); }

void TMainForm::SetPrinter(const PrinterPage& printer) {
    printer_ = printer;
    Invalidate();
    PaintDesign();
}

void TMainForm::SetZoomFromPrintPage(double zoom) {
    if (updating_) return;
    updating_ = true;
    ZoomEd->SetValue(zoom);
    updating_ = false;
    design_->Paper.Zoom = ZoomEd->Value();
    Invalidate();
    PaintDesign();
}

void TMainForm::SetPrintScrollBox(QScrollArea* box) {
    printScrollBox_ = box;
    if (!box) return;
    box->viewport()->installEventFilter(this);
    if (box->widget()) box->widget()->installEventFilter(this);
}

void TMainForm::RecordUndoStep() {
    CommitPendingEdit();
    history_.Record(*design_);
    UpdateUndoButtons();
}

// ---- the design view --------------------------------------------------------

void TMainForm::PaintDesign() {
    const double zoom = ZoomEd->Value();
    const int ppi = ScreenPpi();
    const RasterSize want = DesignRasterSize(design_->Paper, printer_.page, ppi, zoom);
    // The pass that finds the view at the wrong size only resizes it; the
    // second pass composes and draws.
    for (int pass = 0; pass < 2; ++pass) {
        const RasterSize view{PaintBox1->width(), PaintBox1->height()};
        const bool wasValid = compositor_.DesignValid();
        if (!wasValid && view == want) sheet_.BeforeCompose(random_);
        const DesignPaintResult result =
            PaintDesignView(compositor_, view, want, *design_, ppi, zoom, random_, &cachedFonts_);
        if (!wasValid && compositor_.DesignValid()) {
            ++compositions_;
            sheet_.AfterCompose(compositor_.StartSeed());
            ShowSheetNumber();
        }
        if (!result.message.empty()) Error({}, result.message);
        if (!result.resizeView) break;
        PaintBox1->setFixedSize(std::max(0, want.width), std::max(0, want.height));
    }
    PaintBox1->update();
    emit designPainted();
}

void TMainForm::PaintBox1Draw(QPainter& painter, const QRect& exposed) {
    const RasterSize size = compositor_.Size();
    const bool fits = size.width == PaintBox1->width() && size.height == PaintBox1->height();
    if (!compositor_.DesignValid() && !Timer1->isActive()) {
        // Something changed without a paint being asked for: compose once
        // this paint is done, the edit timer has not started.
        QMetaObject::invokeMethod(this, &TMainForm::PaintDesign, Qt::QueuedConnection);
    }
    if (!fits || !compositor_.HoldsComposition()) {
        painter.fillRect(exposed, palette().color(QPalette::Dark));
        return;
    }
    // The device renders only the exposed rows and columns, so scrolling a
    // large design redraws a strip, not the whole raster.
    QtPainterDibDevice device(painter, exposed);
    DrawDib(device, 0, 0, size.width, size.height, compositor_.DesignRaster(), 0, 0, size.width, size.height,
            false, false);
}

void TMainForm::ShowSheetNumber() {
    sheetLabel_->setText(QStringLiteral("Bogen Nr. %1").arg(sheet_.Number()) +
                         (sheet_.Hold() ? QStringLiteral(" (festgehalten)") : QString()));
}

void TMainForm::ZoomEDChange() {
    if (updating_) return;
    Invalidate();
    design_->Paper.Zoom = ZoomEd->Value();
    updating_ = true;
    emit zoomChanged(ZoomEd->Value());
    updating_ = false;
    PaintDesign();
}

void TMainForm::RerollBtnClick() {
    sheet_.Reroll();
    Invalidate();
    PaintDesign();
}

void TMainForm::HoldSheetClick() {
    sheet_.SetHold(HoldSheetBox->isChecked());
    ShowSheetNumber();
}

// ---- wheel and panning --------------------------------------------------------

void TMainForm::ScrollWheel(QScrollArea* box, int notches) {
    if (!box) return;
    QScrollBar* bar = box->verticalScrollBar();
    for (int i = 0; i < std::abs(notches); ++i)
        bar->setValue(WheelScroll({bar->value(), box->widget() ? box->widget()->height() : 0, bar->maximum()},
                                  notches > 0));
}

void TMainForm::wheelEvent(QWheelEvent* event) {
    // One wheel message is 120 units; finer wheels add up to whole messages.
    wheelRemainder_ += event->angleDelta().y();
    const int notches = -(wheelRemainder_ / 120); // turned down: positive
    wheelRemainder_ %= 120;
    event->accept();
    if (notches == 0) return;
    if (event->modifiers() & Qt::ControlModifier) {
        if (PageControl2->currentIndex() == 0) ZoomEd->SetValue(WheelZoom(Zoom(), -notches));
        return;
    }
    if (PageControl2->currentIndex() == 0) ScrollWheel(ScrollBox1, notches);
    else if (PageControl2->currentIndex() == 2) ScrollWheel(printScrollBox_, notches);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    const bool printBox =
        printScrollBox_ && (watched == printScrollBox_->viewport() || watched == printScrollBox_->widget());
    if (event->type() == QEvent::Wheel &&
        (watched == ScrollBox1->viewport() || watched == PaintBox1 || watched == ScrollBox3->viewport() || printBox)) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (watched == ScrollBox3->viewport()) {
            // The strip scrolls sideways a thumbnail per notch.
            QScrollBar* bar = ScrollBox3->horizontalScrollBar();
            bar->setValue(bar->value() - wheel->angleDelta().y() / 120 * kThumbPitch);
            return true;
        }
        wheelEvent(wheel);
        return true;
    }
    if (watched == ScrollBox3->viewport() && event->type() == QEvent::Resize) SizeTextureStrip();
    if (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // A click on a row has loaded it through the selection already; a
        // click into empty space selects the current row again.
        QTimer::singleShot(0, this, [this] {
            if (SelectedRow() < 0) ListView1Click();
        });
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- the layer list -------------------------------------------------------------

void TMainForm::ListPlanes() {
    listing_ = true;
    ListView1->setUpdatesEnabled(false);
    ListView1->clear();
    const QIcon icon = LoadIcon(QString::fromLatin1(pic::kLayerRow));
    for (uint32_t i = 0; i < design_->Layers.Count; ++i) {
        auto* item = new QTreeWidgetItem(ListView1);
        item->setText(0, QString::fromUtf8(LayerKindCaption(design_->Layers[i].Kind).data(),
                                           qsizetype(LayerKindCaption(design_->Layers[i].Kind).size())));
        item->setIcon(0, icon);
    }
    ListView1->setUpdatesEnabled(true);
    if (QTreeWidgetItem* row = ListView1->topLevelItem(design_->CurrentIndex)) {
        ListView1->setCurrentItem(row);
        row->setSelected(true);
    }
    listing_ = false;
}

int TMainForm::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    return selected.isEmpty() ? -1 : ListView1->indexOfTopLevelItem(selected.first());
}

void TMainForm::ListView1Click() {
    const int row = SelectedRow();
    if (row >= 0) {
        CommitPendingEdit();
        design_->CurrentIndex = row;
    } else if (QTreeWidgetItem* item = ListView1->topLevelItem(design_->CurrentIndex)) {
        listing_ = true;
        item->setSelected(true);
        listing_ = false;
    }
    SetOptionsNow();
}

void TMainForm::NewPlaneBtnClick() {
    CommitPendingEdit();
    const std::string message = NewPlane(*design_, textures_);
    ListPlanes();
    Invalidate();
    SetOptionsNow();
    if (!message.empty()) Error({}, message);
    AfterStructureChange();
}

void TMainForm::DelPlaneBtnClick() {
    StackCommand([this] { return DeletePlane(*design_, SelectedRow()); }, true);
}

// The selection follows a moved layer, so the editor's controls stay valid
// and are not reloaded.
void TMainForm::MoveUpBtnClick() {
    StackCommand([this] { return MovePlaneUp(*design_, SelectedRow()); }, false);
}

void TMainForm::MoveDownBtnClick() {
    StackCommand([this] { return MovePlaneDown(*design_, SelectedRow()); }, false);
}

void TMainForm::StackCommand(const std::function<std::string()>& command, bool reloadEditor) {
    CommitPendingEdit();
    const std::string message = command();
    if (!message.empty()) {
        Error({}, message);
        return;
    }
    ListPlanes();
    Invalidate();
    if (reloadEditor)
        SetOptionsNow();
    else
        PaintDesign();
    AfterStructureChange();
}

// ---- the editor -------------------------------------------------------------------

EditorValues TMainForm::CollectEditorValues() const {
    EditorValues v;
    v.page = PageControl1->currentIndex();
    v.trackBar1 = TrackBar1->value();
    v.trackBar2 = TrackBar2->value();
    v.anzMEd = AnzMEd->Value();
    v.mSizeEd = MSizeEd->Value();
    v.picBreitEd = PicBreitEd->Value();
    v.fSizeEd = FSizeEd->Value();
    v.fillCol1 = FillCol1->ColorValue();
    v.fillCol2 = FillCol2->ColorValue();
    v.musterCol = MusterCol->ColorValue();
    v.fColor = FColor->ColorValue();
    v.fillDirection = FillDirection->checkedId();
    v.mTypBox = MTypBox->currentIndex();
    v.mColBox = MColBox->currentIndex();
    v.mSizeBox = MSizeBox->currentIndex();
    v.mPosBox = MPosBox->currentIndex();
    v.filterBox = FilterBox->currentIndex();
    v.fColBox = FColBox->currentIndex();
    v.fSizeKBox = FSizeKBox->currentIndex();
    v.fPosBox = FPosBox->currentIndex();
    v.fKindBox = FKindBox->currentIndex();
    v.textEd = TextEd->text().toStdString();
    v.fontBox = FontBox->currentText().toStdString();
    return v;
}

void TMainForm::SelectFont(const QString& family) {
    int index = FontBox->findText(family);
    if (index < 0 && !family.isEmpty()) {
        // A font this machine lacks stays the layer's choice (the text is then
        // drawn in the platform's stand-in), so a design keeps it when saved.
        FontBox->addItem(family);
        index = FontBox->count() - 1;
    }
    FontBox->setCurrentIndex(index);
}

void TMainForm::ShowEditorValues(const EditorValues& v) {
    if (PageControl1->currentIndex() != v.page) PageControl1->setCurrentIndex(v.page);
    TrackBar1->setValue(v.trackBar1);
    TrackBar2->setValue(v.trackBar2);
    AnzMEd->SetValue(v.anzMEd);
    MSizeEd->SetValue(v.mSizeEd);
    PicBreitEd->SetValue(v.picBreitEd);
    FSizeEd->SetValue(v.fSizeEd);
    FillCol1->SetColorValue(v.fillCol1);
    FillCol2->SetColorValue(v.fillCol2);
    MusterCol->SetColorValue(v.musterCol);
    FColor->SetColorValue(v.fColor);
    if (QAbstractButton* radio = FillDirection->button(v.fillDirection)) radio->setChecked(true);
    MTypBox->setCurrentIndex(v.mTypBox);
    MColBox->setCurrentIndex(v.mColBox);
    MSizeBox->setCurrentIndex(v.mSizeBox);
    MPosBox->setCurrentIndex(v.mPosBox);
    FilterBox->setCurrentIndex(v.filterBox);
    FColBox->setCurrentIndex(v.fColBox);
    FSizeKBox->setCurrentIndex(v.fSizeKBox);
    FPosBox->setCurrentIndex(v.fPosBox);
    FKindBox->setCurrentIndex(v.fKindBox);
    TextEd->setText(QString::fromStdString(v.textEd));
    SelectFont(QString::fromStdString(v.fontBox));
}

void TMainForm::ReadBackOptions() {
    const int32_t index = design_->CurrentIndex;
    if (index >= 0 && index <= int32_t(design_->Layers.Count) - 1) {
        TLayerRecord& layer = *design_->Layers.Select(index);
        const ReadBackResult result = zb::ReadBackOptions(CollectEditorValues(), layer, editPicture_,
                                                          editPictureDiffers_ || !layer.LayerPicture.Bits);
        editPictureDiffers_ = !layer.LayerPicture.Bits;
        if (result.kindChanged) ListPlanes();
        if (!result.message.empty()) Error({}, result.message);
    }
    Invalidate();
    editPending_ = true;
    Timer1->start();
    UpdateUndoButtons();
}

void TMainForm::SetOptionsNow() {
    updating_ = true;
    const int32_t index = design_->CurrentIndex;
    if (index >= 0 && index <= int32_t(design_->Layers.Count) - 1) {
        const TLayerRecord& layer = *design_->Layers.Select(index);
        ShowEditorValues(EditorValuesOf(layer));
        if (layer.LayerPicture.Bits) {
            deldib(editPicture_);
            if (!MakeDIBCopy(layer.LayerPicture, editPicture_)) Error({}, kCopyMemoryMessage);
            editPictureDiffers_ = false;
        } else {
            editPictureDiffers_ = true;
        }
    }
    updating_ = false;
    PaintBox4Paint();
    PaintDesign();
}

void TMainForm::Timer1Timer() {
    Timer1->stop();
    PaintDesign();
    CommitPendingEdit();
}

// ---- undo ---------------------------------------------------------------------------

void TMainForm::CommitPendingEdit() {
    if (!editPending_) return;
    editPending_ = false;
    history_.Record(*design_);
    UpdateUndoButtons();
}

void TMainForm::AfterStructureChange() {
    history_.Record(*design_);
    UpdateUndoButtons();
}

void TMainForm::UpdateUndoButtons() {
    UndoBtn->setEnabled(history_.CanUndo() || editPending_);
    RedoBtn->setEnabled(history_.CanRedo() && !editPending_);
}

void TMainForm::AfterRestore(const std::string& message) {
    Timer1->stop();
    updating_ = true;
    LoadPaperIntoControls();
    updating_ = false;
    ListPlanes();
    Invalidate();
    SetOptionsNow();
    UpdateUndoButtons();
    if (!message.empty()) Error({}, message);
}

void TMainForm::UndoBtnClick() {
    CommitPendingEdit();
    if (!history_.CanUndo()) return;
    AfterRestore(history_.Undo(*design_));
}

void TMainForm::RedoBtnClick() {
    CommitPendingEdit();
    if (!history_.CanRedo()) return;
    AfterRestore(history_.Redo(*design_));
}

void TMainForm::LoadPaperIntoControls() {
    // Under Updating: the zoom field and the paper page take the design's values.
    ZoomEd->SetValue(design_->Paper.Zoom);
    design_->Paper.Zoom = ZoomEd->Value();
    emit zoomChanged(ZoomEd->Value());
    emit designReplaced();
}

// ---- the texture page ---------------------------------------------------------------

void TMainForm::PaintBox3Draw(QPainter& painter, const QRect& exposed) {
    painter.fillRect(exposed, palette().color(QPalette::Dark));
    const int height = PaintBox3->height();
    QtPainterDibDevice device(painter, exposed);
    for (uint32_t i = 0; i < textures_.Count; ++i) {
        const QRect thumb = ThumbnailRect(int(i), height);
        if (!thumb.intersects(exposed)) continue;
        const TDibRecord& t = textures_[i];
        DrawDib(device, thumb.x(), thumb.y(), thumb.width(), thumb.height(), t, 0, 0, DibWidth(t), DibHeight(t),
                false, false);
    }
    if (selectedTexture_ >= 0 && selectedTexture_ < int(textures_.Count)) {
        painter.setPen(QPen(QColor(255, 0, 0), 1));
        painter.setBrush(Qt::NoBrush);
        // The frame covers columns 33 i .. 33 i + 32 and every row.
        painter.drawRect(ThumbnailFrame(selectedTexture_, height).adjusted(0, 0, -1, -1));
    }
}

void TMainForm::SizeTextureStrip() {
    PaintBox3->setFixedSize(TextureStripWidth(int(textures_.Count)), ScrollBox3->viewport()->height());
}

void TMainForm::PaintBox3MouseDown(int x) {
    if (textures_.Count == 0) return;
    selectedTexture_ = TextureAt(x, int(textures_.Count));
    PaintBox3->update();
}

void TMainForm::PaintBox3DblClick() {
    if (textures_.Count == 0) return;
    deldib(editPicture_);
    if (!MakeDIBCopy(textures_[uint32_t(selectedTexture_)], editPicture_)) Error({}, kCopyMemoryMessage);
    editPictureDiffers_ = true;
    ReadBackOptions();
    PaintBox4Paint();
}

void TMainForm::PaintBox4Paint() {
    // A new size first: the resized box paints again, and that paint draws.
    const QSize size(std::max(0, DibWidth(editPicture_)), std::max(0, DibHeight(editPicture_)));
    if (PaintBox4->size() != size) {
        PaintBox4->setFixedSize(size);
        return;
    }
    PaintBox4->update();
}

void TMainForm::PaintBox4Draw(QPainter& painter, const QRect& exposed) {
    const QSize size(DibWidth(editPicture_), DibHeight(editPicture_));
    if (PaintBox4->size() != size || !editPicture_.Bits) {
        painter.fillRect(exposed, palette().color(QPalette::Dark));
        return;
    }
    QtPainterDibDevice device(painter, exposed);
    DrawDib(device, 0, 0, size.width(), size.height(), editPicture_, 0, 0, size.width(), size.height(), false,
            false);
}

void TMainForm::OpenPicBtnClick() {
    const QString name = dialogs_->OpenFileName(this, QString::fromUtf8("Grafik öffnen"),
                                                U(GetDIBOpenFilter(decoder_)), DialogFolder());
    if (name.isEmpty()) return;
    TDibRecord picture{};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = OpenPicture24(picture, LocalName(name), decoder_);
    QApplication::restoreOverrideCursor();
    if (!ok) {
        Error(QStringLiteral("Fehler beim Laden (") + name + QStringLiteral(")"), DibMessage(picture));
        return;
    }
    deldib(editPicture_);
    editPicture_ = picture;
    editPictureDiffers_ = true;
    PaintBox4Paint();
    if (!updating_) ReadBackOptions();
}

void TMainForm::ShowPicBtnClick() {
    if (pictureViewer_) pictureViewer_(editPicture_);
}

// ---- files ----------------------------------------------------------------------------

void TMainForm::Setsavedfilename(const QString& name) {
    savedfilename_ = name;
    setWindowTitle(WindowTitle(name));
}

QString TMainForm::DialogFolder() const {
    if (!savedfilename_.isEmpty()) return QFileInfo(savedfilename_).absolutePath();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

void TMainForm::NewMenuBtnClick() {
    if (!dialogs_->Confirm(this, QStringLiteral("Datei/Neu"), QString::fromUtf8(kLoseUnsaved))) return;
    Timer1->stop();
    editPending_ = false;
    KeepBottomLayer(*design_);
    design_->CurrentIndex = 0;
    Invalidate();
    ListPlanes();
    SetOptionsNow();
    Setsavedfilename(QString());
    history_.Reset(*design_);
    UpdateUndoButtons();
}

void TMainForm::OpenBtnClick() {
    if (!dialogs_->Confirm(this, QString::fromUtf8("Datei/Öffnen"), QString::fromUtf8(kLoseUnsaved))) return;
    const QString name =
        dialogs_->OpenFileName(this, QString::fromUtf8("Öffnen"), QString::fromUtf8(kDesignFilter), DialogFolder());
    if (name.isEmpty()) return;
    openfile(name);
}

bool TMainForm::openfile(const QString& name) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const FileResult result = zb::openfile(LocalName(name), design_);
    QApplication::restoreOverrideCursor();
    if (!result) {
        Error({}, result.Message);
        return false;
    }
    Timer1->stop();
    editPending_ = false;
    updating_ = true;
    LoadPaperIntoControls();
    updating_ = false;
    design_->CurrentIndex = int32_t(design_->Layers.Count) - 1;
    ListPlanes();
    Invalidate();
    SetOptionsNow();
    Setsavedfilename(QFileInfo(name).absoluteFilePath());
    history_.Reset(*design_);
    UpdateUndoButtons();
    return true;
}

void TMainForm::SaveBtnClick() {
    if (!savedfilename_.isEmpty()) savefile(savedfilename_);
    else SaveAsBtnClick();
}

void TMainForm::SaveAsBtnClick() {
    const QString name = dialogs_->SaveFileName(this, QStringLiteral("Speichern unter"),
                                                QString::fromUtf8(kDesignFilter), QStringLiteral("zbg"),
                                                DialogFolder());
    if (name.isEmpty()) return;
    savefile(name);
}

bool TMainForm::savefile(const QString& name) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const FileResult result = zb::savefile(*design_, LocalName(name));
    QApplication::restoreOverrideCursor();
    if (!result) {
        Error({}, result.Message);
        return false;
    }
    Setsavedfilename(QFileInfo(name).absoluteFilePath());
    return true;
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!firstShow_) return;
    firstShow_ = false;
    if (!arguments_.isEmpty()) openfile(arguments_.first());
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (dialogs_->Confirm(this, QStringLiteral("Programm beenden"),
                          QStringLiteral("Hiermit beenden Sie das Programm! Alle nicht gespeicherten Daten "
                                         "gehen verloren!"))) {
        Timer1->stop();
        event->accept();
    } else {
        event->ignore();
    }
}

// ---- bottom strip -------------------------------------------------------------------

void TMainForm::EndeBtnClick() { close(); }

void TMainForm::ueberbtnClick() {
    TAboutBox box(this);
    box.exec();
}

void TMainForm::wwwBtnClick() { QDesktopServices::openUrl(QUrl(QString::fromUtf8(kProjectWebAddress))); }

void TMainForm::Error(const QString& caption, const std::string& message) {
    dialogs_->Error(this, caption, U(message));
}

} // namespace zb
