#pragma once
// The main window: owns the design (layer stack, paper format), the texture
// library, the compositor with its rasters, the picture the texture page
// edits, the undo history and every editor control. Widgets only collect and
// show values; the rules live in the plain functions they call (EditorValues,
// LayerStack, ViewNavigation, TextureStrip, UndoHistory, SheetSeed, WindowTitle).
//
// The pages "Papierformat wählen" (PaperPage()) and "Drucken" (PrintPage())
// are empty containers for the paper and print controls; those reach the
// design through the accessors below and keep to the `Updating` guard.
#include <QMainWindow>
#include <QPointer>
#include <QScrollArea>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "app/SheetSeed.h"
#include "app/UndoHistory.h"
#include "app/ViewNavigation.h"
#include "base/TDibRecord.h"
#include "base/TDynaArray.h"
#include "model/Design.h"
#include "output/PrinterPage.h"
#include "platform/QtFontEngine.h"
#include "platform/QtPictureDecoder.h"
#include "render/CachedFontEngine.h"
#include "render/Compositor.h"
#include "render/RandomInt.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTabWidget;
class QTimer;
class QToolButton;
class QTreeWidget;
class QWheelEvent;

namespace zb {

class TImageBtn;
class TPaloColorComboBox;
class TSpinEdit;

class DialogProvider;
class PaintBox;
struct EditorValues;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    struct Options {
        // Command-line arguments after the program name: the first names a
        // design opened at the first showing.
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
    };

    explicit TMainForm(Options options, QWidget* parent = nullptr);
    TMainForm() : TMainForm(Options{}) {}
    ~TMainForm() override;

    // Opens on the screen under the pointer, 622 x 475 (or what
    // the controls need), never larger than the screen's available area.
    void PlaceOnScreen();

    // ---- state for the paper and print pages ----------------------------------
    Design& CurrentDesign() { return *design_; }
    Compositor& DesignCompositor() { return compositor_; }
    RandomInt& Random() { return random_; }
    platform::QtFontEngine& Fonts() { return fonts_; }
    // DesignValid: the design raster holds the composition of the current stack.
    bool DesignValid() const;
    // Clears DesignValid: the next paint composes anew.
    void Invalidate();
    // The design view's paint (PaintBox1Paint): sizes the view and the
    // rasters, composes when needed, and repaints. Both passes of a size change
    // run here, so afterwards DesignValid() holds unless the size was refused.
    void PaintDesign();
    // The re-entrancy guard shared by the editor, the paper format and the zoom fields.
    bool Updating() const { return updating_; }
    void SetUpdating(bool on) { updating_ = on; }
    int Zoom() const;
    // zoomed2 of the print page: sets ZoomEd without echoing back, recomposes.
    void SetZoomFromPrintPage(double zoom);
    // The printer's page the whole-page size is taken from.
    const PrinterPage& Printer() const { return printer_; }
    void SetPrinter(const PrinterPage& printer);
    // Screen pixels per inch of the design view.
    int ScreenPpi() const;
    // A change of the paper format is one undoable step.
    void RecordUndoStep();
    // Message boxes and file dialogs (the test's, in tests).
    DialogProvider& Dialogs() { return *dialogs_; }
    QWidget* PaperPage() const { return tabSheet2_; }
    QWidget* PrintPage() const { return tabSheet3_; }
    // The print page's scroll box scrolls with the wheel while that page is shown.
    // It scrolls by the window's step there too, as the design view does.
    void SetPrintScrollBox(QScrollArea* box);
    // "Grafik anzeigen...": shows the texture page's picture; set by the viewer.
    void SetPictureViewer(std::function<void(const TDibRecord&)> viewer) { pictureViewer_ = std::move(viewer); }
    // The picture the texture page shows and edits.
    const TDibRecord& EditPicture() const { return editPicture_; }
    const TDynaArray<TDibRecord>& Textures() const { return textures_; }
    int SelectedTexture() const { return selectedTexture_; }
    const QString& SavedFileName() const { return savedfilename_; }
    // Compositions run since start-up (for tests and benchmarks).
    int CompositionCount() const { return compositions_; }
    const UndoHistory& History() const { return history_; }
    const SheetSeed& Sheet() const { return sheet_; }

    // ---- handlers, named after their control and event ----------------------
    void ListPlanes();
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
    void OpenBtnClick();
    void SaveBtnClick();
    void SaveAsBtnClick();
    void Setsavedfilename(const QString& name);
    // Open and save with messages; true on success.
    bool openfile(const QString& name);
    bool savefile(const QString& name);
    void OpenPicBtnClick();
    void ShowPicBtnClick();
    void PaintBox3MouseDown(int x);
    void PaintBox3DblClick();
    void PaintBox4Paint();
    void EndeBtnClick();
    void ueberbtnClick();
    void wwwBtnClick();
    void UndoBtnClick();
    void RedoBtnClick();
    void RerollBtnClick();
    void HoldSheetClick();

signals:
    // ZoomEd changed: the print page's zoomed2 follows (sent under Updating).
    void zoomChanged(double zoom);
    // The design was replaced or restored (open, new, undo, redo): the paper
    // page loads its fields from CurrentDesign().Paper (sent under Updating).
    void designReplaced();
    // The design view was painted: the print preview repaints.
    void designPainted();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction of the pages (TMainFormLayout.cpp).
    void BuildWindow();
    QWidget* BuildFileStrip();
    QWidget* BuildLayerPage();
    QWidget* BuildEditor();
    QWidget* BuildGradientPage();
    QWidget* BuildPatternPage();
    QWidget* BuildTexturePage();
    QWidget* BuildFilterPage();
    QWidget* BuildTextPage();
    QWidget* BuildBottomStrip();
    void ConnectEditor();
    void SetUpShortcuts();

