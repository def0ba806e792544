// Construction of the main window's controls and their wiring. The handlers
// live in TMainForm.cpp.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/DesignView.h"
#include "app/DocumentCommands.h"
#include "app/FilterEditor.h"
#include "app/FormControls.h"
#include "app/GradientEditor.h"
#include "app/MainActions.h"
#include "app/PatternEditor.h"
#include "app/Pictures.h"
#include "app/ProjectInfo.h"
#include "app/TImageBtn.h"
#include "app/TLayerList.h"
#include "app/TMainForm.h"
#include "app/TSpinEdit.h"
#include "app/TextEditor.h"
#include "app/TextureEditor.h"
#include "model/LayerChoices.h"
#include "model/SpinField.h"
#include "viewer/PaintBox.h"

namespace zb {

namespace {

// A button of the file strip showing its command's caption, icon and tool tip.
QToolButton* FileButton(const char* name, QAction* action) {
    auto* b = new QToolButton;
    b->setObjectName(QString::fromLatin1(name));
    b->setDefaultAction(action);
    b->setIconSize(QSize(16, 16));
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return b;
}

// A button that keeps its own caption and look but gives its command: it
// runs the action and is enabled with it.
void Bind(QAbstractButton* button, QAction* action) {
    QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
    QObject::connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
    button->setEnabled(action->isEnabled());
}

// A check box and a checkable action show one choice.
void Bind(QCheckBox* box, QAction* action) {
    QObject::connect(box, &QCheckBox::toggled, action, &QAction::setChecked);
    QObject::connect(action, &QAction::toggled, box, &QCheckBox::setChecked);
}

} // namespace

void TMainForm::BuildWindow() {
    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    actions_ = new MainActions(this);
    auto* menus = new QMenuBar;
    menus->setObjectName(QStringLiteral("MainMenu"));
    actions_->FillMenuBar(menus);
    // The file strip shares the menus' row, help and the picture buttons the
    // pages' tabs: rows of their own would take the design view's height,
    // which a small screen lacks.
    menus->setCornerWidget(BuildFileStrip(), Qt::TopRightCorner);
    setMenuBar(menus);
    QWidget* pictureButtons = BuildBottomStrip();

    PageControl2 = new QTabWidget;
    PageControl2->setObjectName(QStringLiteral("PageControl2"));
    PageControl2->setDocumentMode(true);
    Named(PageControl2, "Seiten");
    PageControl2->addTab(BuildLayerPage(), LoadIcon(QString::fromLatin1(pic::kTabEbenen)), QStringLiteral("Grafik-Ebenen"));
    tabSheet2_ = new QWidget;
    tabSheet2_->setObjectName(QStringLiteral("TabSheet2"));
    PageControl2->addTab(tabSheet2_, LoadIcon(QString::fromLatin1(pic::kTabPapierformat)), QString::fromUtf8("Papierformat wählen"));
    tabSheet3_ = new QWidget;
    tabSheet3_->setObjectName(QStringLiteral("TabSheet3"));
    PageControl2->addTab(tabSheet3_, LoadIcon(QString::fromLatin1(pic::kTabDrucken)), QStringLiteral("Drucken"));
    PageControl2->setCurrentIndex(0);
    PageControl2->setCornerWidget(pictureButtons, Qt::TopRightCorner);
    column->addWidget(PageControl2, 1);
    setCentralWidget(central);

    auto* status = new QStatusBar;
    status->setObjectName(QStringLiteral("StatusBar1"));
    sheetLabel_ = new QLabel;
    sheetLabel_->setObjectName(QStringLiteral("SheetLabel"));
    sheetLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status->addWidget(sheetLabel_, 1);
    // A view setting of the design view; in the status bar it takes none of
    // the view's height, and the column beside the editor is full.
    RepeatViewBox = new QCheckBox(QStringLiteral("Wiederholung zeigen"));
    RepeatViewBox->setObjectName(QStringLiteral("RepeatViewBox"));
    RepeatViewBox->setToolTip(QString::fromUtf8(
        "Zeigt den Bogen 3 x 3 mal, wie er sich wiederholt, so dass Nähte schon hier zu sehen sind"));
    status->addPermanentWidget(RepeatViewBox);
    // The maker's address at the right of the status bar.
    wwwBtn->setIconSize(QSize(12, 12));
    status->addPermanentWidget(wwwBtn);
    setStatusBar(status);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);

