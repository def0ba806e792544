#include "viewer/TViewPicForm.h"
#include "viewer/WholeNumberEdit.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "imaging/DrawDib.h"
#include "output/DesignPrinting.h"
#include "output/PicturePrinting.h"
#include "output/PrintSession.h"
#include "platform/QtPainterDibDevice.h"
#include "viewer/DevicePixelScope.h"
#include "viewer/PaintBox.h"
#include "viewer/ScrollAreaNavigation.h"
#include "viewer/TPrintForm.h"

namespace zb {

namespace {

// Widgets cannot be larger than this; a surface beyond it is drawn at it.
constexpr int64_t kMaxSurface = QWIDGETSIZE_MAX;

} // namespace

TViewPicForm::TViewPicForm(QWidget* parent, QPrinter* printer) : QDialog(parent), printer_(printer) {
    setObjectName(QStringLiteral("ViewPicForm"));
    setWindowTitle(QStringLiteral("Bild betrachten..."));
    setModal(true);
    setSizeGripEnabled(true);

    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("ToolStrip"));
    strip->setFixedHeight(41);
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(6, 4, 6, 4);
    ReadyBtn = new QPushButton(QStringLiteral("Zurück..."), strip);
    ReadyBtn->setObjectName(QStringLiteral("ReadyBtn"));
    PrintBrn = new QPushButton(QStringLiteral("&Drucken"), strip);
    PrintBrn->setObjectName(QStringLiteral("PrintBrn"));
    ZoomLabel = new QLabel(QStringLiteral("Zoom:"), strip);
    ZoomEd = new WholeNumberEdit(strip);
    ZoomEd->setObjectName(QStringLiteral("ZoomEd"));
    ZoomEd->setRange(kPictureViewZoom.minimum, kPictureViewZoom.maximum);
    ZoomEd->setSingleStep(kPictureViewZoom.step);
    ZoomEd->setValue(kActualSize);
    ZoomLabel->setBuddy(ZoomEd);
    stripLayout->addWidget(ReadyBtn);
    stripLayout->addWidget(PrintBrn);
    stripLayout->addSpacing(12);
    stripLayout->addWidget(ZoomLabel);
    stripLayout->addWidget(ZoomEd);
    stripLayout->addStretch(1);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setFocusPolicy(Qt::StrongFocus);
    ScrollBox1->setAccessibleName(QStringLiteral("Bild"));
    PaintBox1 = new PaintBox;
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->setCursor(Qt::PointingHandCursor);
    PaintBox1->resize(0, 0);
    ScrollBox1->setWidget(PaintBox1);
    ScrollBox1->viewport()->installEventFilter(this);
    // The zoom field leaves the wheel to the picture, as every field does.
    ZoomEd->installEventFilter(this);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(strip);
    layout->addWidget(ScrollBox1, 1);
    layout->addWidget(StatusBar1);
    setTabOrder(ReadyBtn, PrintBrn);
    setTabOrder(PrintBrn, ZoomEd);
    setTabOrder(ZoomEd, ScrollBox1);
    resize(532, 420);

