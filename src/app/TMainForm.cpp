#include "app/TMainForm.h"
#include "app/OutputPages.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QToolButton>
#include <QComboBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QStatusBar>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QTabBar>
#include <QWheelEvent>
#include <QWindow>

#include "app/DesignKeyFilter.h"
#include "app/DesignView.h"
#include "app/MainActions.h"
#include "app/TPrintPage.h"
#include "app/LayerEditor.h"
#include "app/PictureViewerLink.h"
#include "app/Pictures.h"
#include "app/ProjectInfo.h"
#include "app/QtDialogs.h"
#include "app/DocumentCommands.h"
#include "app/HelpWindow.h"
#include "app/ScopedFlag.h"
#include "app/TAboutBox.h"
#include "app/TImageBtn.h"
#include "app/TLayerList.h"
#include "app/TemplateGallery.h"
#include "app/TSpinEdit.h"
#include "app/TextureEditor.h"
#include "app/WindowMemory.h"
#include "app/WindowPlacement.h"
#include "app/WindowTitle.h"
#include "imaging/TextureLibrary.h"
#include "model/Cp1252.h"
#include "platform/FileNames.h"
#include "platform/QtPlatform.h"
#include "render/PageGeometry.h"
#include "viewer/PaintBox.h"
#include "viewer/ScrollAreaNavigation.h"
#include "workspace/EditorFields.h"