    ConnectEditor();
    ConnectActions();
}

QWidget* TMainForm::BuildFileStrip() {
    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("Panel25"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(2);
    NewMenuBtn = FileButton("NewMenuBtn", actions_->New);
    TemplateBtn = FileButton("TemplateBtn", actions_->NewFromTemplate);
    OpenBtn = FileButton("OpenBtn", actions_->Open);
    SaveBtn = FileButton("SaveBtn", actions_->Save);
    SaveAsBtn = FileButton("SaveAsBtn", actions_->SaveAs);
    UndoBtn = FileButton("UndoBtn", actions_->Undo);
    RedoBtn = FileButton("RedoBtn", actions_->Redo);
    for (QToolButton* b : {NewMenuBtn, TemplateBtn, OpenBtn, SaveBtn, SaveAsBtn}) row->addWidget(b);
    auto* gap = new QFrame;
    gap->setFrameShape(QFrame::VLine);
    gap->setFrameShadow(QFrame::Sunken);
    row->addWidget(gap);
    row->addWidget(UndoBtn);
    row->addWidget(RedoBtn);
    // The designs used last, in a drop-down beside "Öffnen..." and in the menu "Datei".
    OpenBtn->setMenu(actions_->Recent);
    OpenBtn->setPopupMode(QToolButton::MenuButtonPopup);
    connect(actions_->Recent, &QMenu::aboutToShow, this, [this] { documents_->FillRecentMenu(actions_->Recent); });
    return panel;
}

QWidget* TMainForm::BuildLayerPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(4, 2, 4, 2);
    column->setSpacing(2);

    auto* header = new QLabel(
        QString::fromUtf8("Grafik-Ebenen - Hier können Sie mehrere Texturen und Effekte übereinanderlegen"));
    header->setObjectName(QStringLiteral("Panel1"));
    header->setFrameStyle(QFrame::Panel | QFrame::Raised);
    header->setAutoFillBackground(true);
    QPalette headerPalette = header->palette();
    headerPalette.setColor(QPalette::Window, QColor(240, 202, 166));
    headerPalette.setColor(QPalette::WindowText, Qt::black);
    header->setPalette(headerPalette);
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    header->setContentsMargins(4, 2, 4, 2);
    header->setWordWrap(true);
    column->addWidget(header);

    // Left column: the list's buttons and the transparency; then the list with
    // its move buttons; then the editor.
    auto* top = new QHBoxLayout;
    auto* left = new QWidget;
    left->setObjectName(QStringLiteral("Panel2"));
    left->setFixedWidth(185);
    auto* leftColumn = new QVBoxLayout(left);
    leftColumn->setContentsMargins(0, 0, 0, 0);
    NewPlaneBtn = new QPushButton(QStringLiteral("Neue Ebene"));
    NewPlaneBtn->setObjectName(QStringLiteral("NewPlaneBtn"));
    DelPlaneBtn = new QPushButton(QString::fromUtf8("Löschen"));
    DelPlaneBtn->setObjectName(QStringLiteral("DelPlaneBtn"));
    TrackBar1 = ElevenStepSlider("TrackBar1");
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(NewPlaneBtn);
    listButtons->addWidget(DelPlaneBtn);
    leftColumn->addLayout(listButtons);
    leftColumn->addWidget(LabelFor("Transparenz:", TrackBar1));
    leftColumn->addWidget(TrackBar1);
    leftColumn->addStretch(1);
    // The zoom and the sheet commands, beside the editor rather than above
    // the design view: its height is what a small screen lacks.
    BuildZoomRows(leftColumn);
    top->addWidget(left);

    ListView1 = new TLayerList;
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setMinimumWidth(120);
    ListView1->setMaximumWidth(190);
    Named(ListView1, "Ebenenliste");
    ListView1->viewport()->installEventFilter(this);
    top->addWidget(ListView1);

    auto* moveColumn = new QVBoxLayout;
    MoveUpBtn = new QToolButton;
    MoveUpBtn->setObjectName(QStringLiteral("MoveUpBtn"));
    MoveUpBtn->setToolTip(QStringLiteral("Nach oben verschieben"));
    Named(MoveUpBtn, "Nach oben verschieben");
    MoveUpBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    MoveDownBtn = new QToolButton;
    MoveDownBtn->setObjectName(QStringLiteral("MoveDownBtn"));
    MoveDownBtn->setToolTip(QStringLiteral("Nach uten verschieben"));
    Named(MoveDownBtn, "Nach uten verschieben");
    MoveDownBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    moveColumn->addWidget(MoveUpBtn);
    moveColumn->addWidget(MoveDownBtn);
    moveColumn->addStretch(1);
    top->addLayout(moveColumn);
    top->addWidget(BuildEditor(), 1);
    column->addLayout(top);

    // What keeps a seamless sheet from repeating without a seam.
    SeamHintLabel = new QLabel;
    SeamHintLabel->setObjectName(QStringLiteral("ViewSeamHintLabel"));
    SeamHintLabel->setWordWrap(true);
    SeamHintLabel->setVisible(false);
    column->addWidget(SeamHintLabel);

    DesignView::Hooks hooks;
    hooks.error = [this](const std::string& message) { Error(QString(), message); };
    hooks.status = [this](const QString& message) {
        if (message.isEmpty()) statusBar()->clearMessage();
        else statusBar()->showMessage(message);
    };
    hooks.editPending = [this] { return Timer1->isActive(); };
    hooks.restoreZoom = [this](double zoom) { ZoomEd->SetValue(zoom); };
    view_ = new DesignView(*workspace_, navigation_, composeWaitMs_, std::move(hooks));
    ScrollBox1 = view_;
    PaintBox1 = view_->Surface();
    ScrollBox1->viewport()->installEventFilter(this);
    PaintBox1->installEventFilter(this);
    column->addWidget(ScrollBox1, 1);

    return page;
}