    PaintBox1->onPaint = [this](QPainter& painter, const QRect& exposed) { PaintBox1Paint(painter, exposed); };
    PaintBox1->PanWithin(ScrollBox1, &navigation_);
    connect(ZoomEd, &WholeNumberEdit::readingChanged, this, [this] { ZoomEdChange(); });
    connect(ReadyBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(PrintBrn, &QPushButton::clicked, this, [this] { PrintBrnClick(); });

    auto zoomKeys = [this](int steps) {
        const QPoint centre = ScrollBox1->viewport()->rect().center();
        ZoomAbout(steps == 0 ? kActualSize : navigation_.StepZoom(ZoomEd->value(), steps), centre);
    };
    connect(new QShortcut(QKeySequence::ZoomIn, this), &QShortcut::activated, this, [zoomKeys] { zoomKeys(1); });
    connect(new QShortcut(QKeySequence::ZoomOut, this), &QShortcut::activated, this, [zoomKeys] { zoomKeys(-1); });

    ExecPrintForm = [](TPrintForm& form) { return form.exec(); };
    AskPdfFileName = [this] {
        QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Ausdruck als PDF speichern"),
                                                    QStringLiteral("Bild.pdf"),
                                                    QStringLiteral("PDF-Dateien (*.pdf)"));
        if (!file.isEmpty() && !file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
            file += QStringLiteral(".pdf");
        return file;
    };
    ShowError = [this](const QString& message) {
        QMessageBox::critical(this, QStringLiteral("Zierbogen-Drucker"), message);
    };
}

TViewPicForm::~TViewPicForm() = default;

QPrinter& TViewPicForm::Printer() {
    if (!printer_) {
        ownPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (!NoPrinterInstalled()) SelectPrinter(*ownPrinter_, QString());
        printer_ = ownPrinter_.get();
    }
    return *printer_;
}

int TViewPicForm::ShowPicture(const TDibRecord& picture) {
    SetPicture(picture);
    return exec();
}

void TViewPicForm::SetPicture(const TDibRecord& picture) {
    picture_ = picture;
    SizeSurface();
    PaintBox1->update();
}

void TViewPicForm::SizeSurface() {
    if (!picture_.Bits) return;
    // The zoom counts screen pixels: at 100 % a pixel of the picture is one of the screen.
    const SurfaceSize s = ZoomedSize(DibWidth(picture_), DibHeight(picture_), ZoomEd->Reading());
    const double ratio = PixelRatio(PaintBox1);
    PaintBox1->resize(int(std::min<int64_t>(std::ceil(s.width / ratio), kMaxSurface)),
                      int(std::min<int64_t>(std::ceil(s.height / ratio), kMaxSurface)));
}

void TViewPicForm::ZoomEdChange() {
    SizeSurface();
    PaintBox1->update();
}

void TViewPicForm::ZoomAbout(int zoomPercent, QPoint viewportPos) {
    zoomPercent = kPictureViewZoom.Limit(zoomPercent);
    ZoomScrollAreaAbout(ScrollBox1, viewportPos, [&] { ZoomEd->setValue(zoomPercent); }); // resizes the surface
}

void TViewPicForm::PaintBox1Paint(QPainter& painter, const QRect& exposed) {
    if (!picture_.Bits || !picture_.Info) return;
    const int w = DibWidth(picture_), h = DibHeight(picture_);
    const SurfaceSize s = ZoomedSize(w, h, ZoomEd->value());
    const double ratio = PixelRatio(PaintBox1);
    const int W = int(std::min<int64_t>(std::ceil(s.width / ratio), kMaxSurface));
    const int H = int(std::min<int64_t>(std::ceil(s.height / ratio), kMaxSurface));
    if (PaintBox1->width() != W || PaintBox1->height() != H) {
        // Resized first; the resized surface paints again.
        QTimer::singleShot(0, this, [this] { SizeSurface(); });
        return;
    }
    DevicePixelScope pixels(painter, PaintBox1, exposed);
    QtPainterDibDevice device(painter, pixels.Exposed());
    const PixelRect d = DeviceRect({0, 0, W, H}, ratio);
    DrawDib(device, 0, 0, std::min<int64_t>(s.width, d.width), std::min<int64_t>(s.height, d.height), picture_, 0, 0,
            w, h, true, false);
    if (!device.Failure().empty()) {
        const QString message = QString::fromStdString(device.Failure());
        QTimer::singleShot(0, this, [this, message] { ShowError(message); });
    }
}

void TViewPicForm::FormMouseWheel(int notches) { WheelScrollArea(ScrollBox1, notches); }

bool TViewPicForm::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == ScrollBox1->viewport() || watched == ZoomEd) && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        // High-resolution wheels send fractions of a notch: they add up.
        const int notches = navigation_.Wheel(wheel->angleDelta().y());
        if (notches != 0) {
            if (wheel->modifiers() & Qt::ControlModifier) {
                // About the pointer over the picture, about its middle over the field.
                const QPoint pos = watched == ZoomEd
                                       ? ScrollBox1->viewport()->rect().center()
                                       : ScrollBox1->viewport()->mapFromGlobal(wheel->globalPosition().toPoint());
                ZoomAbout(navigation_.StepZoom(ZoomEd->value(), notches), pos);
            } else {
                FormMouseWheel(notches);
            }
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TViewPicForm::keyPressEvent(QKeyEvent* event) {
    const QPoint centre = ScrollBox1->viewport()->rect().center();
    switch (event->key()) {
    case Qt::Key_Plus: ZoomAbout(navigation_.StepZoom(ZoomEd->value(), 1), centre); return;
    case Qt::Key_Minus: ZoomAbout(navigation_.StepZoom(ZoomEd->value(), -1), centre); return;
    case Qt::Key_0: ZoomAbout(kActualSize, centre); return;
    case Qt::Key_F1:
        if (ShowHelp) ShowHelp(QStringLiteral("betrachter"));
        return;
    default: QDialog::keyPressEvent(event);
    }
}

void TViewPicForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!centred_) {
        centred_ = true;
        if (const QScreen* s = screen()) {
            const QRect avail = s->availableGeometry();
            resize(size().boundedTo(avail.size()));
            move(avail.center() - rect().center());
        }
    }
    ScrollBox1->setFocus();
}

void TViewPicForm::done(int result) {
    navigation_.Release();
    QDialog::done(result);
    // The rows are the opener's: nothing of them is kept once the window is closed.
    picture_ = TDibRecord{};
}

void TViewPicForm::PrintBrnClick() {
    if (!picture_.Bits) return;
    TPrintForm form(picture_, Printer(), this);
    form.ShowHelp = ShowHelp;
    if (ExecPrintForm(form) != QDialog::Accepted) return;
    const JobResult chosen = ChoosePrinter(Printer(), QString(), AskPdfFileName);
    if (chosen.cancelled()) return;
    std::string message = chosen.ok() ? PrintPicture(Printer(), picture_, form.Choice()) : chosen.message;
    if (!message.empty()) ShowError(QString::fromStdString(message));
}

} // namespace zb
