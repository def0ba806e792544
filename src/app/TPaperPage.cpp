#include "app/TPaperPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/DialogProvider.h"
#include "app/Pictures.h"
#include "app/ScopedFlag.h"
#include "app/TImageBtn.h"
#include "app/TMainForm.h"
#include "app/TSpinEdit.h"
#include "model/NamedPaper.h"
#include "model/RepeatMode.h"
#include "output/PrintSession.h"
#include "output/PrinterPage.h"
#include "render/PageGeometry.h"

namespace zb {

namespace {

constexpr const char* kFieldNames[kPaperFieldCount] = {"BreitEd", "HochEd", "BreitVEd", "HochVEd", "DezVEd"};
constexpr double kFieldSteps[kPaperFieldCount] = {0.1, 0.1, 1, 1, 0.001};
constexpr const char* kFieldAccessibleNames[kPaperFieldCount] = {
    "Breite in cm", "Höhe in cm", "Seitenverhältnis, Breitenteil", "Seitenverhältnis, Höhenteil",
    "Seitenverhältnis dezimal"};

char DecimalSeparator(const QWidget* w) {
    const QString point = w->locale().decimalPoint();
    return point.isEmpty() ? ',' : point.at(0).toLatin1();
}

} // namespace

QWidget* PageHeader(const QString& text) {
    auto* header = new QLabel(text);
    header->setObjectName(QStringLiteral("HeaderBar"));
    header->setFrameStyle(QFrame::Panel | QFrame::Raised);
    header->setAutoFillBackground(true);
    QPalette pal = header->palette();
    pal.setColor(QPalette::Window, QColor(240, 202, 166));
    pal.setColor(QPalette::WindowText, Qt::black);
    header->setPalette(pal);
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    header->setWordWrap(true);
    header->setContentsMargins(6, 4, 6, 4);
    return header;
}

QWidget* PageSidePanel(const QString& title, const char* picture) {
    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("SidePanel"));
    panel->setFixedWidth(209);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, QColor(192, 220, 192));
    panel->setPalette(pal);
    auto* label = new QLabel(title, panel);
    label->setWordWrap(true);
    QFont font(QStringLiteral("Arial Black"));
    font.setPixelSize(19);
    label->setFont(font);
    QPalette lp = label->palette();
    lp.setColor(QPalette::WindowText, QColor(128, 0, 0));
    label->setPalette(lp);
    auto* drawing = new QLabel(panel);
    drawing->setObjectName(QStringLiteral("SidePicture"));
    drawing->setPixmap(LoadPicture(QString::fromLatin1(picture), pic::kPanelPictureSize, panel->devicePixelRatioF()));
    drawing->setAlignment(Qt::AlignHCenter);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(label);
    layout->addSpacing(12);
    layout->addWidget(drawing);
    layout->addStretch();
    return panel;
}

