#pragma once
// The one owner of a design and its sheet, without widgets. The window, its
// pages and the command-line program show it and send it user actions; every
// change goes through its methods, and it tells its listener what changed.
//
// Ownership: the workspace owns the design (layer records and what they own),
// the texture library, the working picture of the texture page, the undo
// history, the compositor with its rasters, the kept states of the sheet on
// screen, the random generator the sheet is drawn from, the print settings
// and the print or export running in the background. The font engine is borrowed and must outlive it.
//
// The sheet: a change marks it stale (and cancels a composition under way);
// whatever paints it (the design view, the print preview) calls Compose
// first. Sheets are composed on the thread pool from a snapshot of the
// design, so the window keeps answering; the shown sheet is replaced only by
// a finished one. An edit keeps the sheet's start, and what the sheet looked
// like after each bottom layer is kept (SheetCache), so an edit of one layer
// composes that layer and those above it only. The selected layer is selection state and never moved by
// composing, printing or exporting.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/TDibRecord.h"
#include "model/Design.h"
#include "render/Compositor.h"
#include "render/DesignSize.h"
#include "render/FontEngine.h"
#include "render/RandomInt.h"
#include "workspace/OutputJob.h"
#include "workspace/PrintSettings.h"
#include "workspace/SheetCache.h"
#include "workspace/SheetComposer.h"
#include "workspace/SheetSeed.h"
#include "workspace/UndoHistory.h"

namespace zb {

// What changed, as bits of the mask the listener receives.
enum WorkspaceChange : unsigned {
    kChangeDesign = 1u << 0,      // replaced (new, open, undo, redo): every view reloads
    kChangeLayers = 1u << 1,      // the stack or a layer's kind: the list is rebuilt
    kChangeSelection = 1u << 2,   // another layer is selected: the editor reloads
    kChangePaper = 1u << 3,       // paper format or margins
    kChangeZoom = 1u << 4,
    kChangeStale = 1u << 5,       // the sheet must be composed again
    kChangeSheet = 1u << 6,       // a sheet was composed (its number, the views)
    kChangeDocument = 1u << 7,    // file name or unsaved state
    kChangePrinter = 1u << 8,     // the printer's page
    kChangeEditPicture = 1u << 9, // the texture page's picture
    kChangeHistory = 1u << 10,    // what undo and redo can do
    kChangePrintSettings = 1u << 11,
};

// What writing the editor into the selected layer did.
struct ReadBackResult {
    bool kindChanged = false; // the list must be re-captioned
    std::string message;      // memory message of the picture copy, else empty
};

// What the printer tells about its page.
struct PrinterFacts {
    PrintablePage page;
    // No printer is installed and the A4 page at 600 dpi stands in.
    bool fallback = false;
};

class DesignWorkspace {
public:
    // `seed`: the generator's start state. `fonts` may be null (text layers
    // then show their ground). `sheetCacheBytes` bounds the kept states of
    // the sheet.
    DesignWorkspace(uint32_t seed, const PrinterFacts& printer, FontEngine* fonts,
                    size_t sheetCacheBytes = kDefaultSheetCacheBytes);
    ~DesignWorkspace();
    DesignWorkspace(const DesignWorkspace&) = delete;
    DesignWorkspace& operator=(const DesignWorkspace&) = delete;

    // The one listener (the window), told of every change with a mask of
    // WorkspaceChange bits, after the change is complete.
    void SetListener(std::function<void(unsigned)> listener) { listener_ = std::move(listener); }

    // ---- start-up -----------------------------------------------------------
    std::vector<DibPicture>& Textures() { return textures_; }
    const std::vector<DibPicture>& Textures() const { return textures_; }
    // After the textures are read: the first layer, and the history's start.
    // Returns a German message when its picture could not be copied.
    std::string Start();

    // ---- the design ---------------------------------------------------------
    const Design& GetDesign() const { return *design_; }
    int CurrentIndex() const { return design_->Layers.SelectedIndex(); }
    // The selected layer, or null for an empty stack.
    const TLayerRecord* CurrentLayer() const;
    // Another layer becomes the selection (an edit in progress is recorded first).
    void Select(int index);

