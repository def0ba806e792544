// Construction of the main window's controls and their wiring. The handlers
// live in TMainForm.cpp.
#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Cp1252Validator.h"
#include "app/Pictures.h"
#include "app/ProjectInfo.h"
#include "app/TImageBtn.h"
#include "app/TMainForm.h"
#include "app/TPaloColorComboBox.h"
#include "app/TSpinEdit.h"
#include "app/TextureStrip.h"
#include "imaging/FilterTable.h"
#include "model/LayerChoices.h"
#include "model/Cp1252.h"
#include "model/SpinField.h"
#include "viewer/PaintBox.h"

namespace zb {

namespace {

QString U(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

template <size_t N>
QComboBox* ChoiceBox(const char* name, const std::array<std::string_view, N>& captions) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    for (std::string_view c : captions) box->addItem(U(c));
    return box;
}

// A label that names `buddy` for the keyboard and for assistive technology.
QLabel* LabelFor(const char* text, QWidget* buddy) {
    auto* label = new QLabel(QString::fromUtf8(text));
    label->setBuddy(buddy);
    return label;
}

QToolButton* FileButton(const char* name, const char* caption, const char* hint, const char* icon) {
    auto* b = new QToolButton;
    b->setObjectName(QString::fromLatin1(name));
    b->setText(QString::fromUtf8(caption));
    b->setToolTip(QString::fromUtf8(hint));
    b->setIcon(LoadIcon(QString::fromLatin1(icon)));
    b->setIconSize(QSize(16, 16));
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return b;
}

void Named(QWidget* w, const char* accessibleName) { w->setAccessibleName(QString::fromUtf8(accessibleName)); }

QScrollArea* WorkspaceScrollBox(const char* name) {
    auto* box = new QScrollArea;
    box->setObjectName(QString::fromLatin1(name));
    box->setWidgetResizable(false);
    box->setBackgroundRole(QPalette::Dark);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return box;
}

} // namespace

void TMainForm::BuildWindow() {
    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(BuildFileStrip());

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
    column->addWidget(PageControl2, 1);
    column->addWidget(BuildBottomStrip());
    setCentralWidget(central);

    auto* status = new QStatusBar;
    status->setObjectName(QStringLiteral("StatusBar1"));
    sheetLabel_ = new QLabel;
    sheetLabel_->setObjectName(QStringLiteral("SheetLabel"));
    sheetLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    sheetLabel_->setToolTip(QString::fromUtf8("Nummer des gezeigten Bogens, für \"zierbogen render --seed\""));
    status->addWidget(sheetLabel_, 1);
    setStatusBar(status);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);

    ConnectEditor();
    SetUpShortcuts();
}