    EditorValues CollectEditorValues() const;
    void ShowEditorValues(const EditorValues& values);
    void SelectFont(const QString& family);
    int SelectedRow() const;
    void SizeTextureStrip();
    void PaintBox1Draw(QPainter& painter, const QRect& exposed);
    void PaintBox3Draw(QPainter& painter, const QRect& exposed);
    void PaintBox4Draw(QPainter& painter, const QRect& exposed);
    void DesignViewWheel(QWheelEvent* event);
    void ScrollWheel(QScrollArea* box, int notches);
    void CommitPendingEdit();
    void AfterStructureChange();
    // Runs a delete or move of the layer list: its refusal shows as an error
    // box and changes nothing; otherwise the list is rebuilt and the design
    // recomposed, the editor reloaded when another layer became current.
    void StackCommand(const std::function<std::string()>& command, bool reloadEditor);
    void AfterRestore(const std::string& message);
    void UpdateUndoButtons();
    void ShowSheetNumber();
    void Error(const QString& caption, const std::string& message);
    QString DialogFolder() const;
    void LoadPaperIntoControls();

    // Options and services.
    QStringList arguments_;
    DialogProvider* dialogs_ = nullptr;
    std::unique_ptr<DialogProvider> ownDialogs_;
    PrinterPage printer_;
    platform::QtPictureDecoder decoder_;
    platform::QtFontEngine fonts_;
    // Recompositions render the same texts again: keep them.
    CachedFontEngine cachedFonts_{fonts_};
    std::function<void(const TDibRecord&)> pictureViewer_;

    // The design and what is derived from it.
    std::unique_ptr<Design> design_;
    TDibRecord* currentTexture_ = nullptr;
    TDynaArray<TDibRecord> textures_{&currentTexture_};
    TDibRecord editPicture_{};
    // The selected layer's picture may differ from editPicture_: the next
    // ReadBackOptions copies it (a layer loaded into the editor holds the same
    // pixels, and copying a large photo on every keystroke would be wasted).
    bool editPictureDiffers_ = true;
    Compositor compositor_;
    RandomInt random_;
    SheetSeed sheet_;
    UndoHistory history_;
    bool editPending_ = false;

    bool updating_ = false;
    bool listing_ = false;
    bool firstShow_ = true;
    QString savedfilename_;
    int selectedTexture_ = 0;
    int compositions_ = 0;
    int wheelRemainder_ = 0;
    DragPan drag_;

    // Controls, by their form names.
    QTabWidget* PageControl2 = nullptr;
    QWidget* tabSheet2_ = nullptr;
    QWidget* tabSheet3_ = nullptr;
    QToolButton* NewMenuBtn = nullptr;
    QToolButton* OpenBtn = nullptr;
    QToolButton* SaveBtn = nullptr;
    QToolButton* SaveAsBtn = nullptr;
    QToolButton* UndoBtn = nullptr;
    QToolButton* RedoBtn = nullptr;
    QPushButton* NewPlaneBtn = nullptr;
    QPushButton* DelPlaneBtn = nullptr;
    QSlider* TrackBar1 = nullptr;
    QTreeWidget* ListView1 = nullptr;
    QToolButton* MoveUpBtn = nullptr;
    QToolButton* MoveDownBtn = nullptr;
    QTabWidget* PageControl1 = nullptr;
    TPaloColorComboBox* FillCol1 = nullptr;
    TPaloColorComboBox* FillCol2 = nullptr;
    QButtonGroup* FillDirection = nullptr;
    QComboBox* MTypBox = nullptr;
    QComboBox* MColBox = nullptr;
    TPaloColorComboBox* MusterCol = nullptr;
    QComboBox* MSizeBox = nullptr;
    TSpinEdit* MSizeEd = nullptr;
    QComboBox* MPosBox = nullptr;
    TSpinEdit* AnzMEd = nullptr;
    QPushButton* OpenPicBtn = nullptr;
    QPushButton* ShowPicBtn = nullptr;
    TSpinEdit* PicBreitEd = nullptr;
    QScrollArea* ScrollBox4 = nullptr;
    PaintBox* PaintBox4 = nullptr;
    QScrollArea* ScrollBox3 = nullptr;
    PaintBox* PaintBox3 = nullptr;
    QComboBox* FilterBox = nullptr;
    QLineEdit* TextEd = nullptr;
    QComboBox* FColBox = nullptr;
    TPaloColorComboBox* FColor = nullptr;
    QComboBox* FSizeKBox = nullptr;
    TSpinEdit* FSizeEd = nullptr;
    QComboBox* FPosBox = nullptr;
    QComboBox* FKindBox = nullptr;
    QComboBox* FontBox = nullptr;
    QSlider* TrackBar2 = nullptr;
    TSpinEdit* ZoomEd = nullptr;
    QPushButton* RerollBtn = nullptr;
    QCheckBox* HoldSheetBox = nullptr;
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