void TMainForm::BuildZoomRows(QVBoxLayout* column) {
    auto* zoomRow = new QHBoxLayout;
    ZoomEd = new TSpinEdit(kZoomEd, kDesignViewZoom.step);
    ZoomEd->setObjectName(QStringLiteral("ZoomEd"));
    ZoomEd->SetValue(30);
    zoomRow->addWidget(LabelFor("&Zoom:", ZoomEd));
    zoomRow->addWidget(ZoomEd);
    zoomRow->addWidget(new QLabel(QStringLiteral("%")));
    zoomRow->addStretch(1);
    column->addLayout(zoomRow);
    RerollBtn = new QPushButton(QString::fromUtf8("Neu würfeln"));
    RerollBtn->setObjectName(QStringLiteral("RerollBtn"));
    RerollBtn->setIcon(LoadIcon(QString::fromLatin1(pic::kNeuWuerfeln)));
    RerollBtn->setToolTip(QString::fromUtf8("Einen neuen Bogen desselben Entwurfs zusammensetzen (F5)"));
    HoldSheetBox = new QCheckBox(QStringLiteral("Bogen festhalten"));
    HoldSheetBox->setObjectName(QStringLiteral("HoldSheetBox"));
    HoldSheetBox->setToolTip(
        QString::fromUtf8("Auch beim Öffnen und bei \"Neu\" bleibt der gezeigte Bogen (seine Nummer) erhalten"));
    column->addWidget(RerollBtn);
    column->addWidget(HoldSheetBox);
}

QWidget* TMainForm::BuildEditor() {
    PageControl1 = Control(new QTabWidget, "PageControl1");
    // 193 pixels high, or what the fullest page needs with larger fonts.
    PageControl1->setMinimumHeight(193);
    PageControl1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    Named(PageControl1, "Ebeneneditor");
    textureEditor_ = new TextureEditor(*workspace_, *dialogs_, decoder_, folders_, [this] { return SavedFileName(); });
    editors_ = {new GradientEditor, new PatternEditor, textureEditor_, new FilterEditor,
                new TextEditor(fonts_.Families())};
    for (size_t kind = 0; kind < editors_.size(); ++kind) {
        PageControl1->addTab(editors_[kind], FromUtf8(kKindPageCaptions[kind]));
        connect(editors_[kind], &LayerEditor::changed, this, &TMainForm::ReadBackOptions);
    }
    // All five captions stay readable: the window grows rather than hiding tabs.
    PageControl1->setUsesScrollButtons(false);
    PageControl1->setCurrentIndex(kKindTexture);
    return PageControl1;
}