QWidget* TMainForm::BuildFileStrip() {
    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("Panel25"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(2);
    NewMenuBtn = FileButton("NewMenuBtn", "&Neu", "Neu - alles zurücksetzen", pic::kNeu);
    OpenBtn = FileButton("OpenBtn", "Ö&ffnen...", "Gespeicherten Strichbogen öffnen...", pic::kOeffnen);
    SaveBtn = FileButton("SaveBtn", "&Speichern", "Strichbogen speichern", pic::kSpeichern);
    SaveAsBtn = FileButton("SaveAsBtn", "Speichern &unter...", "Strichbogen speichern unter...",
                           pic::kSpeichernUnter);
    UndoBtn = FileButton("UndoBtn", "Rückgängig", "Letzte Änderung rückgängig machen (Strg+Z)", pic::kUndo);
    RedoBtn = FileButton("RedoBtn", "Wiederholen", "Rückgängig gemachte Änderung wiederholen (Strg+Umschalt+Z)",
                         pic::kRedo);
    for (QToolButton* b : {NewMenuBtn, OpenBtn, SaveBtn, SaveAsBtn}) row->addWidget(b);
    auto* gap = new QFrame;
    gap->setFrameShape(QFrame::VLine);
    gap->setFrameShadow(QFrame::Sunken);
    row->addWidget(gap);
    row->addWidget(UndoBtn);
    row->addWidget(RedoBtn);
    row->addStretch(1);
    connect(NewMenuBtn, &QToolButton::clicked, this, &TMainForm::NewMenuBtnClick);
    connect(OpenBtn, &QToolButton::clicked, this, &TMainForm::OpenBtnClick);
    connect(SaveBtn, &QToolButton::clicked, this, &TMainForm::SaveBtnClick);
    connect(SaveAsBtn, &QToolButton::clicked, this, &TMainForm::SaveAsBtnClick);
    connect(UndoBtn, &QToolButton::clicked, this, &TMainForm::UndoBtnClick);
    connect(RedoBtn, &QToolButton::clicked, this, &TMainForm::RedoBtnClick);
    return panel;
}

QWidget* TMainForm::BuildLayerPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);

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
    TrackBar1 = new QSlider(Qt::Horizontal);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(0, 10);
    TrackBar1->setPageStep(1);
    TrackBar1->setTickInterval(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setValue(5);
    leftColumn->addWidget(NewPlaneBtn);
    leftColumn->addWidget(DelPlaneBtn);
    leftColumn->addSpacing(6);
    leftColumn->addWidget(LabelFor("Transparenz:", TrackBar1));
    leftColumn->addWidget(TrackBar1);
    leftColumn->addStretch(1);
    top->addWidget(left);

    ListView1 = new QTreeWidget;
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(1);
    ListView1->setHeaderLabels({QStringLiteral("Ebene")});
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setMinimumWidth(110);
    ListView1->setMaximumWidth(140);
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

    // Zoom row with the sheet commands.
    auto* zoomRow = new QHBoxLayout;
    ZoomEd = new TSpinEdit(kZoomEd, kDesignViewZoom.step);
    ZoomEd->setObjectName(QStringLiteral("ZoomEd"));
    ZoomEd->SetValue(30);
    zoomRow->addWidget(LabelFor("&Zoom:", ZoomEd));
    zoomRow->addWidget(ZoomEd);
    zoomRow->addWidget(new QLabel(QStringLiteral("%")));
    zoomRow->addSpacing(16);
    RerollBtn = new QPushButton(QString::fromUtf8("Neu würfeln"));
    RerollBtn->setObjectName(QStringLiteral("RerollBtn"));
    RerollBtn->setIcon(LoadIcon(QString::fromLatin1(pic::kNeuWuerfeln)));
    RerollBtn->setToolTip(QString::fromUtf8("Einen neuen Bogen desselben Entwurfs zusammensetzen (F5)"));
    HoldSheetBox = new QCheckBox(QStringLiteral("Bogen festhalten"));
    HoldSheetBox->setObjectName(QStringLiteral("HoldSheetBox"));
    HoldSheetBox->setToolTip(
        QString::fromUtf8("Beim Bearbeiten, Zoomen und Vergrößern bleibt der gezeigte Bogen erhalten"));
    zoomRow->addWidget(RerollBtn);
    zoomRow->addWidget(HoldSheetBox);
    zoomRow->addStretch(1);
    column->addLayout(zoomRow);

    ScrollBox1 = WorkspaceScrollBox("ScrollBox1");
    Named(ScrollBox1, "Entwurfsansicht");
    PaintBox1 = new PaintBox(nullptr, PaintBox::Fill::ByOwner);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    Named(PaintBox1, "Entwurfsansicht");
    PaintBox1->setCursor(Qt::PointingHandCursor);
    PaintBox1->setFixedSize(0, 0);
    ScrollBox1->setWidget(PaintBox1);
    ScrollBox1->viewport()->installEventFilter(this);
    PaintBox1->installEventFilter(this);
    column->addWidget(ScrollBox1, 1);

    PaintBox1->onPaint = [this](QPainter& p, const QRect& r) { PaintBox1Draw(p, r); };
    PaintBox1->PanWithin(ScrollBox1, &navigation_);
    return page;
}

QWidget* TMainForm::BuildEditor() {
    PageControl1 = new QTabWidget;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    // 193 pixels high, or what the fullest page needs with larger fonts.
    PageControl1->setMinimumHeight(193);
    PageControl1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    Named(PageControl1, "Ebeneneditor");
    PageControl1->addTab(BuildGradientPage(), U(kKindPageCaptions[0]));
    PageControl1->addTab(BuildPatternPage(), U(kKindPageCaptions[1]));
    PageControl1->addTab(BuildTexturePage(), U(kKindPageCaptions[2]));
    PageControl1->addTab(BuildFilterPage(), U(kKindPageCaptions[3]));
    PageControl1->addTab(BuildTextPage(), U(kKindPageCaptions[4]));
    // All five captions stay readable: the window grows rather than hiding tabs.
    PageControl1->setUsesScrollButtons(false);
    PageControl1->setCurrentIndex(kKindTexture);
    return PageControl1;
}

