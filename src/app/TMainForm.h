#pragma once
// The main window: shows the design workspace and sends it the user's
// actions. It owns the workspace (the design, its sheet, the undo history) and
// the controls; the rules live in the workspace and in the plain functions the
// controls call (EditorFields, ViewNavigation, TextureStrip, WindowTitle).
//
// The layer editor is one page per layer kind (GradientEditor ... TextEditor);
// the window loads the selected layer into every page, shows the page of its
// kind and stores the pages back through the workspace.
//
// The pages "Papierformat wählen" (PaperPage()) and "Drucken" (PrintPage())
// are containers for the paper and print controls; those reach the design
// through Workspace() and hear its changes through workspaceChanged.
#include <QMainWindow>
#include <QPointer>
#include <QScrollArea>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "app/DialogFolders.h"
#include "app/RecoveryCopy.h"
#include "output/PrinterPage.h"
#include "platform/QtFontEngine.h"
#include "platform/QtPictureDecoder.h"
#include "render/CachedFontEngine.h"
#include "workspace/DesignWorkspace.h"
#include "workspace/ViewNavigation.h"

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class QTabWidget;
class QTimer;
class QToolButton;
class QTreeWidget;
class QVBoxLayout;
class QWheelEvent;

namespace zb {

class TImageBtn;
class TLayerList;
class TSpinEdit;

class DialogProvider;
class LayerEditor;
class MainActions;
class DesignView;
class DocumentCommands;
class HelpWindow;
class PaintBox;
class TextureEditor;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    struct Options {
        // Command-line arguments after the program name: the first names a
        // design opened at the first showing; the others are named in a
        // message as not opened (one window shows one design).
        QStringList arguments;
        // The program's folder; empty: the running program's. The textures
        // are in "texturen" beside it, else in the installed share folder.
        QString programFolder;
        // Message boxes and file dialogs; null: the real Qt ones.
        DialogProvider* dialogs = nullptr;
        // The printer's page; unset: the default printer's (or the A4 stand-in).
        std::optional<PrinterPage> printer;
        // Start state of the random generator; unset: from the time of day.
        std::optional<uint32_t> seed;
        // How long a paint waits for a composition before it goes on without
        // it (the sheet then appears when done, with progress in the status
        // bar); negative: as long as it takes.
        int composeWaitMs = 50;
        // How often a recovery copy of unsaved changes is written.
        int autosaveMs = 120000;
        // Whether the first showing offers the copies crashed programs left
        // (a window opened for one of them offers nothing).
        bool offerRecovery = true;
    };

    explicit TMainForm(Options options, QWidget* parent = nullptr);
    TMainForm() : TMainForm(Options{}) {}
    ~TMainForm() override;

    // Opens where, how large and on the page it was closed; the first time
    // on the screen under the pointer, large enough for a design view of 400
    // pixels' height on a 1366 x 768 screen. Its whole frame lies on the
    // screen: once the window manager has framed it, it is moved and shrunk
    // to fit if need be.
    void PlaceOnScreen();

    // ---- for the paper and print pages ------------------------------------------
    DesignWorkspace& Workspace() { return *workspace_; }
    const DesignWorkspace& Workspace() const { return *workspace_; }
    // The platform's fonts, for printing and export at the printer's resolution.
    platform::QtFontEngine& Fonts() { return fonts_; }
    // The design view's paint (PaintBox1Paint): sizes the view, composes when
    // the sheet is stale, and repaints. Both passes of a size change run here.
    void PaintDesign();
    // Composes the whole sheet, waiting for it as long as the options say (a
    // longer one appears when done, with progress in the status bar). Returns
    // the failure to show, if any. The print preview calls this.
    std::string ComposeSheet();
    // Screen pixels per inch of the design view.
    int ScreenPpi() const;
    // Message boxes and file dialogs (the test's, in tests).
    DialogProvider& Dialogs() { return *dialogs_; }
    QWidget* PaperPage() const { return tabSheet2_; }
    QWidget* PrintPage() const { return tabSheet3_; }
    // The print page's scroll box scrolls with the wheel while that page is shown.
    // It scrolls by the window's step there too, as the design view does.
    void SetPrintScrollBox(QScrollArea* box);
    // "Grafik anzeigen...": shows the texture page's picture; set by the viewer.
    void SetPictureViewer(std::function<void(const TDibRecord&)> viewer);
    // Shows the manual at `section` (empty: its start), or says it is
    // missing; over an open modal dialog the manual is that dialog's window.
    void ShowManual(const QString& section);
    // The design's file as the title shows it; empty for a new design.
    QString SavedFileName() const;
    // The folder a file dialog for `kind` opens in, and the file chosen there.
    QString DialogFolder(FileKind kind) const { return folders_.For(kind, SavedFileName()); }
    void RememberFolder(FileKind kind, const QString& file) { folders_.Remember(kind, file); }