TPaperPage::TPaperPage(TMainForm& form, QPrinter& printer, QWidget* parent)
    : QWidget(parent), form_(form), printer_(printer) {
    setObjectName(QStringLiteral("PaperPage"));
    setupDialog = [](QPrinter& p, QWidget* owner) {
        QPrintDialog dialog(&p, owner);
        dialog.setWindowTitle(QStringLiteral("Drucker einrichten"));
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.exec(); // confirmed or not, the printer keeps what was chosen
    };

    for (int i = 0; i < kPaperFieldCount; ++i) {
        fields_[size_t(i)] = new TSpinEdit(PaperFieldSpin(PaperField(i)), kFieldSteps[i], this);
        fields_[size_t(i)]->setObjectName(QString::fromLatin1(kFieldNames[i]));
        fields_[size_t(i)]->setAccessibleName(QString::fromUtf8(kFieldAccessibleNames[i]));
        connect(fields_[size_t(i)], &TSpinEdit::Change, this, [this, i] { FieldChange(PaperField(i)); });
    }

    auto* sizeChoice = new QGroupBox(QStringLiteral("Papiergröße"));
    PrintAllBtn = new QRadioButton(QStringLiteral("Gesamtes Papier bedrucken"));
    PrintAllBtn->setObjectName(QStringLiteral("PrintAllBtn"));
    PrintPartBtn = new QRadioButton(QStringLiteral("Nur einen Teil des Papiers bedrucken"));
    PrintPartBtn->setObjectName(QStringLiteral("PrintPartBtn"));
    auto* sizeLayout = new QVBoxLayout(sizeChoice);
    sizeLayout->addWidget(PrintAllBtn);
    sizeLayout->addWidget(PrintPartBtn);
    // toggled, not clicked: a choice made by code or by assistive technology
    // counts as well.
    connect(PrintAllBtn, &QRadioButton::toggled, this, [this](bool on) {
        if (on) PrintAllBtnClick();
    });
    connect(PrintPartBtn, &QRadioButton::toggled, this, [this](bool on) {
        if (on) PrintPartBtnClick();
    });

    auto* sizeGroup = new QGroupBox(QStringLiteral("Größe festlegen"));
    auto* sg = new QGridLayout(sizeGroup);
    FormatBox = new QComboBox;
    FormatBox->setObjectName(QStringLiteral("FormatBox"));
    for (const char* caption : kNamedPaperCaptions) FormatBox->addItem(QString::fromUtf8(caption));
    // The longest name need not widen the page: the open list shows it whole.
    FormatBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    FormatBox->setMinimumContentsLength(10);
    OrientationBox = new QComboBox;
    OrientationBox->setObjectName(QStringLiteral("OrientationBox"));
    for (const char* caption : kPaperOrientationCaptions) OrientationBox->addItem(QString::fromUtf8(caption));
    auto* formatLabel = new QLabel(QStringLiteral("&Format:"));
    formatLabel->setBuddy(FormatBox);
    // Beside the size fields rather than under them: the page grows no higher.
    auto* formatGroup = new QGroupBox(QStringLiteral("Papierformat nach Namen"));
    auto* formatRow = new QHBoxLayout(formatGroup);
    formatRow->addWidget(formatLabel);
    formatRow->addWidget(FormatBox, 1);
    formatRow->addWidget(OrientationBox);
    connect(FormatBox, &QComboBox::currentIndexChanged, this, &TPaperPage::FormatBoxChange);
    connect(OrientationBox, &QComboBox::currentIndexChanged, this, &TPaperPage::FormatBoxChange);
    sg->addWidget(new QLabel(QStringLiteral("Breite:")), 0, 0);
    sg->addWidget(fields_[0], 0, 1);
    sg->addWidget(new QLabel(QStringLiteral("cm")), 0, 2);
    sg->addWidget(new QLabel(QStringLiteral("Höhe:")), 1, 0);
    sg->addWidget(fields_[1], 1, 1);
    sg->addWidget(new QLabel(QStringLiteral("cm")), 1, 2);
    holdwidth2Ed = new QRadioButton(QStringLiteral("Breite fest lassen"));
    holdwidth2Ed->setObjectName(QStringLiteral("holdwidth2Ed"));
    holdheight2Ed = new QRadioButton(QStringLiteral("Höhe fest lassen"));
    holdheight2Ed->setObjectName(QStringLiteral("holdheight2Ed"));
    SVerhCheck = new QCheckBox(QStringLiteral("Seitenverhältnis beibehalten"));
    SVerhCheck->setObjectName(QStringLiteral("SVerhCheck"));
    auto* g2 = new QButtonGroup(sizeGroup);
    g2->addButton(holdwidth2Ed);
    g2->addButton(holdheight2Ed);
    sg->addWidget(holdwidth2Ed, 0, 3);
    sg->addWidget(holdheight2Ed, 1, 3);
    sg->addWidget(SVerhCheck, 2, 0, 1, 4);

    auto* ratioGroup = new QGroupBox(QStringLiteral("Seitenverhältnis festlegen"));
    auto* rg = new QGridLayout(ratioGroup);
    rg->addWidget(new QLabel(QStringLiteral("Verhältnis:")), 0, 0);
    rg->addWidget(fields_[2], 0, 1);
    rg->addWidget(new QLabel(QStringLiteral("zu")), 0, 2);
    rg->addWidget(fields_[3], 0, 3);
    rg->addWidget(new QLabel(QStringLiteral("Dezimal:")), 1, 0);
    rg->addWidget(fields_[4], 1, 1);
    holdwidthEd = new QRadioButton(QStringLiteral("Breite fest lassen"));
    holdwidthEd->setObjectName(QStringLiteral("holdwidthEd"));
    holdheightEd = new QRadioButton(QStringLiteral("Höhe fest lassen"));
    holdheightEd->setObjectName(QStringLiteral("holdheightEd"));
    auto* g1 = new QButtonGroup(ratioGroup);
    g1->addButton(holdwidthEd);
    g1->addButton(holdheightEd);
    rg->addWidget(holdwidthEd, 0, 4);
    rg->addWidget(holdheightEd, 1, 4);
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(holdwidth2Ed), static_cast<QAbstractButton*>(holdheight2Ed),
                               static_cast<QAbstractButton*>(SVerhCheck), static_cast<QAbstractButton*>(holdwidthEd),
                               static_cast<QAbstractButton*>(holdheightEd)})
        connect(b, &QAbstractButton::toggled, this, &TPaperPage::OptionClick);

    PrinterSetupBtn = new TImageBtn;
    PrinterSetupBtn->setObjectName(QStringLiteral("PrinterSetupBtn"));
    PrinterSetupBtn->setToolTip(QStringLiteral("Drucker einrichten, um das Papierformat zu wählen"));
    PrinterSetupBtn->setAccessibleName(QStringLiteral("Drucker einrichten"));
    const qreal ratio = devicePixelRatioF();
    PrinterSetupBtn->SetPicture(LoadPicture(QString::fromLatin1(pic::kPrinterSetupBtn), pic::kPrinterSetupSize, ratio));
    PrinterSetupBtn->SetPicture2(
        LoadPicture(QString::fromLatin1(pic::kPrinterSetupBtnPressed), pic::kPrinterSetupSize, ratio));
    connect(PrinterSetupBtn, &TImageBtn::clicked, this, &TPaperPage::PrinterSetupBtnClick);
    InfoLabel = new QLabel;
    InfoLabel->setObjectName(QStringLiteral("InfoLabel"));
    InfoLabel->setWordWrap(true);

    // The sheet as a tile for fabric, wallpaper and the web.
    auto* tileGroup = new QGroupBox(QStringLiteral("Kachel"));
    auto* tg = new QGridLayout(tileGroup);
    SeamlessBox = new QCheckBox(QStringLiteral("Nahtlos kachelbar"));
    SeamlessBox->setObjectName(QStringLiteral("SeamlessBox"));
    SeamlessBox->setToolTip(QString::fromUtf8(
        "Formen und Texte, die über einen Rand reichen, setzen sich am gegenüberliegenden Rand fort; "
        "Filter lesen über den Rand hinweg. So wiederholt sich der Bogen ohne Naht."));
    RepeatBox = new QComboBox;
    RepeatBox->setObjectName(QStringLiteral("RepeatBox"));
    for (std::string_view caption : kRepeatModeCaptions)
        RepeatBox->addItem(QString::fromUtf8(caption.data(), int(caption.size())));
    RepeatBox->setToolTip(QString::fromUtf8("Wie die Kachel wiederholt wird: gerade, jede Spalte um eine halbe "
                                            "Höhe versetzt, oder gespiegelt"));
    auto* repeatLabel = new QLabel(QStringLiteral("&Rapport:"));
    repeatLabel->setBuddy(RepeatBox);
    SeamHintLabel = new QLabel;
    SeamHintLabel->setObjectName(QStringLiteral("SeamHintLabel"));
    SeamHintLabel->setWordWrap(true);
    tg->addWidget(SeamlessBox, 0, 0, 1, 2);
    tg->addWidget(repeatLabel, 1, 0);
    tg->addWidget(RepeatBox, 1, 1);
    tg->setColumnStretch(2, 1);
    tg->addWidget(SeamHintLabel, 2, 0, 1, 3);
    connect(SeamlessBox, &QCheckBox::toggled, this, &TPaperPage::SeamlessBoxClick);
    connect(RepeatBox, &QComboBox::currentIndexChanged, this, &TPaperPage::RepeatBoxChange);

    auto* right = new QVBoxLayout;
    right->addWidget(sizeChoice);
    right->addWidget(sizeGroup);
    right->addWidget(ratioGroup);
    right->addWidget(PrinterSetupBtn, 0, Qt::AlignLeft);
    right->addWidget(InfoLabel);
    right->addStretch();
    // The tile's group beside the format's, so the page grows no higher.
    auto* tileColumn = new QVBoxLayout;
    tileColumn->addWidget(formatGroup);
    tileColumn->addWidget(tileGroup);
    tileColumn->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(PageSidePanel(QStringLiteral("Papierformat wählen..."), pic::kPaperPanel));
    body->addLayout(right, 1);
    body->addLayout(tileColumn, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(PageHeader(QStringLiteral(
        "Papierformat festlegen - Größe direkt oder in Kombination mit dem Seitenverhältnis festlegen")));
    outer->addLayout(body, 1);

    connect(&form_, &TMainForm::workspaceChanged, this, [this](unsigned changes) {
        if (changes & kChangeDesign) LoadFromDesign();
        if (changes & kChangePrinter) ShowPrintableSize();
        if (changes & ~unsigned(kChangeSheet)) ShowSeamHints();
    });
    LoadFromDesign();
    ShowPrintableSize();
    ShowSeamHints();
}