QWidget* TMainForm::BuildGradientPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("FarbverlaufSheet"));
    auto* grid = new QGridLayout(page);
    FillCol1 = new TPaloColorComboBox;
    FillCol1->setObjectName(QStringLiteral("FillCol1"));
    FillCol2 = new TPaloColorComboBox;
    FillCol2->setObjectName(QStringLiteral("FillCol2"));
    grid->addWidget(LabelFor("Farbe 1:", FillCol1), 0, 0);
    grid->addWidget(FillCol1, 0, 1);
    grid->addWidget(LabelFor("Farbe 2:", FillCol2), 1, 0);
    grid->addWidget(FillCol2, 1, 1);
    auto* group = new QGroupBox(QString::fromUtf8("Füllrichtung"));
    group->setObjectName(QStringLiteral("FillDirection"));
    auto* radios = new QVBoxLayout(group);
    radios->setSpacing(0);
    FillDirection = new QButtonGroup(this);
    FillDirection->setObjectName(QStringLiteral("FillDirectionGroup"));
    for (size_t i = 0; i < kGradientDirectionCaptions.size(); ++i) {
        auto* radio = new QRadioButton(U(kGradientDirectionCaptions[i]));
        radio->setObjectName(QStringLiteral("FillDirection%1").arg(i));
        FillDirection->addButton(radio, int(i));
        radios->addWidget(radio);
    }
    FillDirection->button(0)->setChecked(true);
    grid->addWidget(group, 0, 2, 3, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    return page;
}

QWidget* TMainForm::BuildPatternPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("MusterSheet"));
    auto* grid = new QGridLayout(page);
    MTypBox = ChoiceBox("MTypBox", kPatternShapeCaptions);
    MColBox = ChoiceBox("MColBox", kColorModeCaptions);
    MusterCol = new TPaloColorComboBox;
    MusterCol->setObjectName(QStringLiteral("MusterCol"));
    Named(MusterCol, "Musterfarbe");
    MSizeBox = ChoiceBox("MSizeBox", kPatternSizeModeCaptions);
    MSizeEd = new TSpinEdit(kMSizeEd, 1);
    MSizeEd->setObjectName(QStringLiteral("MSizeEd"));
    Named(MSizeEd, "Mustergröße in mm");
    MPosBox = ChoiceBox("MPosBox", kPositionModeCaptions);
    AnzMEd = new TSpinEdit(kAnzMEd, 1);
    AnzMEd->setObjectName(QStringLiteral("AnzMEd"));
    grid->addWidget(LabelFor("Muster Typ:", MTypBox), 0, 0);
    grid->addWidget(MTypBox, 0, 1);
    grid->addWidget(LabelFor("Farbe:", MColBox), 1, 0);
    grid->addWidget(MColBox, 1, 1);
    grid->addWidget(MusterCol, 1, 2, 1, 2);
    grid->addWidget(LabelFor("Größe:", MSizeBox), 2, 0);
    grid->addWidget(MSizeBox, 2, 1);
    grid->addWidget(MSizeEd, 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("mm")), 2, 3);
    grid->addWidget(LabelFor("Position:", MPosBox), 3, 0);
    grid->addWidget(MPosBox, 3, 1);
    grid->addWidget(LabelFor("Anzahl:", AnzMEd), 4, 0);
    grid->addWidget(AnzMEd, 4, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(5, 1);
    return page;
}