    // ---- handlers, named after their control and event ----------------------
    void ListPlanes();
    // The rows' thumbnails from the sheet shown.
    void ShowThumbnails();
    // "Ebene duplizieren".
    void DuplicateLayerClick();
    void ReadBackOptions();
    void SetOptionsNow();
    void NewPlaneBtnClick();
    void DelPlaneBtnClick();
    void MoveUpBtnClick();
    void MoveDownBtnClick();
    void ListView1Click();
    void Timer1Timer();
    void ZoomEDChange();
    void NewMenuBtnClick();
    // "Neu aus Vorlage...": the gallery, then the chosen design as a new one.
    void TemplateBtnClick();
    // After the usual question, `file` as a new, untitled design.
    void NewFromTemplate(const QString& file);
    // The folders the gallery shows: the templates, then the sample designs.
    QStringList TemplateFolders() const;
    void OpenBtnClick();
    void SaveBtnClick();
    void SaveAsBtnClick();
    // Open and save with messages; true on success.
    bool openfile(const QString& name);
    bool savefile(const QString& name);
    void EndeBtnClick();
    void ueberbtnClick();
    void wwwBtnClick();
    // The manual: "Hilfe" opens it at its start, F1 at the open page's section.
    void HilfeBtnClick();
    void HelpKey();
    void UndoBtnClick();
    void RedoBtnClick();
    void RerollBtnClick();
    void HoldSheetClick();
    // "Einfügen": the clipboard's picture into the selected texture layer, or
    // into a new texture layer on top; one undoable step either way.
    void PasteClick();
    // "Vergrößern", "Verkleinern" (steps of the zoom field), "100 %".
    void StepZoomClick(int steps);
    void ActualSizeClick();
    // "Ganze Seite": the whole sheet in the design view, or on the page
    // "Drucken" the whole page in the preview.
    void WholePageClick();
    // "Drucken..." and "Exportieren...": the page "Drucken"'s commands.
    void PrintClick();
    void ExportClick();

    // The window's commands (menu bar, buttons, keys).
    MainActions& Actions() { return *actions_; }

signals:
    // The workspace changed (a mask of WorkspaceChange bits); the window has
    // already followed.
    void workspaceChanged(unsigned changes);

protected:
    void showEvent(QShowEvent* event) override;
    void StartWhenUp(int tries);
    void closeEvent(QCloseEvent* event) override;
    // A design file dropped on the window opens (after the usual question).
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction of the pages (TMainFormLayout.cpp).
    void BuildWindow();
    QWidget* BuildFileStrip();
    QWidget* BuildLayerPage();
    QWidget* BuildEditor();
    QWidget* BuildBottomStrip();
    void BuildZoomRows(QVBoxLayout* column);
    void BuildDocumentCommands(int autosaveMs);
    // A further recovery copy restored at the start opens in a window of its own.
    void RestoreInNewWindow(const RecoveryCopy::Leftover& leftover);
    void ConnectEditor();
    // Every action to its handler, and the buttons and boxes to their actions.
    void ConnectActions();