    // Layer list commands; each returns a German refusal (nothing changed) or "".
    std::string NewLayer();
    std::string DeleteLayer(int row);
    std::string MoveLayerUp(int row);
    std::string MoveLayerDown(int row);
    // "Ebene duplizieren": a copy right above `row`, selected.
    std::string DuplicateLayer(int row);
    // A row dragged to another place: one step, the layers between shift.
    std::string MoveLayer(int from, int to);
    // Renames layer `row` (UTF-8 as typed; empty or the kind's caption gives
    // the caption back, longer names are cut). The sheet stays as it is.
    void RenameLayer(int row, const std::string& utf8Name);
    // Shows or hides layer `row`; the layers above are composed again from
    // the same draws.
    void SetLayerVisible(int row, bool visible);

    // ---- the layer editor ---------------------------------------------------
    // What the editor shows: the selected layer, or a new layer's settings
    // when the stack is empty.
    const TLayerRecord& EditorLayer() const;
    // Writes the editor into the selected layer: `store` sets its settings;
    // then the working picture goes with it when it differs (copying a large
    // photo on every keystroke is wasted). The edit is recorded for undo by
    // CommitPendingEdit (the window gathers a burst of keystrokes into one step).
    ReadBackResult StoreEditor(const std::function<void(TLayerRecord&)>& store);
    // The picture of the texture page: a copy of the selected layer's, a
    // texture, or a picture the user opened.
    const TDibRecord& EditPicture() const { return editPicture_; }
    // Copies texture `index` into the working picture. Returns a message on failure.
    std::string TakeTexture(int index);
    // The working picture becomes `picture` (ownership passes to the workspace).
    void TakePicture(DibPicture picture);
    // "Einfügen": `picture` becomes the selected layer's when that is a
    // texture layer, else the picture of a new texture layer on top. One
    // undoable step either way.
    void PastePicture(DibPicture picture);

    // ---- paper, margins, zoom, printer --------------------------------------
    const PaperSettings& Paper() const { return design_->Paper; }
    // A change of the paper settings; `resized` when the sheet's size changes
    // with it (it keeps its start, so the same shapes come at the new size).
    // One undoable step.
    void SetPaper(const PaperSettings& paper, bool resized);
    // "Nahtlos kachelbar" and the repeat: one undoable step. A change that
    // composes differently recomposes the same sheet (the same shapes, now
    // wrapped or not), not a new one.
    void SetTile(bool seamless, RepeatMode repeat);
    double Zoom() const { return design_->Paper.Zoom; }
    // The zoom as its field reads it (a view setting, not an undoable step).
    // The sheet keeps its start: the same sheet is composed at the new size.
    // Going back to the zoom of the sheet shown, when nothing but the zoom
    // changed since, shows that very sheet again without composing.
    void SetZoom(double zoom);
    // The zoom the shown sheet was composed at (0 before the first).
    double ShownZoom() const { return shownZoom_; }
    // The last composition asked for failed for want of memory.
    bool SheetRefused() const { return !failedSize_.empty(); }
    const PrinterFacts& Printer() const { return printer_; }
    // What keeps the sheet, a seamless tile, from repeating without a seam at
    // the screen's size and zoom (SeamHints); empty for a sheet that is no tile.
    std::vector<std::string> SeamNotes(int screenPpi) const;
    // A new printer page: only a design that fills the whole page changes
    // size (and keeps its sheet's start).
    void SetPrinter(const PrinterFacts& printer);