QWidget* TMainForm::BuildTexturePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TexturSheet"));
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("Panel5"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    OpenPicBtn = new QPushButton(QString::fromUtf8("Grafik öffnen..."));
    OpenPicBtn->setObjectName(QStringLiteral("OpenPicBtn"));
    OpenPicBtn->setIcon(LoadIcon(QString::fromLatin1(pic::kOeffnen)));
    ShowPicBtn = new QPushButton(QStringLiteral("Grafik anzeigen..."));
    ShowPicBtn->setObjectName(QStringLiteral("ShowPicBtn"));
    PicBreitEd = new TSpinEdit(kPicBreitEd, 1);
    PicBreitEd->setObjectName(QStringLiteral("PicBreitEd"));
    row->addWidget(OpenPicBtn);
    row->addWidget(ShowPicBtn);
    row->addStretch(1);
    row->addWidget(LabelFor("Breite der Grafik:", PicBreitEd));
    row->addWidget(PicBreitEd);
    row->addWidget(new QLabel(QStringLiteral("mm")));
    column->addWidget(panel);

    ScrollBox4 = WorkspaceScrollBox("ScrollBox4");
    Named(ScrollBox4, "Grafik");
    PaintBox4 = new PaintBox(nullptr, PaintBox::Fill::ByOwner);
    PaintBox4->setObjectName(QStringLiteral("PaintBox4"));
    Named(PaintBox4, "Grafik");
    ScrollBox4->setWidget(PaintBox4);
    column->addWidget(ScrollBox4, 1);

    ScrollBox3 = WorkspaceScrollBox("ScrollBox3");
    Named(ScrollBox3, "Texturen");
    ScrollBox3->setFixedHeight(52);
    ScrollBox3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox3->horizontalScrollBar()->setSingleStep(kThumbPitch);
    ScrollBox3->viewport()->installEventFilter(this);
    PaintBox3 = new PaintBox(nullptr, PaintBox::Fill::ByOwner);
    PaintBox3->setObjectName(QStringLiteral("PaintBox3"));
    Named(PaintBox3, "Texturen");
    PaintBox3->setToolTip(QString::fromUtf8("Doppelklick übernimmt die Textur"));
    ScrollBox3->setWidget(PaintBox3);
    column->addWidget(ScrollBox3);

    PaintBox4->onPaint = [this](QPainter& p, const QRect& r) { PaintBox4Draw(p, r); };
    PaintBox3->onPaint = [this](QPainter& p, const QRect& r) { PaintBox3Draw(p, r); };
    PaintBox3->onMousePress = [this](QMouseEvent* e) { PaintBox3MouseDown(int(e->position().x())); };
    PaintBox3->onDoubleClick = [this](QMouseEvent*) { PaintBox3DblClick(); };
    connect(OpenPicBtn, &QPushButton::clicked, this, &TMainForm::OpenPicBtnClick);
    connect(ShowPicBtn, &QPushButton::clicked, this, &TMainForm::ShowPicBtnClick);
    return page;
}

QWidget* TMainForm::BuildFilterPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("FilterSheet"));
    auto* grid = new QGridLayout(page);
    FilterBox = new QComboBox;
    FilterBox->setObjectName(QStringLiteral("FilterBox"));
    for (const FilterEntry& f : FilterTable) FilterBox->addItem(QString::fromUtf8(f.Name));
    grid->addWidget(LabelFor("Filter:", FilterBox), 0, 0);
    grid->addWidget(FilterBox, 0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    return page;
}

QWidget* TMainForm::BuildTextPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TextSheet"));
    auto* grid = new QGridLayout(page);
    grid->setVerticalSpacing(2);
    TextEd = new QLineEdit;
    TextEd->setObjectName(QStringLiteral("TextEd"));
    TextEd->setValidator(new Cp1252Validator(TextEd));
    FColBox = ChoiceBox("FColBox", kColorModeCaptions);
    FColor = new TPaloColorComboBox;
    FColor->setObjectName(QStringLiteral("FColor"));
    Named(FColor, "Textfarbe");
    FSizeKBox = ChoiceBox("FSizeKBox", kTextSizeModeCaptions);
    FSizeEd = new TSpinEdit(kFSizeEd, 1);
    FSizeEd->setObjectName(QStringLiteral("FSizeEd"));
    Named(FSizeEd, "Textgröße in Punkt");
    FPosBox = ChoiceBox("FPosBox", kPositionModeCaptions);
    FKindBox = ChoiceBox("FKindBox", kTextFontModeCaptions);
    FontBox = new QComboBox;
    FontBox->setObjectName(QStringLiteral("FontBox"));
    Named(FontBox, "Schrift");
    for (const std::string& family : fonts_.Families()) FontBox->addItem(U(Cp1252ToUtf8(family)));
    TrackBar2 = new QSlider(Qt::Horizontal);
    TrackBar2->setObjectName(QStringLiteral("TrackBar2"));
    TrackBar2->setRange(0, 10);
    TrackBar2->setPageStep(1);
    TrackBar2->setTickInterval(1);
    TrackBar2->setTickPosition(QSlider::TicksBelow);
    TrackBar2->setValue(5);
    grid->addWidget(LabelFor("Text:", TextEd), 0, 0);
    grid->addWidget(TextEd, 0, 1, 1, 2);
    grid->addWidget(LabelFor("Farbe:", FColBox), 1, 0);
    grid->addWidget(FColBox, 1, 1);
    grid->addWidget(FColor, 1, 2);
    grid->addWidget(LabelFor("Größe:", FSizeKBox), 2, 0);
    grid->addWidget(FSizeKBox, 2, 1);
    grid->addWidget(FSizeEd, 2, 2);
    grid->addWidget(LabelFor("Position:", FPosBox), 3, 0);
    grid->addWidget(FPosBox, 3, 1);
    grid->addWidget(LabelFor("Schriftart:", FKindBox), 4, 0);
    grid->addWidget(FKindBox, 4, 1);
    grid->addWidget(FontBox, 4, 2);
    grid->addWidget(LabelFor("Anzahl:", TrackBar2), 5, 0);
    grid->addWidget(TrackBar2, 5, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    return page;
}