QWidget* TMainForm::BuildBottomStrip() {
    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("Panel7"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 2, 0);
    HilfeBtn = new QToolButton;
    HilfeBtn->setObjectName(QStringLiteral("HilfeBtn"));
    HilfeBtn->setText(QStringLiteral("Hilfe"));
    HilfeBtn->setToolTip(QStringLiteral("Das Handbuch zeigen (F1)"));
    HilfeBtn->setIcon(LoadIcon(QString::fromLatin1(pic::kHilfe)));
    HilfeBtn->setIconSize(QSize(16, 16));
    HilfeBtn->setAutoRaise(true);
    HilfeBtn->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    row->addWidget(HilfeBtn);
    row->addSpacing(6);
    wwwBtn = new QToolButton;
    wwwBtn->setObjectName(QStringLiteral("wwwBtn"));
    wwwBtn->setText(QString::fromUtf8(kProjectWebAddress));
    wwwBtn->setToolTip(QStringLiteral("Auf zur VELKAN Homepage..."));
    wwwBtn->setIcon(LoadIcon(QString::fromLatin1(pic::kWeb)));
    wwwBtn->setAutoRaise(true);
    wwwBtn->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ueberbtn = new TImageBtn;
    ueberbtn->setObjectName(QStringLiteral("ueberbtn"));
    ueberbtn->setToolTip(QString::fromUtf8("Informationen über das Programm"));
    Named(ueberbtn, "Informationen über das Programm");
    endebtn = new TImageBtn;
    endebtn->setObjectName(QStringLiteral("endebtn"));
    endebtn->setToolTip(QStringLiteral("Hiermit verlassen Sie das Programm"));
    Named(endebtn, "Hiermit verlassen Sie das Programm");
    const qreal dpr = devicePixelRatioF();
    ueberbtn->SetPicture(LoadPicture(QString::fromLatin1(pic::kUeberBtn), pic::kButtonSize, dpr));
    ueberbtn->SetPicture2(LoadPicture(QString::fromLatin1(pic::kUeberBtnPressed), pic::kButtonSize, dpr));
    endebtn->SetPicture(LoadPicture(QString::fromLatin1(pic::kEndeBtn), pic::kButtonSize, dpr));
    endebtn->SetPicture2(LoadPicture(QString::fromLatin1(pic::kEndeBtnPressed), pic::kButtonSize, dpr));
    row->addWidget(ueberbtn);
    row->addWidget(endebtn);
    connect(HilfeBtn, &QToolButton::clicked, this, &TMainForm::HilfeBtnClick);
    connect(wwwBtn, &QToolButton::clicked, this, &TMainForm::wwwBtnClick);
    connect(ueberbtn, &TImageBtn::clicked, actions_->About, &QAction::trigger);
    connect(endebtn, &TImageBtn::clicked, actions_->Quit, &QAction::trigger);
    return panel;
}

void TMainForm::BuildDocumentCommands(int autosaveMs) {
    DocumentCommands::Window window;
    window.parent = this;
    window.paint = [this] { PaintDesign(); };
    window.error = [this](const std::string& message) { Error({}, message); };
    window.status = [this](const QString& message, const QString& whole) {
        statusBar()->showMessage(message);
        statusBar()->setToolTip(whole);
        // The tooltip goes with the message.
        connect(
            statusBar(), &QStatusBar::messageChanged, statusBar(), [bar = statusBar()] { bar->setToolTip({}); },
            Qt::SingleShotConnection);
    };
    window.savedFileName = [this] { return SavedFileName(); };
    window.restoreElsewhere = [this](const RecoveryCopy::Leftover& leftover) { RestoreInNewWindow(leftover); };
    documents_ = new DocumentCommands(*workspace_, *dialogs_, folders_, std::move(window), autosaveMs);
    documents_->setParent(this);
}

