#include "output/TViewPicForm.h"

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

#include "imaging/DrawDib.h"
#include "output/DesignPrinting.h"
#include "output/PicturePrinting.h"
#include "output/PictureViewMath.h"
#include "output/PrintSession.h"
#include "output/TPaintBox.h"
#include "output/TPrintForm.h"
#include "platform/QtPainterDibDevice.h"

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
    ZoomEd = new QSpinBox(strip);
    ZoomEd->setObjectName(QStringLiteral("ZoomEd"));
    ZoomEd->setRange(kViewZoomMin, kViewZoomMax);
    ZoomEd->setSingleStep(kViewZoomStep);
    ZoomEd->setValue(kViewZoomDefault);
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
    PaintBox1 = new TPaintBox;
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->setCursor(Qt::PointingHandCursor);
    PaintBox1->resize(0, 0);
    ScrollBox1->setWidget(PaintBox1);
    ScrollBox1->viewport()->installEventFilter(this);

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

    PaintBox1->OnPaint = [this](QPainter& painter, const QRect& exposed) { PaintBox1Paint(painter, exposed); };
    connect(PaintBox1, &TPaintBox::MouseDown, this, [this](QPoint pos, Qt::MouseButton) { PaintBox1MouseDown(pos); });
    connect(PaintBox1, &TPaintBox::MouseMove, this, [this](QPoint pos, Qt::MouseButtons) { PaintBox1MouseMove(pos); });
    connect(PaintBox1, &TPaintBox::MouseUp, this, [this](QPoint, Qt::MouseButton) { PaintBox1MouseUp(); });
    connect(ZoomEd, &QSpinBox::valueChanged, this, [this] { ZoomEdChange(); });
    connect(ReadyBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(PrintBrn, &QPushButton::clicked, this, [this] { PrintBrnClick(); });

    auto zoomKeys = [this](int steps) {
        const QPoint centre = ScrollBox1->viewport()->rect().center();
        ZoomAbout(steps == 0 ? kViewZoomDefault : ZoomStep(ZoomEd->value(), steps), centre);
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
    const SurfaceSize s = picture_.Bits ? ViewerSurfaceSize(DibWidth(picture_), DibHeight(picture_), ZoomEd->value())
                                        : SurfaceSize{PaintBox1->width(), PaintBox1->height()};
    PaintBox1->resize(int(std::min(s.width, kMaxSurface)), int(std::min(s.height, kMaxSurface)));
}

void TViewPicForm::ZoomEdChange() {
    SizeSurface();
    PaintBox1->update();
}

void TViewPicForm::ZoomAbout(int zoomPercent, QPoint viewportPos) {
    zoomPercent = std::clamp(zoomPercent, kViewZoomMin, kViewZoomMax);
    QScrollBar* h = ScrollBox1->horizontalScrollBar();
    QScrollBar* v = ScrollBox1->verticalScrollBar();
    const int64_t oldW = PaintBox1->width(), oldH = PaintBox1->height();
    const int sx = h->value(), sy = v->value();
    ZoomEd->setValue(zoomPercent);  // resizes the surface
    h->setValue(ScrollForZoomAbout(sx, viewportPos.x(), oldW, PaintBox1->width()));
    v->setValue(ScrollForZoomAbout(sy, viewportPos.y(), oldH, PaintBox1->height()));
}

void TViewPicForm::PaintBox1Paint(QPainter& painter, const QRect& exposed) {
    if (!picture_.Bits || !picture_.Info) return;
    const int w = DibWidth(picture_), h = DibHeight(picture_);
    const SurfaceSize s = ViewerSurfaceSize(w, h, ZoomEd->value());
    const int W = int(std::min(s.width, kMaxSurface)), H = int(std::min(s.height, kMaxSurface));
    if (PaintBox1->width() != W || PaintBox1->height() != H) {
        // Resized first; the resized surface paints again.
        QTimer::singleShot(0, this, [this] { SizeSurface(); });
        return;
    }
    QtPainterDibDevice device(painter, exposed);
    DrawDib(device, 0, 0, W, H, picture_, 0, 0, w, h, true, false);
    if (!device.Failure().empty()) {
        const QString message = QString::fromStdString(device.Failure());
        QTimer::singleShot(0, this, [this, message] { ShowError(message); });
    }
}

void TViewPicForm::PaintBox1MouseDown(QPoint pos) {
    dragging_ = true;
    press_ = pos;
}

void TViewPicForm::PaintBox1MouseMove(QPoint pos) {
    if (!dragging_) return;
    QScrollBar* h = ScrollBox1->horizontalScrollBar();
    QScrollBar* v = ScrollBox1->verticalScrollBar();
    h->setValue(PanScrollPosition(h->value(), press_.x(), pos.x(), PaintBox1->width(), h->maximum()));
    v->setValue(PanScrollPosition(v->value(), press_.y(), pos.y(), PaintBox1->height(), v->maximum()));
}

void TViewPicForm::PaintBox1MouseUp() { dragging_ = false; }

void TViewPicForm::FormMouseWheel(int notches) {
    QScrollBar* v = ScrollBox1->verticalScrollBar();
    v->setValue(WheelScrollPosition(v->value(), notches, v->maximum()));
}

bool TViewPicForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ScrollBox1->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        // High-resolution wheels send fractions of a notch: they add up.
        wheelRemainder_ += wheel->angleDelta().y();
        const int notches = wheelRemainder_ / 120;
        wheelRemainder_ -= notches * 120;
        if (notches != 0) {
            if (wheel->modifiers() & Qt::ControlModifier) {
                const QPoint pos = ScrollBox1->viewport()->mapFromGlobal(wheel->globalPosition().toPoint());
                ZoomAbout(ZoomStep(ZoomEd->value(), notches), pos);
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
    case Qt::Key_Plus: ZoomAbout(ZoomStep(ZoomEd->value(), 1), centre); return;
    case Qt::Key_Minus: ZoomAbout(ZoomStep(ZoomEd->value(), -1), centre); return;
    case Qt::Key_0: ZoomAbout(kViewZoomDefault, centre); return;
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
    dragging_ = false;
    QDialog::done(result);
    // The rows are the opener's: nothing of them is kept once the window is closed.
    picture_ = TDibRecord{};
}

void TViewPicForm::PrintBrnClick() {
    if (!picture_.Bits) return;
    TPrintForm form(picture_, Printer(), this);
    if (ExecPrintForm(form) != QDialog::Accepted) return;
    std::string message = ChoosePrinter(Printer(), QString(), AskPdfFileName);
    if (message == kCancelledMessage) return;
    if (message.empty()) message = PrintPicture(Printer(), picture_, form.Choice());
    if (!message.empty()) ShowError(QString::fromStdString(message));
}

} // namespace zb