QWidget* TMainForm::BuildBottomStrip() {
    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("Panel7"));
    panel->setFixedHeight(41);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 2, 4, 2);
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
    row->addWidget(wwwBtn);
    row->addStretch(1);
    row->addWidget(ueberbtn);
    row->addWidget(endebtn);
    connect(wwwBtn, &QToolButton::clicked, this, &TMainForm::wwwBtnClick);
    connect(ueberbtn, &TImageBtn::clicked, this, &TMainForm::ueberbtnClick);
    connect(endebtn, &TImageBtn::clicked, this, &TMainForm::EndeBtnClick);
    return panel;
}

void TMainForm::ConnectEditor() {
    // Every control writes the whole editor back, unless it is being loaded.
    auto edit = [this] {
        if (!loading_) ReadBackOptions();
    };
    connect(PageControl1, &QTabWidget::currentChanged, this, edit);
    connect(TrackBar1, &QSlider::valueChanged, this, edit);
    connect(TrackBar2, &QSlider::valueChanged, this, edit);
    for (TPaloColorComboBox* c : {FillCol1, FillCol2, MusterCol, FColor})
        connect(c, &TPaloColorComboBox::Change, this, edit);
    connect(FillDirection, &QButtonGroup::idToggled, this, [edit](int, bool checked) {
        if (checked) edit();
    });
    for (QComboBox* c : {MTypBox, MColBox, MSizeBox, MPosBox, FilterBox, FColBox, FSizeKBox, FPosBox, FKindBox, FontBox})
        connect(c, &QComboBox::currentIndexChanged, this, edit);
    for (TSpinEdit* s : {MSizeEd, AnzMEd, PicBreitEd, FSizeEd}) connect(s, &TSpinEdit::Change, this, edit);
    connect(TextEd, &QLineEdit::textChanged, this, edit);

    connect(ZoomEd, &TSpinEdit::Change, this, &TMainForm::ZoomEDChange);
    connect(NewPlaneBtn, &QPushButton::clicked, this, &TMainForm::NewPlaneBtnClick);
    connect(DelPlaneBtn, &QPushButton::clicked, this, &TMainForm::DelPlaneBtnClick);
    connect(MoveUpBtn, &QToolButton::clicked, this, &TMainForm::MoveUpBtnClick);
    connect(MoveDownBtn, &QToolButton::clicked, this, &TMainForm::MoveDownBtnClick);
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, [this] {
        // Keyboard moves in the list select like a click.
        if (listing_) return;
        const int row = SelectedRow();
        if (row >= 0 && row != workspace_->CurrentIndex()) ListView1Click();
    });
    connect(RerollBtn, &QPushButton::clicked, this, &TMainForm::RerollBtnClick);
    connect(HoldSheetBox, &QCheckBox::toggled, this, &TMainForm::HoldSheetClick);
}

void TMainForm::SetUpShortcuts() {
    const struct {
        QKeySequence keys;
        void (TMainForm::*handler)();
    } shortcuts[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_N), &TMainForm::NewMenuBtnClick},
        {QKeySequence(Qt::CTRL | Qt::Key_O), &TMainForm::OpenBtnClick},
        {QKeySequence(Qt::CTRL | Qt::Key_S), &TMainForm::SaveBtnClick},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &TMainForm::SaveAsBtnClick},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), &TMainForm::UndoBtnClick},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &TMainForm::RedoBtnClick},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), &TMainForm::RedoBtnClick},
        {QKeySequence(Qt::Key_F5), &TMainForm::RerollBtnClick},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), &TMainForm::EndeBtnClick},
    };
    for (const auto& s : shortcuts) {
        auto* shortcut = new QShortcut(s.keys, this);
        connect(shortcut, &QShortcut::activated, this, s.handler);
    }
}

} // namespace zb