    // ---- the sheet ----------------------------------------------------------
    // The sheet is composed where it is seen: `visible` (device pixels of the
    // sheet) names the part a view shows, and a composition covers it with a
    // small margin (ViewArea); null stands for the whole sheet. A composition
    // of one part serves any part within it.
    //
    // The shown composition is not the composition of the design as it is now.
    bool Stale() const { return stale_; }
    // The sheet's size at the screen's pixels per inch.
    RasterSize SheetSize(int screenPpi) const;
    // A composition could be started that would show `visible` (the design
    // changed, or the shown part does not cover it; not empty, not a size
    // the memory refused, none under way for it).
    bool NeedsComposing(int screenPpi, const PixelRect* visible = nullptr) const;
    // The shown composition is the design as it is now and holds `visible`.
    bool Shows(int screenPpi, const PixelRect* visible = nullptr) const;
    // Starts composing what `visible` needs, waits for it up to waitMs
    // milliseconds (negative: until done) and shows it when it is done.
    // Returns a German message when a sheet could not be composed (shown once
    // per size).
    std::string Compose(int screenPpi, int waitMs, const PixelRect* visible = nullptr);
    // The generator state the sheet shown (or, stale, the next composition)
    // starts from: print and export reproduce that sheet.
    uint32_t SheetStart() const;
    // A composition has finished: shows it. Returns its message, if any.
    std::string TakeSheet();
    // Called on the composing thread when a sheet is ready to take.
    void SetSheetFinished(std::function<void()> finished) { composer_.SetFinished(std::move(finished)); }
    // A composition is under way, and how far it got (layers).
    bool Composing() const { return composer_.Busy(); }
    int ComposingLayersDone() const { return composer_.LayersDone(); }
    int ComposingLayerCount() const { return composer_.LayerCount(); }
    // Stops a composition under way (closing).
    void CancelComposing() { composer_.Cancel(); }
    // The sheet shown: the last finished composition. Its rasters hold
    // ShownExtent() of a sheet of ShownSheetSize(), exact within ShownArea().
    const Compositor& Sheet() const { return *shown_; }
    RasterSize ShownSheetSize() const { return shownSheet_; }
    const PixelRect& ShownArea() const { return shownArea_; }
    const PixelRect& ShownExtent() const { return shownExtent_; }
    // The shown composition holds the whole sheet.
    bool ShowsWholeSheet() const {
        return shownArea_ == PixelRect{0, 0, shownSheet_.width, shownSheet_.height};
    }
    const SheetSeed& Seed() const { return sheet_; }
    // "Neu würfeln": the next composition shows a fresh sheet.
    void Reroll();
    // "Bogen festhalten".
    void SetHold(bool hold);
    // Compositions since start (for tests and benchmarks).
    int CompositionCount() const { return compositions_; }
    // The kept states of the sheet, and the lowest layer the last shown
    // composition composed (the layer count when it composed none).
    const SheetCache& Cache() const { return cache_; }
    int LastComposedFrom() const { return composedFrom_; }
    FontEngine* Fonts() const { return fonts_; }

    // ---- print and export ---------------------------------------------------
    const PrintSettings& Print() const { return print_; }
    // Limited to the fields' ranges (Limited); tells kChangePrintSettings.
    void SetPrintSettings(const PrintSettings& settings);
    // A snapshot of the design as it is now, for a job to own: pictures are
    // shared, so it copies no pixels, and no later edit reaches it.
    std::shared_ptr<const Design> Snapshot() const { return std::make_shared<const Design>(*design_); }
    // The print or export running in the background, one at a time.
    OutputJob& Output() { return output_; }
    const OutputJob& Output() const { return output_; }

    // ---- undo ---------------------------------------------------------------
    bool CanUndo() const { return history_.CanUndo() || editPending_; }
    bool CanRedo() const { return history_.CanRedo() && !editPending_; }
    // Records an edit in progress as one step.
    void CommitPendingEdit();
    // Returns a German message when a picture could not be restored.
    std::string Undo();
    std::string Redo();
    const UndoHistory& History() const { return history_; }