    // The workspace's listener: every view follows its changes.
    void WorkspaceChanged(unsigned changes);
    // Shows the selected layer in PageControl1, TrackBar1 and every page.
    void LoadEditor();
    // The transparency is disabled on the bottom layer, which always covers.
    void ShowTransparencyUse();
    int SelectedRow() const;
    void DesignViewWheel(QWheelEvent* event);
    // Spin edits, combo and colour boxes and sliders leave the wheel to the window.
    static bool TakesNoWheel(const QObject* o);
    // Runs a command of the layer list or the history: its refusal or failure
    // shows as an error box; the sheet is composed again.
    void RunCommand(const std::string& message);
    void UpdateUndoButtons();
    void ShowSheetNumber();
    void Error(const QString& caption, const std::string& message);

    // Options and services.
    Options options_;
    QStringList arguments_;
    MainActions* actions_ = nullptr;
    DialogProvider* dialogs_ = nullptr;
    std::unique_ptr<DialogProvider> ownDialogs_;
    platform::QtPictureDecoder decoder_;
    platform::QtFontEngine fonts_;
    // Recompositions render the same texts again: keep them.
    CachedFontEngine cachedFonts_{fonts_};
    std::unique_ptr<DesignWorkspace> workspace_;

    // Set while the window loads its controls from the workspace: their
    // change handlers send nothing back.
    bool loading_ = false;
    DialogFolders folders_;
    int composeWaitMs_ = 50;
    // "Neu", "Öffnen", "Speichern", recent designs and the recovery copy.
    DocumentCommands* documents_ = nullptr;
    bool listing_ = false;
    bool firstShow_ = true;
    // Placed by PlaceOnScreen: once framed, the whole frame is fitted to the screen.
    bool fitWhenFramed_ = false;
    std::string startMessage_; // a failure of the start, said once the window shows
    // The program's folder, as the file system names it: textures and manual lie by it.
    std::string programFolder_;
    // Made at the first call for help; a child window of this one.
    QPointer<HelpWindow> help_;
    // The design view's drag and wheel; the print page's wheel adds up here too.
    ViewNavigation navigation_{kDesignViewZoom};

    // Controls, by their form names.
    QTabWidget* PageControl2 = nullptr;
    QWidget* tabSheet2_ = nullptr;
    QWidget* tabSheet3_ = nullptr;
    QToolButton* NewMenuBtn = nullptr;
    QToolButton* TemplateBtn = nullptr;
    QToolButton* OpenBtn = nullptr;
    QToolButton* SaveBtn = nullptr;
    QToolButton* SaveAsBtn = nullptr;
    QToolButton* UndoBtn = nullptr;
    QToolButton* RedoBtn = nullptr;
    QToolButton* HilfeBtn = nullptr;
    QPushButton* NewPlaneBtn = nullptr;
    QPushButton* DelPlaneBtn = nullptr;
    QSlider* TrackBar1 = nullptr;
    TLayerList* ListView1 = nullptr;
    QToolButton* MoveUpBtn = nullptr;
    QToolButton* MoveDownBtn = nullptr;
    // Page i shows a layer of kind i; the shown page is the layer's kind.
    // The pages belong to PageControl1.
    QTabWidget* PageControl1 = nullptr;
    std::array<LayerEditor*, 5> editors_{};
    TextureEditor* textureEditor_ = nullptr;
    TSpinEdit* ZoomEd = nullptr;
    QPushButton* RerollBtn = nullptr;
    QCheckBox* HoldSheetBox = nullptr;
    QCheckBox* RepeatViewBox = nullptr;
    QLabel* SeamHintLabel = nullptr;
    DesignView* view_ = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    PaintBox* PaintBox1 = nullptr;
    QToolButton* wwwBtn = nullptr;
    TImageBtn* ueberbtn = nullptr;
    TImageBtn* endebtn = nullptr;
    QLabel* sheetLabel_ = nullptr;
    QTimer* Timer1 = nullptr;
    QPointer<QScrollArea> printScrollBox_;
};

} // namespace zb