void TPaperPage::LoadFromDesign() {
    const PaperSettings& p = form_.Workspace().Paper();
    paper_.Load(p);
    paper_.TakeChangedFields();
    ScopedFlag guard(loading_);
    for (int i = 0; i < kPaperFieldCount; ++i) fields_[size_t(i)]->SetValue(double(paper_.Read(PaperField(i))));
    (p.PrintAll ? PrintAllBtn : PrintPartBtn)->setChecked(true);
    (p.HoldWidth2 ? holdwidth2Ed : holdheight2Ed)->setChecked(true);
    SVerhCheck->setChecked(p.SVerh);
    (p.HoldWidth ? holdwidthEd : holdheightEd)->setChecked(true);
    SeamlessBox->setChecked(p.Seamless);
    RepeatBox->setCurrentIndex(int(p.Repeat));
    RepeatBox->setEnabled(p.Seamless);
    ShowNamedFormat();
}

void TPaperPage::ShowNamedFormat() {
    ScopedFlag guard(loading_);
    PaperOrientation orientation = kPortrait;
    const NamedPaper named =
        NamedPaperOf(double(paper_.Read(PaperField::Breit)), double(paper_.Read(PaperField::Hoch)), &orientation);
    FormatBox->setCurrentIndex(int(named));
    OrientationBox->setCurrentIndex(int(orientation));
}

