#include "workspace/DesignWorkspace.h"

#include <algorithm>

#include "base/DibCopy.h"
#include "document/DesignFile.h"
#include "imaging/TextureLibrary.h"
#include "model/LayerStack.h"
#include "model/SpinField.h"
#include "render/SeamHints.h"
#include "workspace/EditorFields.h"
#include "workspace/ViewArea.h"

namespace zb {

DesignWorkspace::DesignWorkspace(uint32_t seed, const PrinterFacts& printer, FontEngine* fonts,
                                 size_t sheetCacheBytes)
    : fonts_(fonts), printer_(printer), design_(std::make_unique<Design>()), editPicture_(320, 200, 24),
      cache_(sheetCacheBytes), random_(seed) {
    SetLayerDefaults(newLayer_);
}

DesignWorkspace::~DesignWorkspace() {
    ReleaseTextures(textures_);
    design_->Layers.Clear();
}

std::string DesignWorkspace::Start() {
    const std::string message = AddLayer(*design_, textures_);
    design_->Layers.Select(0);
    LoadEditPicture();
    history_.Reset(*design_);
    savedState_ = history_.CurrentState();
    return message;
}

void DesignWorkspace::Changed(unsigned changes) {
    if (listener_) listener_(changes);
}

void DesignWorkspace::Edited(unsigned changes) {
    Changed(changes | kChangeDocument | kChangeHistory);
}

void DesignWorkspace::RecordStep() {
    history_.Record(*design_);
    // The sheet shown belongs to this step when it shows this design.
    if (!stale_) history_.SetSheet(shown_->StartSeed());
}

// ---- the design -----------------------------------------------------------------

const TLayerRecord* DesignWorkspace::CurrentLayer() const { return design_->Layers.Selected(); }

void DesignWorkspace::Select(int index) {
    CommitPendingEdit();
    if (index >= 0 && index < int(design_->Layers.size())) design_->Layers.Select(index);
    LoadEditPicture();
    Changed(kChangeSelection | kChangeEditPicture);
}

std::string DesignWorkspace::NewLayer() {
    CommitPendingEdit();
    // The layer is added even when its picture could not be copied.
    const int below = int(design_->Layers.size());
    const std::string message = NewPlane(*design_, textures_);
    Invalidate(below);
    LoadEditPicture();
    RecordStep();
    Edited(kChangeLayers | kChangeSelection | kChangeEditPicture | kChangeStale);
    return message;
}

std::string DesignWorkspace::DeleteLayer(int row) {
    CommitPendingEdit();
    return StackChanged(DeletePlane(*design_, row), row, true);
}

// The selection follows a moved layer, so the editor shows the same settings
// and is not reloaded.
std::string DesignWorkspace::MoveLayerUp(int row) {
    CommitPendingEdit();
    const int lower = LowerOfExchanged(row, -1, int(design_->Layers.size()));
    return StackChanged(MovePlaneUp(*design_, row), lower, false);
}

std::string DesignWorkspace::MoveLayerDown(int row) {
    CommitPendingEdit();
    const int lower = LowerOfExchanged(row, +1, int(design_->Layers.size()));
    return StackChanged(MovePlaneDown(*design_, row), lower, false);
}

std::string DesignWorkspace::DuplicateLayer(int row) {
    CommitPendingEdit();
    return StackChanged(DuplicatePlane(*design_, row), row + 1, true);
}

std::string DesignWorkspace::MoveLayer(int from, int to) {
    CommitPendingEdit();
    if (from == to) return {};
    return StackChanged(MovePlane(*design_, from, to), std::min(from, to), true);
}

void DesignWorkspace::RenameLayer(int row, const std::string& utf8Name) {
    if (row < 0 || row >= int(design_->Layers.size())) return;
    CommitPendingEdit();
    TLayerRecord& layer = design_->Layers[size_t(row)];
    std::string name;
    StoreShownText(name, utf8Name);
    if (name.size() > kMaxLayerNameBytes) name.resize(kMaxLayerNameBytes);
    if (name == LayerKindCaption(layer.Kind)) name.clear();
    if (name == layer.Name) return;
    layer.Name = std::move(name);
    RecordStep();
    Edited(kChangeLayers);
}

void DesignWorkspace::SetLayerVisible(int row, bool visible) {
    if (row < 0 || row >= int(design_->Layers.size())) return;
    CommitPendingEdit();
    TLayerRecord& layer = design_->Layers[size_t(row)];
    if (layer.Visible == visible) return;
    layer.Visible = visible;
    Invalidate(row);
    RecordStep();
    Edited(kChangeLayers | kChangeStale);
}

std::string DesignWorkspace::StackChanged(const std::string& refusal, int firstChanged, bool selectionChanged) {
    if (!refusal.empty()) return refusal;
    Invalidate(firstChanged);
    unsigned changes = kChangeLayers | kChangeStale;
    if (selectionChanged) {
        LoadEditPicture();
        changes |= kChangeSelection | kChangeEditPicture;
    }
    RecordStep();
    Edited(changes);
    return {};
}

// ---- the layer editor -------------------------------------------------------------

const TLayerRecord& DesignWorkspace::EditorLayer() const {
    const TLayerRecord* layer = CurrentLayer();
    return layer ? *layer : newLayer_;
}

ReadBackResult DesignWorkspace::StoreEditor(const std::function<void(TLayerRecord&)>& store) {
    ReadBackResult result;
    const int32_t index = design_->Layers.SelectedIndex();
    if (TLayerRecord* selected = design_->Layers.Selected()) {
        TLayerRecord& layer = *selected;
        const uint32_t kind = layer.Kind;
        store(layer);
        result.kindChanged = layer.Kind != kind;
        if (editPictureDiffers_ || layer.LayerPicture.empty()) {
            if (!MakeDIBCopy(editPicture_, layer.LayerPicture)) result.message = kCopyMemoryMessage;
        }
        editPictureDiffers_ = layer.LayerPicture.empty();
    }
    Invalidate(index);
    editPending_ = true;
    Edited(kChangeStale | (result.kindChanged ? kChangeLayers : 0u));
    return result;
}

void DesignWorkspace::LoadEditPicture() {
    const TLayerRecord* layer = CurrentLayer();
    if (!layer) return;
    if (!layer->LayerPicture.empty()) {
        // A failed copy leaves the working picture empty; the layer keeps its own.
        MakeDIBCopy(layer->LayerPicture, editPicture_);
        editPictureDiffers_ = false;
    } else {
        editPictureDiffers_ = true;
    }
}

std::string DesignWorkspace::TakeTexture(int index) {
    if (index < 0 || index >= int(textures_.size())) return {};
    const bool copied = MakeDIBCopy(textures_[size_t(index)], editPicture_);
    editPictureDiffers_ = true;
    Changed(kChangeEditPicture);
    return copied ? std::string() : std::string(kCopyMemoryMessage);
}

void DesignWorkspace::TakePicture(DibPicture picture) {
    editPicture_ = std::move(picture);
    editPictureDiffers_ = true;
    Changed(kChangeEditPicture);
}

void DesignWorkspace::PastePicture(DibPicture picture) {
    CommitPendingEdit();
    unsigned changes = kChangeStale | kChangeEditPicture;
    const TLayerRecord* current = CurrentLayer();
    if (!current || current->Kind != kKindTexture) {
        // Its picture is replaced at once: no texture is copied for it.
        SetLayerDefaults(design_->Layers.Add());
        design_->Layers.Select(int(design_->Layers.size()) - 1);
        changes |= kChangeLayers | kChangeSelection;
    }
    const int index = design_->Layers.SelectedIndex();
    design_->Layers[size_t(index)].LayerPicture = std::move(picture);
    Invalidate(index);
    LoadEditPicture();
    RecordStep();
    Edited(changes);
}

// ---- paper, zoom, printer -----------------------------------------------------------

void DesignWorkspace::SetPaper(const PaperSettings& paper, bool resized) {
    CommitPendingEdit();
    const double zoom = design_->Paper.Zoom;
    design_->Paper = paper;
    design_->Paper.Zoom = zoom;
    if (resized) Invalidate(0);
    RecordStep();
    Edited(kChangePaper | (resized ? kChangeStale : 0u));
}

void DesignWorkspace::SetTile(bool seamless, RepeatMode repeat) {
    CommitPendingEdit();
    PaperSettings& paper = design_->Paper;
    // Each repeat composes its own way; off, the repeat does not matter.
    const auto wrapOf = [](bool on, RepeatMode mode) { return on ? int(mode) + 1 : 0; };
    const bool recompose = wrapOf(paper.Seamless, paper.Repeat) != wrapOf(seamless, repeat);
    paper.Seamless = seamless;
    paper.Repeat = repeat;
    if (recompose) Invalidate(0);
    RecordStep();
    Edited(kChangePaper | (recompose ? kChangeStale : 0u));
}

std::vector<std::string> DesignWorkspace::SeamNotes(int screenPpi) const {
    return SeamHints(*design_, SheetSize(screenPpi), double(screenPpi), design_->Paper.Zoom);
}

void DesignWorkspace::SetZoom(double zoom) {
    const bool onlyZoom = onlyZoomSinceShown_;
    design_->Paper.Zoom = zoom;
    if (onlyZoom && zoom == shownZoom_ && shown_->HoldsComposition()) {
        // Typically after a zoom the memory refused: the sheet still shown is
        // the design at this zoom, and edits keep it.
        Invalidate(0);
        onlyZoomSinceShown_ = onlyZoom;
        sheet_.AfterCompose(shown_->StartSeed());
        stale_ = false;
        failedSize_ = {};
        Changed(kChangeZoom);
        return;
    }
    Invalidate(0);
    onlyZoomSinceShown_ = onlyZoom;
    Changed(kChangeZoom | kChangeStale);
}

void DesignWorkspace::SetPrinter(const PrinterFacts& printer) {
    printer_ = printer;
    // A design of part of the paper keeps its size (and its sheet).
    const bool resized = design_->Paper.PrintAll;
    if (resized) Invalidate(0);
    Changed(kChangePrinter | (resized ? kChangeStale : 0u));
}

// ---- the sheet ------------------------------------------------------------------------

RasterSize DesignWorkspace::SheetSize(int screenPpi) const {
    return DesignRasterSize(design_->Paper, printer_.page, screenPpi, design_->Paper.Zoom);
}

void DesignWorkspace::Invalidate(int firstChanged) {
    // The kept states of the layers beneath the change stay (an edit keeps
    // the sheet's start, see SheetSeed); a composition under way started from
    // states that may be gone, so it is cancelled either way.
    cache_.DropAbove(std::max(firstChanged, 0));
    stale_ = true;
    onlyZoomSinceShown_ = false;
    ++generation_;
    requested_ = false;
    restoreStart_.reset();
    composer_.Cancel();
}

bool DesignWorkspace::Shows(int screenPpi, const PixelRect* visible) const {
    const RasterSize size = SheetSize(screenPpi);
    return !stale_ && shown_->HoldsComposition() && shownSheet_ == size &&
           Contains(shownArea_, VisiblePart(size, visible));
}

bool DesignWorkspace::NeedsComposing(int screenPpi, const PixelRect* visible) const {
    const RasterSize size = SheetSize(screenPpi);
    if (size.empty() || size == failedSize_ || Shows(screenPpi, visible)) return false;
    return !requested_ || !Contains(requestedArea_, VisiblePart(size, visible));
}

std::string DesignWorkspace::Compose(int screenPpi, int waitMs, const PixelRect* visible) {
    const RasterSize size = SheetSize(screenPpi);
    // Another screen or scaling: the same sheet, composed at its new size.
    if (!stale_ && shown_->HoldsComposition() && !(shownSheet_ == size) && !size.empty()) Invalidate(0);
    if (Shows(screenPpi, visible)) return {};
    if (size.empty()) {
        // Nothing to compose or show: the rasters are released.
        shown_->EnsureSize(size);
        shownSheet_ = size;
        shownArea_ = shownExtent_ = PixelRect{};
        return {};
    }
    if (NeedsComposing(screenPpi, visible)) {
        SheetJob job;
        // The job's own snapshot: pictures are shared, so this copies no pixels.
        job.design = std::make_unique<const Design>(*design_);
        job.size = size;
        // A seamless tile wraps at its edges: only the whole sheet has them.
        job.area = design_->Paper.Seamless || !visible
                       ? PixelRect{0, 0, size.width, size.height}
                       : AreaAround(size, VisiblePart(size, visible), kViewAreaMargin);
        job.ppi = screenPpi;
        job.zoom = design_->Paper.Zoom;
        job.seed = SheetStart();
        job.generation = generation_;
        job.cache = &cache_;
        job.cacheEpoch = cache_.Epoch();
        requestedArea_ = job.area;
        composer_.Start(std::move(job));
        requested_ = true;
    }
    if (requested_ && waitMs != 0) composer_.Wait(waitMs);
    return TakeSheet();
}

uint32_t DesignWorkspace::SheetStart() const {
    return restoreStart_ ? *restoreStart_ : sheet_.NextStart(random_.seed());
}

std::string DesignWorkspace::TakeSheet() {
    std::optional<SheetResult> result = composer_.Take();
    if (!result) return {};
    if (result->generation != generation_) {
        // Finished just before a change: the design it shows is gone.
        composer_.Recycle(std::move(result->sheet));
        return {};
    }
    requested_ = false;
    if (!result->sheet) {
        // The rasters could not take the size: the shown sheet stays, and
        // this size is not asked for again until another is.
        failedSize_ = result->size;
        return result->message;
    }
    // Layers not composed again keep the thumbnails they had.
    result->sheet->KeepThumbnails(*shown_, result->firstLayer);
    composer_.Recycle(std::move(shown_));
    shown_ = std::move(result->sheet);
    shownSheet_ = result->size;
    shownArea_ = result->area;
    shownExtent_ = result->extent;
    failedSize_ = {};
    stale_ = false;
    shownZoom_ = design_->Paper.Zoom;
    onlyZoomSinceShown_ = true;
    random_.setSeed(result->endSeed);
    sheet_.AfterCompose(result->startSeed);
    restoreStart_.reset();
    // An edit still being typed is not a step yet: its sheet is noted when it is.
    if (!editPending_) history_.SetSheet(result->startSeed);
    ++compositions_;
    composedFrom_ = result->firstLayer;
    Changed(kChangeSheet);
    return result->message;
}

void DesignWorkspace::Reroll() {
    sheet_.Reroll();
    Invalidate(0);
    Changed(kChangeStale);
}

void DesignWorkspace::SetHold(bool hold) {
    sheet_.SetHold(hold);
    Changed(kChangeSheet);
}

// ---- print and export -----------------------------------------------------------------

void DesignWorkspace::SetPrintSettings(const PrintSettings& settings) {
    const PrintSettings limited = Limited(settings);
    if (limited == print_) return;
    print_ = limited;
    Changed(kChangePrintSettings);
}

// ---- undo ---------------------------------------------------------------------------

void DesignWorkspace::CommitPendingEdit() {
    if (!editPending_) return;
    editPending_ = false;
    RecordStep();
    Changed(kChangeHistory);
}

std::string DesignWorkspace::Undo() { return Step(true); }

std::string DesignWorkspace::Redo() { return Step(false); }

std::string DesignWorkspace::Step(bool back) {
    CommitPendingEdit();
    if (back ? !history_.CanUndo() : !history_.CanRedo()) return {};
    const int shared = history_.SharedBottomLayers(back);
    const std::string message = back ? history_.Undo(*design_) : history_.Redo(*design_);
    // A picture that could not be restored leaves its layer without pixels.
    Replaced(design_->Layers.SelectedIndex(), history_.Sheet(), message.empty() ? shared : 0);
    return message;
}

// ---- the document ---------------------------------------------------------------------

void DesignWorkspace::Replaced(int selectIndex, std::optional<uint32_t> sheet, int sharedLayers) {
    editPending_ = false;
    design_->Layers.Select(selectIndex);
    if (!sheet) sheet_.Renew();
    Invalidate(sharedLayers);
    restoreStart_ = sheet;
    LoadEditPicture();
    Changed(kChangeDesign | kChangeLayers | kChangeSelection | kChangePaper | kChangeZoom | kChangeEditPicture |
            kChangeStale | kChangeHistory | kChangeDocument);
}

void DesignWorkspace::New() {
    KeepBottomLayer(*design_);
    fileName_.clear();
    history_.Reset(*design_);
    savedState_ = history_.CurrentState();
    Replaced(0, std::nullopt);
}

std::string DesignWorkspace::Open(const std::string& fileName) {
    const FileResult result = openfile(fileName, design_);
    if (!result) return result.Message;
    // The zoom field's limits hold for a zoom read from a file.
    design_->Paper.Zoom = kZoomEd.Limit(design_->Paper.Zoom);
    fileName_ = fileName;
    history_.Reset(*design_);
    savedState_ = history_.CurrentState();
    Replaced(int(design_->Layers.size()) - 1, std::nullopt);
    return {};
}

std::string DesignWorkspace::OpenAsNew(const std::string& fileName) {
    std::string message = Open(fileName);
    if (!message.empty()) return message;
    fileName_.clear();
    Changed(kChangeDocument);
    return {};
}

std::string DesignWorkspace::SaveCopy(const std::string& fileName) const {
    const FileResult result = savefile(*design_, fileName);
    return result ? std::string() : result.Message;
}

std::string DesignWorkspace::Recover(const std::string& copy, const std::string& fileName) {
    std::string message = Open(copy);
    if (!message.empty()) return message;
    fileName_ = fileName;
    // Nothing of it is in a file yet.
    savedState_ = 0;
    Changed(kChangeDocument);
    return {};
}

std::string DesignWorkspace::Save(const std::string& fileName) {
    // What is saved is one step of the history: the file's state.
    CommitPendingEdit();
    const FileResult result = savefile(*design_, fileName);
    if (!result) return result.Message;
    fileName_ = fileName;
    savedState_ = history_.CurrentState();
    Changed(kChangeDocument);
    return {};
}

} // namespace zb