void TMainForm::ConnectEditor() {
    // Every control writes the whole layer back, unless it is being loaded;
    // the pages guard their own controls.
    auto edit = [this] {
        if (!loading_) ReadBackOptions();
    };
    connect(PageControl1, &QTabWidget::currentChanged, this, edit);
    connect(TrackBar1, &QSlider::valueChanged, this, edit);

    connect(ZoomEd, &TSpinEdit::Change, this, &TMainForm::ZoomEDChange);
    connect(ListView1, &TLayerList::Renamed, this, [this](int row, const QString& name) {
        workspace_->RenameLayer(row, name.toStdString());
        // The row shows the name the design keeps (the caption for an empty one).
        ListPlanes();
    });
    connect(ListView1, &TLayerList::VisibilityChanged, this, [this](int row, bool visible) {
        workspace_->SetLayerVisible(row, visible);
        PaintDesign();
    });
    connect(ListView1, &TLayerList::Moved, this,
            [this](int from, int to) { RunCommand(workspace_->MoveLayer(from, to)); });
    // The list's context menu: the commands of its rows.
    ListView1->addActions({actions_->DuplicateLayer, actions_->DeleteLayer});
    ListView1->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, [this] {
        // Keyboard moves in the list select like a click.
        if (listing_) return;
        const int row = SelectedRow();
        if (row >= 0 && row != workspace_->CurrentIndex()) ListView1Click();
    });
}

void TMainForm::ConnectActions() {
    MainActions& a = *actions_;
    const struct {
        QAction* action;
        void (TMainForm::*handler)();
    } commands[] = {
        {a.New, &TMainForm::NewMenuBtnClick},     {a.Open, &TMainForm::OpenBtnClick},
        {a.NewFromTemplate, &TMainForm::TemplateBtnClick}, {a.DuplicateLayer, &TMainForm::DuplicateLayerClick},
        {a.Save, &TMainForm::SaveBtnClick},       {a.SaveAs, &TMainForm::SaveAsBtnClick},
        {a.Print, &TMainForm::PrintClick},        {a.Export, &TMainForm::ExportClick},
        {a.Quit, &TMainForm::EndeBtnClick},       {a.Undo, &TMainForm::UndoBtnClick},
        {a.Redo, &TMainForm::RedoBtnClick},       {a.Paste, &TMainForm::PasteClick},
        {a.ActualSize, &TMainForm::ActualSizeClick}, {a.WholePage, &TMainForm::WholePageClick},
        {a.NewLayer, &TMainForm::NewPlaneBtnClick}, {a.DeleteLayer, &TMainForm::DelPlaneBtnClick},
        {a.MoveUp, &TMainForm::MoveUpBtnClick},   {a.MoveDown, &TMainForm::MoveDownBtnClick},
        {a.Reroll, &TMainForm::RerollBtnClick},   {a.Manual, &TMainForm::HelpKey},
        {a.About, &TMainForm::ueberbtnClick},
    };
    for (const auto& c : commands) connect(c.action, &QAction::triggered, this, c.handler);
    connect(a.ZoomIn, &QAction::triggered, this, [this] { StepZoomClick(+1); });
    connect(a.ZoomOut, &QAction::triggered, this, [this] { StepZoomClick(-1); });

    // The buttons keep their places and captions and give the same commands.
    Bind(NewPlaneBtn, a.NewLayer);
    Bind(DelPlaneBtn, a.DeleteLayer);
    Bind(MoveUpBtn, a.MoveUp);
    Bind(MoveDownBtn, a.MoveDown);
    Bind(RerollBtn, a.Reroll);
    Bind(HoldSheetBox, a.HoldSheet);
    Bind(RepeatViewBox, a.ShowRepeat);
    connect(HoldSheetBox, &QCheckBox::toggled, this, &TMainForm::HoldSheetClick);
    connect(RepeatViewBox, &QCheckBox::toggled, this, [this](bool shown) {
        view_->SetShowRepeat(shown);
        PaintDesign();
    });
}

} // namespace zb