void TPaperPage::FormatBoxChange() {
    if (loading_) return;
    const NamedPaper named = NamedPaper(FormatBox->currentIndex());
    if (named == kPaperCustom) return;
    const PaperSizeCm size = NamedPaperSize(named, PaperOrientation(OrientationBox->currentIndex()));
    const PaperRuleResult r = paper_.SetNamedSize(size.width, size.height);
    ShowChangedFields();
    {
        // A size by name is a part of the paper: one step with the size.
        ScopedFlag guard(loading_);
        PrintPartBtn->setChecked(true);
    }
    StoreIntoDesign(true);
    if (!r.error.empty()) form_.Dialogs().Error(this, QString(), QString::fromStdString(r.error));
}

QString SeamHintText(const std::vector<std::string>& hints) {
    QStringList lines;
    for (const std::string& hint : hints) lines << QString::fromStdString(hint);
    return lines.join(QLatin1Char('\n'));
}

void TPaperPage::ShowSeamHints() {
    const QString text = SeamHintText(form_.Workspace().SeamNotes(logicalDpiX()));
    SeamHintLabel->setText(text);
    SeamHintLabel->setVisible(!text.isEmpty());
}

void TPaperPage::SeamlessBoxClick() {
    if (loading_) return;
    RepeatBox->setEnabled(SeamlessBox->isChecked());
    form_.Workspace().SetTile(SeamlessBox->isChecked(), form_.Workspace().Paper().Repeat);
}