namespace zb {

namespace {

QString U(const std::string& s) { return QString::fromStdString(s); }

std::string LocalName(const QString& name) { return QFile::encodeName(name).toStdString(); }

} // namespace

TMainForm::TMainForm(Options options, QWidget* parent)
    : QMainWindow(parent), options_(options), arguments_(options.arguments), dialogs_(options.dialogs),
      composeWaitMs_(options.composeWaitMs) {
    setObjectName(QStringLiteral("MainForm"));
    setAcceptDrops(true);
    if (!dialogs_) {
        ownDialogs_ = std::make_unique<QtDialogs>();
        dialogs_ = ownDialogs_.get();
    }
    // The family list is read once here, before any text layer is composed
    // on the composing thread.
    fonts_.Families();
    // Without a page given, the printer's page comes from the print service
    // in the background (InstallOutputPagesOnceThePrinterAnswers).
    const PrinterPage printer = options.printer ? *options.printer : FallbackPrinterPage();
    workspace_ = std::make_unique<DesignWorkspace>(options.seed ? *options.seed : RandomInt::SeedFromTimeOfDay(),
                                                   PrinterFacts{printer.page, printer.fallback}, &cachedFonts_);

    const QString folder =
        options.programFolder.isEmpty() ? QString::fromLocal8Bit(platform::ProgramDirectory()) : options.programFolder;
    programFolder_ = LocalName(folder);
    ReadinTextures(workspace_->Textures(), platform::FindTextureFolder(programFolder_), decoder_,
                   [](size_t, size_t) { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    startMessage_ = workspace_->Start();

    BuildWindow();
    new DesignKeyFilter(*this, *actions_);
    if (options.printer) InstallOutputPages(*this);
    workspace_->SetListener([this](unsigned changes) { WorkspaceChanged(changes); });
    auto keepWheels = [this] {
        for (QWidget* w : findChildren<QWidget*>())
            if (TakesNoWheel(w) || qobject_cast<QTabBar*>(w)) w->installEventFilter(this);
    };
    keepWheels();
    workspace_->SetSheetFinished(
        [this] { QMetaObject::invokeMethod(view_, &DesignView::SheetFinished, Qt::QueuedConnection); });
    ListPlanes();
    setWindowTitle(WindowTitle(QString()) + QStringLiteral("[*]"));
    SetOptionsNow();
    UpdateUndoButtons();
    BuildDocumentCommands(options.autosaveMs);
    if (!options.printer) InstallOutputPagesOnceThePrinterAnswers(*this, keepWheels);
}

TMainForm::~TMainForm() {
    Timer1->stop();
    // No finished sheet may be announced to a window that is going away.
    workspace_->SetSheetFinished({});
    workspace_->CancelComposing();
    workspace_->SetListener({});
}

void TMainForm::PlaceOnScreen() {
    const WindowMemory::State state = WindowMemory::Load(folders_);
    PageControl2->setCurrentIndex(std::clamp(state.page, 0, PageControl2->count() - 1));
    PlaceBeforeShowing(*this, !state.geometry.isEmpty() && restoreGeometry(state.geometry));
    fitWhenFramed_ = true;
}

// ---- following the workspace ------------------------------------------------

void TMainForm::WorkspaceChanged(unsigned c) {
    if (c & kChangeDesign) Timer1->stop();
    if (c & kChangeZoom && ZoomEd->Value() != workspace_->Zoom()) {
        ScopedFlag guard(loading_);
        ZoomEd->SetValue(workspace_->Zoom());
    }
    if (c & kChangeLayers) {
        ListPlanes();
        // A moved layer may have become the bottom one, or stopped being it.
        ShowTransparencyUse();
    }
    if (c & kChangeSelection) LoadEditor();
    if (c & kChangeEditPicture) textureEditor_->PaintBox4Paint();
    if (c & (kChangeHistory | kChangeDocument)) {
        UpdateUndoButtons();
        // The described title, marked while there are unsaved changes.
        setWindowTitle(WindowTitle(SavedFileName()) + QStringLiteral("[*]"));
        setWindowModified(workspace_->Modified());
        if (documents_) documents_->DocumentChanged();
    }
    if (c & kChangeSheet) {
        ShowSheetNumber();
        if (!(c & kChangeLayers)) ShowThumbnails();
    }
    // A stale sheet is composed by whatever paints it next; the repeat shown
    // follows the paper's repeat mode.
    if (c & (kChangeStale | kChangePaper)) PaintBox1->update();
    if ((c & ~unsigned(kChangeSheet)) && view_) view_->ShowSeamHints(SeamHintLabel);
    emit workspaceChanged(c);
}

int TMainForm::ScreenPpi() const { return view_->ScreenPpi(); }

QString TMainForm::SavedFileName() const {
    const std::string& name = workspace_->FileName();
    return name.empty() ? QString() : QFileInfo(QFile::decodeName(QByteArray::fromStdString(name))).absoluteFilePath();
}

void TMainForm::SetPictureViewer(std::function<void(const TDibRecord&)> viewer) {
    textureEditor_->SetPictureViewer(std::move(viewer));
}

void TMainForm::SetPrintScrollBox(QScrollArea* box) {
    printScrollBox_ = box;
    if (!box) return;
    box->viewport()->installEventFilter(this);
    if (box->widget()) box->widget()->installEventFilter(this);
}

// ---- the design view --------------------------------------------------------

void TMainForm::PaintDesign() { view_->Paint(); }

std::string TMainForm::ComposeSheet() { return view_->Compose(DesignView::Coverage::WholeSheet); }

void TMainForm::ShowSheetNumber() {
    const SheetSeed& seed = workspace_->Seed();
    sheetLabel_->setText(SheetCaption(seed.Number(), seed.Hold()));
    sheetLabel_->setToolTip(SheetCommandHint(seed.Number(), workspace_->Zoom(), ScreenPpi()));
}

void TMainForm::ZoomEDChange() {
    if (loading_) return;
    workspace_->SetZoom(ZoomEd->Value());
    PaintDesign();
}

void TMainForm::RerollBtnClick() {
    workspace_->Reroll();
    PaintDesign();
}

void TMainForm::HoldSheetClick() { workspace_->SetHold(HoldSheetBox->isChecked()); }

void TMainForm::StepZoomClick(int steps) { ZoomEd->SetValue(navigation_.StepZoom(int(ZoomEd->Value()), steps)); }

void TMainForm::ActualSizeClick() { ZoomEd->SetValue(kActualSize); }

void TMainForm::WholePageClick() {
    if (PageControl2->currentWidget() == tabSheet3_) {
        if (auto* page = tabSheet3_->findChild<TPrintPage*>()) page->WholePageBtnClick();
        return;
    }
    // In whole device pixels, as the sheet is composed.
    const QSize box = ScrollBox1->viewport()->size() * PaintBox1->devicePixelRatioF();
    ZoomEd->SetValue(WholePageZoom(workspace_->Paper(), workspace_->Printer().page, ScreenPpi(), box.width(),
                                   box.height(), int(kZoomEd.Min), int(kZoomEd.Max), true));
}

// ---- wheel and panning --------------------------------------------------------

bool TMainForm::TakesNoWheel(const QObject* o) {
    return qobject_cast<const QAbstractSpinBox*>(o) || qobject_cast<const QComboBox*>(o) ||
           (qobject_cast<const QAbstractSlider*>(o) && !qobject_cast<const QScrollBar*>(o));
}

void TMainForm::wheelEvent(QWheelEvent* event) {
    // Finer wheels add up to whole notches.
    const int notches = navigation_.Wheel(event->angleDelta().y());
    event->accept();
    const int page = PageControl2->currentIndex();
    QScrollArea* box = page == 0 ? ScrollBox1 : page == 2 ? printScrollBox_.data() : nullptr;
    if (notches == 0 || !box) return;
    if (!(event->modifiers() & Qt::ControlModifier)) return WheelScrollArea(box, notches);
    // Zooms the design view and the print preview (their zoom is one) about
    // the pointer: the point under it stays put.
    ZoomScrollAreaAbout(box, box->viewport()->mapFromGlobal(event->globalPosition().toPoint()),
                        [&] { ZoomEd->SetValue(navigation_.StepZoom(int(ZoomEd->Value()), notches)); });
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    const bool printBox =
        printScrollBox_ && (watched == printScrollBox_->viewport() || watched == printScrollBox_->widget());
    if (event->type() == QEvent::Wheel && (watched == ScrollBox1->viewport() || watched == PaintBox1 || printBox)) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    // Fields never take the wheel: it scrolls the page's view (or, with
    // Ctrl, zooms the design view) as everywhere else in the window.
    if (event->type() == QEvent::Wheel && TakesNoWheel(watched)) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    // Tabs ignore the wheel: over the layer editor's it would change the
    // layer's kind unnoticed, over the pages' switch pages.
    if (event->type() == QEvent::Wheel && qobject_cast<QTabBar*>(watched)) return true;
    if (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // Every click loads the selected layer into the editor again and
        // paints, on the row already selected too; a click into empty space
        // selects the current row again.
        QTimer::singleShot(0, this, &TMainForm::ListView1Click);
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- the layer list -------------------------------------------------------------

void TMainForm::ListPlanes() {
    listing_ = true;
    ListView1->SetFilling(true);
    ListView1->setUpdatesEnabled(false);
    ListView1->clear();
    const QIcon icon = LoadIcon(QString::fromLatin1(pic::kLayerRow));
    const Design& design = workspace_->GetDesign();
    for (uint32_t i = 0; i < design.Layers.size(); ++i) {
        const TLayerRecord& layer = design.Layers[i];
        ListView1->AddRow(QString::fromStdString(Cp1252ToUtf8(LayerDisplayName(layer))), layer.Visible, icon);
    }
    ShowThumbnails();
    ListView1->setUpdatesEnabled(true);
    if (QTreeWidgetItem* row = ListView1->topLevelItem(workspace_->CurrentIndex())) {
        ListView1->setCurrentItem(row);
        row->setSelected(true);
    }
    ListView1->SetFilling(false);
    listing_ = false;
}

void TMainForm::ShowThumbnails() {
    const std::vector<LayerThumbnail>& thumbnails = workspace_->Sheet().Thumbnails();
    if (int(thumbnails.size()) != ListView1->topLevelItemCount()) return;
    ScopedFlag guard(listing_);
    const bool filling = ListView1->Filling();
    ListView1->SetFilling(true);
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        const LayerThumbnail& t = thumbnails[size_t(i)];
        if (t.empty()) continue;
        const QImage image(t.rgb.data(), t.width, t.height, t.width * 3, QImage::Format_RGB888);
        ListView1->topLevelItem(i)->setIcon(0, QIcon(QPixmap::fromImage(image)));
    }
    ListView1->SetFilling(filling);
}

void TMainForm::DuplicateLayerClick() { RunCommand(workspace_->DuplicateLayer(SelectedRow())); }

int TMainForm::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    return selected.isEmpty() ? -1 : ListView1->indexOfTopLevelItem(selected.first());
}

void TMainForm::ListView1Click() {
    const int row = SelectedRow();
    if (row >= 0) {
        workspace_->Select(row);
    } else if (QTreeWidgetItem* item = ListView1->topLevelItem(workspace_->CurrentIndex())) {
        ScopedFlag guard(listing_);
        item->setSelected(true);
        SetOptionsNow();
    }
    PaintDesign();
}

void TMainForm::NewPlaneBtnClick() { RunCommand(workspace_->NewLayer()); }

void TMainForm::DelPlaneBtnClick() { RunCommand(workspace_->DeleteLayer(SelectedRow())); }

void TMainForm::MoveUpBtnClick() { RunCommand(workspace_->MoveLayerUp(SelectedRow())); }

void TMainForm::MoveDownBtnClick() { RunCommand(workspace_->MoveLayerDown(SelectedRow())); }

void TMainForm::PasteClick() {
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) {
        statusBar()->showMessage(QString::fromUtf8("In der Zwischenablage ist keine Grafik zum Einfügen."), 5000);
        return;
    }
    DibPicture picture;
    if (!textureEditor_->ReadImage(image, picture)) return;
    Timer1->stop();
    workspace_->PastePicture(std::move(picture));
    PaintDesign();
}

void TMainForm::RunCommand(const std::string& message) {
    PaintDesign();
    if (!message.empty()) Error({}, message);
}

// ---- the editor -------------------------------------------------------------------

void TMainForm::LoadEditor() {
    const TLayerRecord& layer = workspace_->EditorLayer();
    {
        ScopedFlag guard(loading_);
        if (PageControl1->currentIndex() != int(layer.Kind)) PageControl1->setCurrentIndex(int(layer.Kind));
        TrackBar1->setValue(SliderOfTransparency(layer.Transparency));
    }
    ShowTransparencyUse();
    for (LayerEditor* editor : editors_) editor->load(layer);
}

void TMainForm::ShowTransparencyUse() {
    // Nothing lies beneath the bottom layer to show through it.
    const bool bottom = workspace_->CurrentIndex() == 0;
    TrackBar1->setEnabled(!bottom);
    TrackBar1->setToolTip(bottom ? QString::fromUtf8("Die unterste Ebene ist immer deckend: unter ihr liegt "
                                                     "nichts, das durchscheinen könnte.")
                                 : QString());
}

void TMainForm::ReadBackOptions() {
    // The timer composes 500 ms after the last edit; it runs before the
    // workspace says the sheet is stale, so no paint composes in between.
    Timer1->start();
    // Every page writes back, as every control shows the same layer.
    const ReadBackResult result = workspace_->StoreEditor([this](TLayerRecord& layer) {
        layer.Kind = uint32_t(PageControl1->currentIndex());
        layer.Transparency = TransparencyOfSlider(TrackBar1->value());
        for (const LayerEditor* editor : editors_) editor->store(layer);
    });
    if (!result.message.empty()) Error({}, result.message);
}

void TMainForm::SetOptionsNow() {
    LoadEditor();
    textureEditor_->PaintBox4Paint();
    PaintDesign();
}

void TMainForm::Timer1Timer() {
    Timer1->stop();
    PaintDesign();
    workspace_->CommitPendingEdit();
}

// ---- undo ---------------------------------------------------------------------------

void TMainForm::UpdateUndoButtons() {
    actions_->Undo->setEnabled(workspace_->CanUndo());
    actions_->Redo->setEnabled(workspace_->CanRedo());
}

void TMainForm::UndoBtnClick() { RunCommand(workspace_->Undo()); }

void TMainForm::RedoBtnClick() { RunCommand(workspace_->Redo()); }

// ---- files ----------------------------------------------------------------------------

void TMainForm::NewMenuBtnClick() { documents_->New(); }

QStringList TMainForm::TemplateFolders() const {
    QStringList folders;
    for (const char* name : {platform::kTemplateFolderName, platform::kExampleFolderName})
        folders << QFile::decodeName(QByteArray::fromStdString(platform::FindDataFolder(programFolder_, name)));
    return folders;
}

void TMainForm::TemplateBtnClick() {
    TemplateGallery gallery(TemplateFolders(), {QStringLiteral("Vorlage"), QStringLiteral("Beispiel")}, this);
    if (gallery.exec() != QDialog::Accepted || gallery.Chosen().isEmpty()) return;
    NewFromTemplate(gallery.Chosen());
}

void TMainForm::NewFromTemplate(const QString& file) { documents_->NewFromTemplate(file); }

void TMainForm::OpenBtnClick() { documents_->Open(); }

void TMainForm::SaveBtnClick() { documents_->Save(); }

void TMainForm::SaveAsBtnClick() { documents_->SaveAs(); }

void TMainForm::PrintClick() {
    // The job prints as the page "Drucken" is set: the page shows it.
    auto* page = tabSheet3_->findChild<TPrintPage*>();
    if (!page) return;
    PageControl2->setCurrentWidget(tabSheet3_);
    page->PrintBtnClick();
}

void TMainForm::ExportClick() {
    if (auto* page = tabSheet3_->findChild<TPrintPage*>()) page->ExportBtnClick();
}

bool TMainForm::openfile(const QString& name) { return documents_->OpenFile(name); }

bool TMainForm::savefile(const QString& name) { return documents_->SaveFile(name); }

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!DocumentCommands::DroppedDesign(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const QString file = DocumentCommands::DroppedDesign(event->mimeData());
    if (file.isEmpty()) return;
    event->acceptProposedAction();
    documents_->OpenAfterQuestion(file);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!firstShow_) return;
    firstShow_ = false;
    QTimer::singleShot(0, this, [this] { StartWhenUp(0); });
}

void TMainForm::StartWhenUp(int tries) {
    // Questions and failures of the start show over the window, once the
    // screen shows it (or after a second, should it never say so).
    if (!(windowHandle() && windowHandle()->isExposed()) && tries < 50) {
        QTimer::singleShot(20, this, [this, tries] { StartWhenUp(tries + 1); });
        return;
    }
    // Framed now: the frame's real size is known, and all of it must show.
    if (fitWhenFramed_) FitFramedWindow(*this);
    if (!startMessage_.empty()) Error({}, startMessage_);
    const bool restored = options_.offerRecovery && documents_->OfferRecovery();
    if (!restored && !arguments_.isEmpty()) openfile(arguments_.first());
    if (arguments_.size() > 1) {
        QStringList others;
        for (qsizetype i = 1; i < arguments_.size(); ++i) others << QFileInfo(arguments_[i]).fileName();
        dialogs_->Error(this, QString::fromUtf8("Mehrere Entwürfe"),
                        QString::fromUtf8("Ein Fenster zeigt einen Entwurf. Nicht geöffnet wurden: %1.\n"
                                          "Öffnen Sie sie mit \"Öffnen...\" oder starten Sie das Programm für "
                                          "jeden Entwurf einzeln.")
                            .arg(others.join(QStringLiteral(", "))));
    }
}

void TMainForm::RestoreInNewWindow(const RecoveryCopy::Leftover& leftover) {
    Options options = options_;
    options.arguments.clear();
    options.offerRecovery = false;
    auto* window = new TMainForm(options);
    window->setAttribute(Qt::WA_DeleteOnClose);
    AttachPictureViewer(*window);
    window->PlaceOnScreen();
    window->show();
    window->documents_->Restore(leftover);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // A job cannot outlive the window: it is stopped, or the window stays.
    OutputJob& job = workspace_->Output();
    if (job.Running()) {
        if (!dialogs_->Choose(this, QStringLiteral("Programm beenden"),
                              QString::fromUtf8("Ein Druck oder Export läuft noch. Soll er abgebrochen werden?"),
                              QString::fromUtf8("Abbrechen und beenden"), QString::fromUtf8("Weiterarbeiten"))) {
            event->ignore();
            return;
        }
        job.Cancel();
        job.Wait();
    }
    if (documents_->MayDiscard(
            QStringLiteral("Programm beenden"),
            QStringLiteral("Hiermit beenden Sie das Programm! Alle nicht gespeicherten Daten gehen verloren!"))) {
        Timer1->stop();
        WindowMemory::Save({saveGeometry(), PageControl2->currentIndex()}, folders_);
        documents_->CleanExit();
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

void TMainForm::HilfeBtnClick() { ShowManual(QString()); }

void TMainForm::HelpKey() { ShowManual(HelpWindow::SectionOfPage(PageControl2->currentIndex())); }

void TMainForm::ShowManual(const QString& section) {
    std::string message;
    const QString file = HelpWindow::ManualIndex(programFolder_, message);
    if (file.isEmpty()) return Error(QStringLiteral("Hilfe"), message);
    // A modal dialog (the picture viewer, "Bild drucken...") would block a
    // manual that belongs to the main window: it gets one of its own.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != this) {
        auto* own = modal->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
        (own ? own : new HelpWindow(modal))->ShowPage(file, section);
        return;
    }
    if (!help_) help_ = new HelpWindow(this);
    help_->ShowPage(file, section);
}

void TMainForm::wwwBtnClick() { QDesktopServices::openUrl(QUrl(QString::fromUtf8(kProjectWebAddress))); }

void TMainForm::Error(const QString& caption, const std::string& message) {
    dialogs_->Error(this, caption, U(message));
}

} // namespace zb
