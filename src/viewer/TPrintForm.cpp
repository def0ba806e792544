#include "viewer/TPrintForm.h"
#include "viewer/WholeNumberEdit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "imaging/DrawDib.h"
#include "output/PicturePrinting.h"
#include "output/PrinterPage.h"
#include "platform/QtPainterDibDevice.h"
#include "viewer/PaintBox.h"

namespace zb {

namespace {

WholeNumberEdit* PercentField(const char* name, QWidget* parent) {
    auto* field = new WholeNumberEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setRange(kPercentMin, kPercentMax);
    field->setSingleStep(1);
    return field;
}

} // namespace

TPrintForm::TPrintForm(const TDibRecord& picture, QPrinter& printer, QWidget* parent)
    : QDialog(parent), picture_(picture), printer_(printer) {
    setObjectName(QStringLiteral("PrintForm"));
    setWindowTitle(QStringLiteral("Bild drucken..."));
    setModal(true);

    // Preview.
    auto* previewLabel = new QLabel(QStringLiteral("Vorschau:"), this);
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    PrintPaintBox = new PaintBox(panel);
    PrintPaintBox->setObjectName(QStringLiteral("PrintPaintBox"));
    PrintPaintBox->setFixedSize(kPreviewSide, kPreviewSide);
    PrintPaintBox->setAccessibleName(QStringLiteral("Vorschau"));
    panelLayout->addWidget(PrintPaintBox);
    previewLabel->setBuddy(PrintPaintBox);
    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(previewLabel);
    previewColumn->addWidget(panel);
    previewColumn->addStretch(1);

    // Size.
    auto* sizeGroup = new QGroupBox(QStringLiteral("Druckgröße"), this);
    UseFullCheck = new QRadioButton(QString::fromUtf8(kPrintSizeModeCaptions[0].data(), kPrintSizeModeCaptions[0].size()), sizeGroup);
    UseFullCheck->setObjectName(QStringLiteral("UseFullCheck"));
    UserdefCheck = new QRadioButton(QString::fromUtf8(kPrintSizeModeCaptions[1].data(), kPrintSizeModeCaptions[1].size()), sizeGroup);
    UserdefCheck->setObjectName(QStringLiteral("UserdefCheck"));
    UseFullCheck->setChecked(true);
    BreitEdit = PercentField("BreitEdit", sizeGroup);
    HochEdit = PercentField("HochEdit", sizeGroup);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Breite in %:"), BreitEdit);
    fields->addRow(QStringLiteral("Höhe in %:"), HochEdit);
    auto* sizeLayout = new QVBoxLayout(sizeGroup);
    sizeLayout->addWidget(UseFullCheck);
    sizeLayout->addWidget(UserdefCheck);
    sizeLayout->addLayout(fields);

    // Options.
    auto* optionGroup = new QGroupBox(QStringLiteral("Druckoptionen"), this);
    SverhCheck = new QCheckBox(QStringLiteral("Seitenverhältnis beibehalten"), optionGroup);
    SverhCheck->setObjectName(QStringLiteral("SverhCheck"));
    SverhCheck->setChecked(true);
    ZentrCheck = new QCheckBox(QStringLiteral("Zentrierte Ausgabe"), optionGroup);
    ZentrCheck->setObjectName(QStringLiteral("ZentrCheck"));
    ZentrCheck->setChecked(true);
    auto* optionLayout = new QVBoxLayout(optionGroup);
    optionLayout->addWidget(SverhCheck);
    optionLayout->addWidget(ZentrCheck);

    auto* choiceColumn = new QVBoxLayout;
    choiceColumn->addWidget(sizeGroup);
    choiceColumn->addWidget(optionGroup);
    choiceColumn->addStretch(1);

    // Buttons.
    OkBtn = new QPushButton(QStringLiteral("&OK"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setDefault(true);
    PrintSetupBtn = new QPushButton(QIcon::fromTheme(QStringLiteral("document-print")),
                                    QStringLiteral("Drucker &einrichten..."), this);
    PrintSetupBtn->setObjectName(QStringLiteral("PrintSetupBtn"));
    CancelBtn = new QPushButton(QStringLiteral("A&bbrechen"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(OkBtn);
    buttons->addWidget(PrintSetupBtn);
    buttons->addStretch(1);
    buttons->addWidget(CancelBtn);

    auto* columns = new QHBoxLayout;
    columns->addLayout(previewColumn);
    columns->addLayout(choiceColumn, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);
    // Fixed border: the dialog's own size, larger only when the fonts need it.
    setFixedSize(sizeHint().expandedTo(QSize(427, 328)));

    int width = 50, height = 50;
    LoadPrintPercents(width, height);
    guard_ = true;  // restoring is no edit
    BreitEdit->setValue(width);
    HochEdit->setValue(height);
    guard_ = false;

    PrintPaintBox->onPaint = [this](QPainter& painter, const QRect&) { PrintPaintBoxPaint(painter); };
    auto repaint = [this] { PrintPaintBox->update(); };
    connect(UseFullCheck, &QRadioButton::clicked, this, repaint);
    // Keeping the ratio again: the height follows the width.
    connect(SverhCheck, &QCheckBox::toggled, this, [this] { BreitEditChange(); });
    connect(ZentrCheck, &QCheckBox::clicked, this, repaint);
    connect(UserdefCheck, &QRadioButton::clicked, this, [this] { UserdefCheckClick(); });
    connect(BreitEdit, &WholeNumberEdit::readingChanged, this, [this] { BreitEditChange(); });
    connect(HochEdit, &WholeNumberEdit::readingChanged, this, [this] { HochEditChange(); });
    // The typed height is done: the next paint lets the width lead again.
    connect(HochEdit, &QAbstractSpinBox::editingFinished, this, [this] {
        heightTyped_ = false;
        PrintPaintBox->update();
    });
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(PrintSetupBtn, &QPushButton::clicked, this, [this] { PrintSetupBtnClick(); });
}

PicturePrintChoice TPrintForm::Choice() const {
    PicturePrintChoice c;
    c.mode = UserdefCheck->isChecked() ? PrintSizeMode::UserDefined : PrintSizeMode::FullPage;
    c.widthPercent = BreitEdit->Reading();
    c.heightPercent = HochEdit->Reading();
    c.keepAspect = SverhCheck->isChecked();
    c.centred = ZentrCheck->isChecked();
    return c;
}

void TPrintForm::PageSize(int64_t& pw, int64_t& ph) const {
    const PrinterPage page = PrinterPageOf(printer_);
    pw = page.page.width;
    ph = page.page.height;
}

void TPrintForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TPrintForm::FormShow() { BreitEditChange(); }

void TPrintForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        if (ShowHelp) ShowHelp(QStringLiteral("bilddrucken"));
        return;
    }
    QDialog::keyPressEvent(event);
}

void TPrintForm::done(int result) {
    SavePrintPercents(BreitEdit->value(), HochEdit->value());
    QDialog::done(result);
}

void TPrintForm::DeriveHeight() {
    if (guard_ || !SverhCheck->isChecked()) return;
    guard_ = true;
    int64_t pw = 0, ph = 0;
    PageSize(pw, ph);
    HochEdit->setValue(CoupledHeightPercent(DibWidth(picture_), DibHeight(picture_), pw, ph, BreitEdit->Reading(),
                                            HochEdit->value()));
    guard_ = false;
}

void TPrintForm::DeriveWidth() {
    if (guard_ || !SverhCheck->isChecked()) return;
    guard_ = true;
    int64_t pw = 0, ph = 0;
    PageSize(pw, ph);
    BreitEdit->setValue(CoupledWidthPercent(DibWidth(picture_), DibHeight(picture_), pw, ph, HochEdit->Reading(),
                                            BreitEdit->value()));
    guard_ = false;
}

void TPrintForm::BreitEditChange() {
    if (guard_) return;
    heightTyped_ = false;
    DeriveHeight();
    PrintPaintBox->update();
}

void TPrintForm::HochEditChange() {
    if (guard_) return;
    heightTyped_ = true;
    DeriveWidth();
    PrintPaintBox->update();
}

void TPrintForm::UserdefCheckClick() {
    if (!UserdefCheck->isChecked()) return;
    BreitEditChange();
}

void TPrintForm::PrintSetupBtnClick() {
    QPrintDialog dialog(&printer_, this);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.exec();
    // Another page: the height follows the width on it.
    BreitEditChange();
}

void TPrintForm::PrintPaintBoxPaint(QPainter& painter) {
    // Each paint leaves the height derived from the width (the width leads),
    // except while the user types a height: that stands as typed until the
    // field is left or Enter applies it.
    if (!heightTyped_) DeriveHeight();
    int64_t pw = 0, ph = 0;
    PageSize(pw, ph);
    const PixelRect page = PreviewPageRect(kPreviewSide, pw, ph);
    painter.fillRect(QRect(page.x, page.y, page.width, page.height), Qt::white);
    if (!picture_.Bits) return;
    const PixelRect r = PreviewPictureRect(kPreviewSide, DibWidth(picture_), DibHeight(picture_), pw, ph, Choice());
    QtPainterDibDevice device(painter);
    DrawDib(device, int32_t(r.x), int32_t(r.y), int32_t(r.width), int32_t(r.height), picture_, 0, 0, DibWidth(picture_),
            DibHeight(picture_), true, true);
}

} // namespace zb