void TPaperPage::RepeatBoxChange() {
    if (loading_) return;
    form_.Workspace().SetTile(form_.Workspace().Paper().Seamless, RepeatModeOf(RepeatBox->currentIndex()));
}

void TPaperPage::ShowPrintableSize() {
    const PrinterFacts& page = form_.Workspace().Printer();
    const char separator = DecimalSeparator(this);
    InfoLabel->setText(QString::fromStdString(page.fallback ? FallbackPrintableSizeLine(page.page, separator)
                                                            : PrintableSizeLine(page.page, separator)));
}

void TPaperPage::FieldChange(PaperField field) {
    if (loading_) return;
    // The field reads what it shows (its minimum when that is no number).
    const PaperRuleResult r = paper_.Type(field, fields_[size_t(field)]->ExtendedValue());
    ShowChangedFields();
    ShowNamedFormat();
    StoreIntoDesign(r.invalidateDesign);
    if (!r.error.empty()) form_.Dialogs().Error(this, QString(), QString::fromStdString(r.error));
}

void TPaperPage::ShowChangedFields() {
    const unsigned changed = paper_.TakeChangedFields();
    ScopedFlag guard(loading_);
    for (int i = 0; i < kPaperFieldCount; ++i)
        if (changed & (1u << i)) fields_[size_t(i)]->SetValue(double(paper_.Read(PaperField(i))));
}

void TPaperPage::StoreIntoDesign(bool resized) {
    PaperSettings p = form_.Workspace().Paper();
    paper_.Store(p);
    p.PrintAll = PrintAllBtn->isChecked();
    form_.Workspace().SetPaper(p, resized);
}

void TPaperPage::OptionClick() {
    if (loading_) return;
    paper_.SVerh = SVerhCheck->isChecked();
    paper_.HoldWidth = holdwidthEd->isChecked();
    paper_.HoldWidth2 = holdwidth2Ed->isChecked();
    StoreIntoDesign(false);
}

void TPaperPage::SizeChoice(bool printAll) {
    if (loading_) return;
    PaperSettings p = form_.Workspace().Paper();
    p.PrintAll = printAll;
    form_.Workspace().SetPaper(p, true);
}

void TPaperPage::PrinterSetupBtnClick() {
    // A print under way uses the printer as it was set up.
    if (form_.Workspace().Output().Running()) {
        form_.Dialogs().Error(this, QStringLiteral("Drucker einrichten"),
                              QString::fromUtf8("Während ein Druck oder Export läuft, kann der Drucker nicht "
                                                "eingerichtet werden."));
        return;
    }
    if (noPrinter ? noPrinter() : NoPrinterInstalled()) {
        form_.Dialogs().Error(this, QStringLiteral("Drucker einrichten"),
                              QStringLiteral("Es ist kein Drucker eingerichtet. Gedruckt wird in eine PDF-Datei "
                                             "(A4, 600 dpi), nach deren Namen beim Drucken gefragt wird."));
    } else {
        if (printer_.printerName().isEmpty() && printer_.outputFormat() == QPrinter::NativeFormat)
            SelectPrinter(printer_, QString());
        if (setupDialog) setupDialog(printer_, this);
        const PrinterPage page = PrinterPageOf(printer_);
        // Only a design of the whole page changes size (and sheet) with the printer.
        form_.Workspace().SetPrinter(PrinterFacts{page.page, page.fallback});
        form_.PaintDesign();
    }
    ShowPrintableSize();
}

} // namespace zb