    // ---- the document -------------------------------------------------------
    // The file the design came from or was saved to, in the file system's
    // encoding; empty for a new design.
    const std::string& FileName() const { return fileName_; }
    // The design differs from its file (or, new, from the start); undoing
    // back to the saved state is no change.
    bool Modified() const { return editPending_ || history_.CurrentState() != savedState_; }
    // "Neu": keeps the bottom layer only.
    void New();
    // Opens `fileName`; on failure the design stays and the message is returned.
    std::string Open(const std::string& fileName);
    // Opens `fileName` (a template) as a new design: untitled, no unsaved
    // changes, as after "Neu".
    std::string OpenAsNew(const std::string& fileName);
    // Saves under `fileName`, which becomes the design's name on success.
    std::string Save(const std::string& fileName);
    // Writes a copy (a recovery copy) without changing the design's name or
    // its unsaved state.
    std::string SaveCopy(const std::string& fileName) const;
    // Restores a recovery copy: the design of `copy`, named `fileName` (the
    // file it belonged to, empty for an unnamed one), with unsaved changes.
    std::string Recover(const std::string& copy, const std::string& fileName);

private:
    // The one path that puts another design in place (new, open, undo, redo):
    // the selection, the working picture, the sheet and every view follow.
    // `sheet`: the generator state of the sheet to show again (undo, redo);
    // `sharedLayers`: how many bottom layers the new design has in common
    // with the one it replaces (kept states of that sheet serve for them).
    void Replaced(int selectIndex, std::optional<uint32_t> sheet, int sharedLayers = 0);
    // After a command of the layer list: its refusal changes nothing;
    // otherwise the sheet is stale and the step recorded.
    // `firstChanged`: the lowest layer whose place or settings changed.
    std::string StackChanged(const std::string& refusal, int firstChanged, bool selectionChanged);
    // Loads the working picture from the selected layer.
    void LoadEditPicture();
    void Changed(unsigned changes);
    void Edited(unsigned changes);
    // The sheet must be composed again; the layers beneath `firstChanged`
    // are as they were (0: nothing of the sheet can be reused).
    void Invalidate(int firstChanged);
    // Undo (back) or redo: the step's design and the sheet it showed.
    std::string Step(bool back);
    void RecordStep();

    std::function<void(unsigned)> listener_;
    FontEngine* fonts_;
    PrinterFacts printer_;
    std::unique_ptr<Design> design_;
    std::vector<DibPicture> textures_;
    DibPicture editPicture_;
    // The settings a new layer starts with, shown while the stack is empty.
    TLayerRecord newLayer_;
    // The selected layer's picture differs from the working picture: the
    // next StoreEditor copies it (a layer loaded into the editor holds the
    // same pixels, and copying a large photo on every keystroke is wasted).
    bool editPictureDiffers_ = true;
    // The sheet shown, and the size the memory refused (not asked for again).
    std::unique_ptr<Compositor> shown_ = std::make_unique<Compositor>();
    RasterSize shownSheet_{};
    PixelRect shownArea_;
    PixelRect shownExtent_;
    RasterSize failedSize_{};
    double shownZoom_ = 0;
    // Nothing but the zoom changed since the shown sheet was composed.
    bool onlyZoomSinceShown_ = false;
    // The shown sheet after its bottom layers, so an edit composes from the
    // edited layer up. Declared before the composer, whose jobs borrow it.
    SheetCache cache_;
    bool stale_ = true;
    // Counts changes, so a sheet finished for an older design is not shown.
    uint64_t generation_ = 0;
    // A composition of the current generation is queued or running, for this area.
    bool requested_ = false;
    PixelRect requestedArea_;
    // Undo and redo compose the sheet their step showed, from this state.
    std::optional<uint32_t> restoreStart_;
    SheetComposer composer_{fonts_};
    RandomInt random_;
    SheetSeed sheet_;
    UndoHistory history_;
    bool editPending_ = false;
    // The history's state that the file holds.
    uint64_t savedState_ = 0;
    std::string fileName_;
    int compositions_ = 0;
    int composedFrom_ = 0;
    PrintSettings print_;
    // Last, so that it goes first: a job still running is stopped and waited for.
    OutputJob output_;
};

} // namespace zb
