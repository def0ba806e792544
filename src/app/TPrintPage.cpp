#include "app/TPrintPage.h"

#include <QApplication>
#include <QFontMetrics>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QStatusBar>
#include <QTimer>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

#include "app/DialogProvider.h"
#include "app/JobPanel.h"
#include "app/Pictures.h"
#include "app/ScopedFlag.h"
#include "app/TImageBtn.h"
#include "app/TMainForm.h"
#include "app/TPaperPage.h"
#include "app/TSpinEdit.h"
#include "imaging/DrawDib.h"
#include "output/DesignPrinting.h"
#include "platform/QtPainterDibDevice.h"
#include "render/PageGeometry.h"
#include "render/PosterLayout.h"
#include "viewer/DevicePixelScope.h"
#include "viewer/PaintBox.h"

namespace zb {

namespace {

constexpr SpinField kSheetCountEd{1, kMaxSheets, 0};
constexpr SpinField kOverlapEd{kMinOverlapCm, kMaxOverlapCm, 1};
const char* const kExportFilter =
    "PNG-Grafik (*.png);;JPEG-Grafik (*.jpg);;TIFF-Grafik (*.tif);;Windows-Bitmap (*.bmp);;PDF-Dokument (*.pdf)";

// Per mille of a job of `sheets` sheets after `done` of `layers` layers of sheet `sheet`.
int JobPermille(int sheet, int sheets, int done, int layers) {
    const double part = (sheet - 1) + (layers > 0 ? double(done) / layers : 1.0);
    return std::min(999, int(1000.0 * part / std::max(sheets, 1)));
}

// "8 Seiten (4 x 2)": pages, columns by rows.
QString PosterInfoText(const PosterLayout& pages) {
    if (pages.PageCount() == 0) return {};
    return QStringLiteral("%1 %2 (%3 x %4)")
        .arg(pages.PageCount())
        .arg(pages.PageCount() == 1 ? QStringLiteral("Seite") : QStringLiteral("Seiten"))
        .arg(pages.Columns())
        .arg(pages.Rows());
}

} // namespace

TPrintPage::TPrintPage(TMainForm& form, QPrinter& printer, QWidget* parent)
    : QWidget(parent), form_(form), printer_(printer) {
    setObjectName(QStringLiteral("PrintPage"));
    askResolution = [this](QWidget* owner) {
        bool ok = false;
        const int dpi = QInputDialog::getInt(owner, QStringLiteral("Grafik Export"), QStringLiteral("Auflösung (dpi):"),
                                             std::clamp(form_.Workspace().Print().exportDpi, 10, 2400), 10, 2400, 10,
                                             &ok);
        return ok ? dpi : 0;
    };

    PrintBtn = new TImageBtn;
    PrintBtn->setObjectName(QStringLiteral("PrintBtn"));
    PrintBtn->setToolTip(QStringLiteral("Druckvorgang starten"));
    PrintBtn->setAccessibleName(QStringLiteral("Drucken"));
    const qreal ratio = devicePixelRatioF();
    PrintBtn->SetPicture(LoadPicture(QString::fromLatin1(pic::kPrintBtn), pic::kButtonSize, ratio));
    PrintBtn->SetPicture2(LoadPicture(QString::fromLatin1(pic::kPrintBtnPressed), pic::kButtonSize, ratio));
    connect(PrintBtn, &TImageBtn::clicked, this, &TPrintPage::PrintBtnClick);

    RandXEd = new TSpinEdit(kRandXEd, 0.1);
    RandXEd->setObjectName(QStringLiteral("RandXEd"));
    RandYED = new TSpinEdit(kRandYEd, 0.1);
    RandYED->setObjectName(QStringLiteral("RandYED"));
    zoomed2 = new TSpinEdit(kZoomEd, kDesignViewZoom.step);
    zoomed2->setObjectName(QStringLiteral("zoomed2"));
    SheetCountEd = new TSpinEdit(kSheetCountEd, 1);
    SheetCountEd->setObjectName(QStringLiteral("SheetCountEd"));
    SheetCountEd->SetValue(1);
    PreviewFilterCheck = new QCheckBox(QStringLiteral("Filter wie in der Vorschau"));
    PreviewFilterCheck->setObjectName(QStringLiteral("PreviewFilterCheck"));
    PreviewFilterCheck->setChecked(true);
    PreviewFilterCheck->setToolTip(QStringLiteral(
        "Filterebenen wirken auf dem Papier so weit wie in der Vorschau; ohne Haken wirken sie Pixel für Pixel."));
    PosterBox = new QCheckBox(QStringLiteral("Auf mehrere Seiten verteilen"));
    PosterBox->setObjectName(QStringLiteral("PosterBox"));
    PosterBox->setToolTip(QStringLiteral("Einen Bogen, der größer als die druckbare Seite ist, auf mehrere Seiten "
                                         "drucken, die an einer Klebekante überlappen"));
    OverlapEd = new TSpinEdit(kOverlapEd, 0.5);
    OverlapEd->setObjectName(QStringLiteral("OverlapEd"));
    OverlapEd->SetValue(kDefaultOverlapCm);
    OverlapEd->setAccessibleName(QStringLiteral("Klebekante in cm"));
    PosterInfo = new QLabel;
    PosterInfo->setObjectName(QStringLiteral("PosterInfo"));
    PosterInfo->setWordWrap(true);
    connect(PosterBox, &QCheckBox::toggled, this, &TPrintPage::StorePrintSettings);
    connect(OverlapEd, &TSpinEdit::Change, this, &TPrintPage::StorePrintSettings);
    WholePageBtn = new QPushButton(QStringLiteral("Ganze Seite"));
    WholePageBtn->setObjectName(QStringLiteral("WholePageBtn"));
    WholePageBtn->setToolTip(QStringLiteral("Die ganze Seite in der Vorschau zeigen"));
    connect(WholePageBtn, &QPushButton::clicked, this, &TPrintPage::WholePageBtnClick);
    ExportBtn = new QPushButton(QStringLiteral("Grafik Export..."));
    ExportBtn->setObjectName(QStringLiteral("ExportBtn"));
    Preview3x3Check = new QCheckBox(QStringLiteral("Dazu 3 x 3 Kacheln"));
    Preview3x3Check->setObjectName(QStringLiteral("Preview3x3Check"));
    Preview3x3Check->setToolTip(QString::fromUtf8(
        "Der Export schreibt neben der Grafik eine zweite Datei (NAME-3x3) mit 3 x 3 Kacheln, wie der Rapport "
        "sie legt"));
    RandXEd->setAccessibleName(QStringLiteral("Rand links in cm"));
    RandYED->setAccessibleName(QStringLiteral("Rand oben in cm"));
    zoomed2->setAccessibleName(QStringLiteral("Zoom der Vorschau in Prozent"));
    SheetCountEd->setAccessibleName(QStringLiteral("Anzahl Bogen"));
    connect(RandXEd, &TSpinEdit::Change, this, &TPrintPage::RandXEdChange);
    connect(RandYED, &TSpinEdit::Change, this, &TPrintPage::RandYEDChange);
    connect(zoomed2, &TSpinEdit::Change, this, &TPrintPage::zoomed2Change);
    connect(ExportBtn, &QPushButton::clicked, this, &TPrintPage::ExportBtnClick);
    connect(SheetCountEd, &TSpinEdit::Change, this, &TPrintPage::StorePrintSettings);
    connect(PreviewFilterCheck, &QCheckBox::toggled, this, &TPrintPage::StorePrintSettings);
    connect(Preview3x3Check, &QCheckBox::toggled, this, &TPrintPage::StorePrintSettings);
    jobPanel_ = new JobPanel;
    jobPanel_->onCancel = [this] { form_.Workspace().Output().Cancel(); };
    form_.statusBar()->addPermanentWidget(jobPanel_);
    jobTimer_ = new QTimer(this);
    jobTimer_->setInterval(100);
    connect(jobTimer_, &QTimer::timeout, this,
            [this] { jobPanel_->SetPermille(form_.Workspace().Output().Permille()); });

    auto* tools = new QGridLayout;
    tools->addWidget(PrintBtn, 0, 0, 2, 1, Qt::AlignTop);
    tools->addWidget(new QLabel(QStringLiteral("Rand links:")), 0, 1);
    tools->addWidget(RandXEd, 0, 2);
    tools->addWidget(new QLabel(QStringLiteral("cm")), 0, 3);
    tools->addWidget(new QLabel(QStringLiteral("Rand oben:")), 0, 4);
    tools->addWidget(RandYED, 0, 5);
    tools->addWidget(new QLabel(QStringLiteral("cm")), 0, 6);
    tools->addWidget(new QLabel(QStringLiteral("Zoom:")), 1, 1);
    tools->addWidget(zoomed2, 1, 2);
    tools->addWidget(new QLabel(QStringLiteral("%")), 1, 3);
    tools->addWidget(WholePageBtn, 1, 7, Qt::AlignLeft);
    tools->addWidget(Preview3x3Check, 2, 7, Qt::AlignLeft);
    tools->addWidget(ExportBtn, 1, 4, 1, 3);
    tools->addWidget(new QLabel(QStringLiteral("Anzahl Bogen:")), 2, 1);
    tools->addWidget(SheetCountEd, 2, 2);
    tools->addWidget(PreviewFilterCheck, 2, 4, 1, 3);
    tools->addWidget(PosterBox, 0, 7);
    tools->addWidget(new QLabel(QStringLiteral("Klebekante:")), 3, 1);
    tools->addWidget(OverlapEd, 3, 2);
    tools->addWidget(new QLabel(QStringLiteral("cm")), 3, 3);
    tools->addWidget(PosterInfo, 3, 4, 1, 4);
    tools->setColumnStretch(7, 1);

    PaintBox2 = new PaintBox;
    PaintBox2->setObjectName(QStringLiteral("PaintBox2"));
    PaintBox2->setCursor(Qt::PointingHandCursor);
    PaintBox2->onPaint = [this](QPainter& painter, const QRect&) { DrawPreview(painter); };
    ScrollBox2 = new QScrollArea;
    ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
    ScrollBox2->setBackgroundRole(QPalette::Dark); // the workspace colour around the page
    ScrollBox2->setWidget(PaintBox2);
    ScrollBox2->setWidgetResizable(false);
    ScrollBox2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox2->setAccessibleName(QStringLiteral("Druckvorschau"));
    PaintBox2->PanWithin(ScrollBox2, &navigation_);
    // The main window scrolls it with the wheel while this page is shown.
    form_.SetPrintScrollBox(ScrollBox2);

    auto* right = new QVBoxLayout;
    right->addLayout(tools);
    right->addWidget(ScrollBox2, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(PageSidePanel(QStringLiteral("Zierbogen ausdrucken..."), pic::kPrintPanel));
    body->addLayout(right, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(PageHeader(QStringLiteral(
        "Zierbogen ausdrucken - Sie sehen das Ergebnis in der Vorschau, klicken Sie auf Go!, um zu drucken")));
    outer->addLayout(body, 1);

    connect(&form_, &TMainForm::workspaceChanged, this, [this](unsigned changes) {
        if (changes & kChangeZoom && zoomed2->Value() != form_.Workspace().Zoom()) {
            ScopedFlag guard(loading_);
            zoomed2->SetValue(form_.Workspace().Zoom());
        }
        if (changes & kChangeDesign) LoadFromDesign();
        if (changes & kChangePrintSettings) LoadPrintSettings();
        // A new or stale sheet, zoom, paper format or printer: the page picture
        // follows, and its paint composes a stale sheet first.
        if (changes & (kChangeSheet | kChangeStale | kChangeZoom | kChangePaper | kChangePrinter)) ResizePreview();
    });
    LoadFromDesign();
    LoadPrintSettings();
}

void TPrintPage::LoadPrintSettings() {
    const PrintSettings& s = form_.Workspace().Print();
    {
        ScopedFlag guard(loading_);
        if (SheetCountEd->Value() != s.sheets) SheetCountEd->SetValue(s.sheets);
        PreviewFilterCheck->setChecked(s.previewFilters);
        Preview3x3Check->setChecked(s.tiles3x3);
        PosterBox->setChecked(s.poster);
        if (OverlapEd->Field().Limit(OverlapEd->Value()) != s.overlapCm) OverlapEd->SetValue(s.overlapCm);
    }
    PosterChange();
}

void TPrintPage::StorePrintSettings() {
    if (loading_) return;
    PrintSettings s = form_.Workspace().Print();
    s.sheets = int(SheetCountEd->Field().Limit(SheetCountEd->Value()));
    s.previewFilters = PreviewFilterCheck->isChecked();
    s.tiles3x3 = Preview3x3Check->isChecked();
    s.poster = PosterBox->isChecked();
    s.overlapCm = OverlapEd->Field().Limit(OverlapEd->Value());
    form_.Workspace().SetPrintSettings(s);
}

void TPrintPage::LoadFromDesign() {
    {
        ScopedFlag guard(loading_);
        RandXEd->SetValue(form_.Workspace().Paper().RandX);
        RandYED->SetValue(form_.Workspace().Paper().RandY);
        zoomed2->SetValue(form_.Workspace().Zoom());
    }
    ResizePreview();
}

PreviewLayout TPrintPage::Layout() const {
    PaperSettings paper = form_.Workspace().Paper();
    if (form_.Workspace().Print().poster)
        return PosterPreviewLayout(paper, form_.Workspace().Printer().page, ScreenPpiOf(PaintBox2),
                                   form_.Workspace().Zoom());
    // Margins as the fields read them now (a text that is no number reads 0).
    paper.RandX = RandXEd->Value();
    paper.RandY = RandYED->Value();
    return PreviewPageLayout(paper, form_.Workspace().Printer().page, ScreenPpiOf(PaintBox2),
                             form_.Workspace().Zoom());
}

PosterLayout TPrintPage::PosterPages() const {
    const PrintSettings& s = form_.Workspace().Print();
    return PosterLayout::ForPrinter(form_.Workspace().Paper(), form_.Workspace().Printer().page,
                                    s.poster ? s.overlapCm : kDefaultOverlapCm);
}

void TPrintPage::PosterChange() {
    const bool on = form_.Workspace().Print().poster;
    OverlapEd->setEnabled(on);
    // Margins play no part when the sheet starts at each page's corner.
    RandXEd->setEnabled(!on);
    RandYED->setEnabled(!on);
    ResizePreview();
}

void TPrintPage::PaintBox2Paint() { ResizePreview(); }

void TPrintPage::ResizePreview() {
    if (form_.Workspace().Print().poster) {
        PosterInfo->setText(PosterInfoText(PosterPages()));
    } else {
        // A sheet larger than the printable page is cut at its edge unless spread.
        const bool larger =
            PosterLayout::ForPrinter(form_.Workspace().Paper(), form_.Workspace().Printer().page, 0).PageCount() > 1;
        PosterInfo->setText(larger ? QString::fromUtf8("Der Bogen ist größer als die druckbare Seite und wird am "
                                                       "Rand abgeschnitten; „Auf mehrere Seiten verteilen“ druckt "
                                                       "ihn ganz.")
                                   : QString());
    }
    const PreviewLayout l = Layout();
    const QSize size = SurfaceSizeFor({l.page.width, l.page.height}, PaintBox2);
    if (PaintBox2->size() != size) PaintBox2->setFixedSize(size);
    PaintBox2->update();
}

void TPrintPage::DrawPreview(QPainter& painter) {
    const PreviewLayout l = Layout();
    painter.fillRect(PaintBox2->rect(), Qt::white);
    // A stale sheet is composed before it is drawn, never an old sheet
    // squeezed into a new size; one still composing appears when done. A
    // message box waits until the paint is over.
    const std::string message = form_.ComposeSheet();
    if (!message.empty())
        QMetaObject::invokeMethod(
            this, [this, message] { form_.Dialogs().Error(this, QString(), QString::fromStdString(message)); },
            Qt::QueuedConnection);
    // The preview shows the whole sheet; the design view's part of it is not drawn here.
    if (form_.Workspace().Stale() || !form_.Workspace().ShowsWholeSheet()) return;
    const Compositor& c = form_.Workspace().Sheet();
    const RasterSize size = c.Size();
    if (!c.HoldsComposition() || size.empty() || l.design.width <= 0 || l.design.height <= 0)
        return;
    // Whatever lies beyond the page picture is cut off.
    DevicePixelScope pixels(painter, PaintBox2, PaintBox2->rect());
    const QRect page(0, 0, l.page.width, l.page.height);
    painter.setClipRect(page);
    QtPainterDibDevice device(painter, page);
    DrawDib(device, l.design.x, l.design.y, l.design.width, l.design.height, c.DesignRaster(), 0, 0, size.width,
            size.height, false, false);
    drawFailures_.After(device.Failure());
    if (form_.Workspace().Print().poster) {
        // Each page's piece; neighbours' outlines cross inside the glue strips.
        painter.setPen(QPen(QColor(0, 0, 255), 0));
        painter.setBrush(Qt::NoBrush);
        for (const PixelRect& r : PosterPages().PieceOutlines(l.design))
            painter.drawRect(QRect(r.x, r.y, r.width - 1, r.height - 1));
    }
}

void TPrintPage::ShowError(const QString& message) { form_.Dialogs().Error(this, QString(), message); }

void TPrintPage::StoreMargins() {
    PaperSettings p = form_.Workspace().Paper();
    p.RandX = RandXEd->Field().Limit(RandXEd->Value());
    p.RandY = RandYED->Field().Limit(RandYED->Value());
    form_.Workspace().SetPaper(p, false);
}

void TPrintPage::RandXEdChange() {
    if (loading_) return;
    StoreMargins();
    PaintBox2Paint();
}

void TPrintPage::RandYEDChange() {
    if (loading_) return;
    StoreMargins();
    PaintBox2Paint();
}

void TPrintPage::zoomed2Change() {
    if (loading_) return;
    form_.Workspace().SetZoom(zoomed2->Value());
    form_.PaintDesign();
}

void TPrintPage::StartJob(const QString& caption,
                          std::function<JobResult(std::stop_token, const SheetProgress&)> work) {
    jobPanel_->Begin(caption);
    PrintBtn->setEnabled(false);
    ExportBtn->setEnabled(false);
    jobTimer_->start();
    const bool started = form_.Workspace().Output().Start(
        [work = std::move(work)](std::stop_token stop, const OutputJob::Progress& progress) {
            return work(stop, [&progress](int sheet, int sheets, int done, int layers) {
                progress(JobPermille(sheet, sheets, done, layers));
            });
        },
        // On the pool's thread: the window hears of it in its own.
        [this] { QMetaObject::invokeMethod(this, &TPrintPage::JobEnded, Qt::QueuedConnection); });
    if (!started) {
        JobEnded();
        form_.Dialogs().Error(this, QString(), QStringLiteral("Es läuft schon ein Druck oder Export."));
    }
}

void TPrintPage::JobEnded() {
    jobTimer_->stop();
    jobPanel_->End();
    PrintBtn->setEnabled(true);
    ExportBtn->setEnabled(true);
    const std::optional<JobResult> result = form_.Workspace().Output().Take();
    if (result && result->failed()) form_.Dialogs().Error(this, QString(), QString::fromStdString(result->message));
}

void TPrintPage::PrintBtnClick() {
    if (form_.Workspace().Output().Running()) return;
    DialogProvider& dialogs = form_.Dialogs();
    DesignWorkspace& workspace = form_.Workspace();
    const JobResult chosen = ChoosePrinter(printer_, QString(), [&] {
        const QString file =
            dialogs.SaveFileName(this, QStringLiteral("Drucken in eine PDF-Datei (kein Drucker eingerichtet)"),
                                 QStringLiteral("PDF-Dokument (*.pdf)"), QStringLiteral("pdf"),
                                 form_.DialogFolder(FileKind::Pdf));
        form_.RememberFolder(FileKind::Pdf, file);
        return file;
    }, [&](const QString& gone, const QString& instead) {
        return dialogs.Confirm(this, QStringLiteral("Drucken"),
                               QString::fromUtf8("Der unter „Drucker einrichten“ gewählte Drucker „%1“ ist nicht mehr "
                                                 "vorhanden. Soll auf „%2“ gedruckt werden?")
                                   .arg(gone, instead));
    });
    if (chosen.cancelled()) return;
    if (!chosen.ok()) {
        dialogs.Error(this, QString(), QString::fromStdString(chosen.message));
        return;
    }
    DesignPrintJob job;
    job.fonts = &form_.Fonts();
    // The job starts from the generator state of the sheet shown.
    job.firstSeed = workspace.SheetStart();
    job.settings = workspace.Print();
    job.screenPpi = form_.ScreenPpi();
    job.zoomPercent = workspace.Zoom();
    const QString saved = QFileInfo(form_.SavedFileName()).fileName();
    job.title = saved.isEmpty() ? QStringLiteral("Unbenannt.zbg") : saved;
    // A poster of many pages is printed only after a question.
    const PosterCheck poster = CheckPosterJob(printer_, job);
    if (!poster.refusal.empty()) return dialogs.Error(this, QString(), QString::fromStdString(poster.refusal));
    if (poster.pages > kPagesWithoutQuestion &&
        !dialogs.Confirm(this, QStringLiteral("Drucken"),
                         QStringLiteral("Der Ausdruck braucht %1 Seiten. Sollen sie wirklich alle gedruckt werden?")
                             .arg(poster.pages)))
        return;
    // The job owns its snapshot of the design; the printer is the window's,
    // whose setup waits until the job is over.
    StartJob(QStringLiteral("Der Zierbogen wird gedruckt ..."),
             [job, design = workspace.Snapshot(), printer = &printer_](std::stop_token stop,
                                                                       const SheetProgress& progress) {
                 DesignPrintJob run = job;
                 run.design = design.get();
                 run.stop = stop;
                 run.progress = progress;
                 return PrintDesign(*printer, run).result;
             });
}

void TPrintPage::WholePageBtnClick() {
    // In whole device pixels, as the page picture is composed.
    const double ratio = PixelRatio(PaintBox2);
    const QSize view(int(ScrollBox2->viewport()->width() * ratio), int(ScrollBox2->viewport()->height() * ratio));
    zoomed2->SetValue(WholePageZoom(form_.Workspace().Paper(), form_.Workspace().Printer().page,
                                    ScreenPpiOf(PaintBox2), view.width(), view.height(), int(kZoomEd.Min),
                                    int(kZoomEd.Max), form_.Workspace().Print().poster));
}

void TPrintPage::ExportBtnClick() {
    if (form_.Workspace().Output().Running()) return;
    DialogProvider& dialogs = form_.Dialogs();
    const QString file = dialogs.SaveFileName(this, QStringLiteral("Grafik Export"), QString::fromLatin1(kExportFilter),
                                              QStringLiteral("png"), form_.DialogFolder(FileKind::Export));
    if (file.isEmpty()) return;
    form_.RememberFolder(FileKind::Export, file);
    const int dpi = askResolution ? askResolution(this) : 300;
    if (dpi <= 0) return;
    DesignWorkspace& workspace = form_.Workspace();
    PrintSettings settings = workspace.Print();
    settings.exportDpi = dpi;
    workspace.SetPrintSettings(settings);
    DesignExportJob job;
    job.fonts = &form_.Fonts();
    job.seed = workspace.SheetStart();
    job.dpi = dpi;
    job.page = workspace.Printer().page;
    job.screenPpi = form_.ScreenPpi();
    job.zoomPercent = workspace.Zoom();
    job.settings = workspace.Print();
    job.fileName = QFile::encodeName(file).toStdString();
    if (job.settings.tiles3x3) {
        const QFileInfo info(file);
        job.previewFileName =
            QFile::encodeName(info.dir().filePath(info.completeBaseName() + QStringLiteral("-3x3.") + info.suffix()))
                .toStdString();
    }
    // The job owns its snapshot: whatever the user does meanwhile, the file
    // holds the sheet of the design as it was now.
    StartJob(QStringLiteral("Die Grafik wird geschrieben ..."),
             [job, design = workspace.Snapshot()](std::stop_token stop, const SheetProgress& progress) {
                 DesignExportJob run = job;
                 run.design = design.get();
                 run.stop = stop;
                 run.progress = progress;
                 return ExportDesign(run);
             });
}

} // namespace zb
