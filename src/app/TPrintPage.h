#pragma once
// The page "Drucken": the print preview (the printable page with the design
// at its margins, at the shared zoom), margins, the print command with the
// sheet count and the filter choice, the choice to spread a large sheet over
// several pages (whose grid the preview then shows over the whole design), and
// "Grafik Export...". Sheet count, poster, overlap, filters and the 3 x 3
// tiles are the workspace's print settings, which these controls show and
// set. The geometry is PreviewPageLayout's; printing and export are
// DesignPrinting's, run as the workspace's background job on a snapshot of
// the design, its progress and "Abbrechen" in the status bar (JobPanel).
//
// Ownership: a child widget of the main window's page container; it borrows
// the main window and the application's printer, which outlive it.
#include <QWidget>

#include "app/DrawFailureNotice.h"
#include <functional>
#include <stop_token>

#include "base/JobResult.h"
#include "output/DesignPrinting.h"

#include "workspace/ViewNavigation.h"

class QCheckBox;
class QLabel;
class QPrinter;
class QPushButton;
class QScrollArea;

namespace zb {

class JobPanel;
class PaintBox;
class PosterLayout;
class TImageBtn;
class TMainForm;
class TSpinEdit;
struct PreviewLayout;

class TPrintPage : public QWidget {
    Q_OBJECT
public:
    TPrintPage(TMainForm& form, QPrinter& printer, QWidget* parent = nullptr);

    // Handlers, named after their control and event.
    void PaintBox2Paint();
    void RandXEdChange();
    void RandYEDChange();
    void zoomed2Change();
    void PrintBtnClick();
    void ExportBtnClick();
    // "Ganze Seite": the zoom at which the whole page fits the preview.
    void WholePageBtnClick();

    // The current preview geometry (for the paint and for tests).
    PreviewLayout Layout() const;
    // "Auf mehrere Seiten verteilen": the pages the sheet goes on, at the
    // printer's resolution (one page when unchecked).
    PosterLayout PosterPages() const;

    // The export resolution question (default: a number dialog, starting at
    // the last resolution); 0 means cancelled. Tests answer it themselves.
    std::function<int(QWidget*)> askResolution;

private:
    void LoadFromDesign();
    // The print settings' controls show the workspace's, and send them back.
    void LoadPrintSettings();
    void StorePrintSettings();
    // Runs `work` as the background job, its progress in the status bar.
    void StartJob(const QString& caption, std::function<JobResult(std::stop_token, const SheetProgress&)> work);
    void JobEnded();
    // Gives the paint box the page picture's size and repaints it; composes nothing.
    void ResizePreview();
    void DrawPreview(class QPainter& painter);
    void StoreMargins();
    void PosterChange();

    TMainForm& form_;
    QPrinter& printer_;
    TImageBtn* PrintBtn = nullptr;
    TSpinEdit* RandXEd = nullptr;
    TSpinEdit* RandYED = nullptr;
    TSpinEdit* zoomed2 = nullptr;
    TSpinEdit* SheetCountEd = nullptr;
    QCheckBox* PreviewFilterCheck = nullptr;
    QCheckBox* Preview3x3Check = nullptr;
    QCheckBox* PosterBox = nullptr;
    TSpinEdit* OverlapEd = nullptr;
    QLabel* PosterInfo = nullptr;
    QPushButton* ExportBtn = nullptr;
    QPushButton* WholePageBtn = nullptr;
    QScrollArea* ScrollBox2 = nullptr;
    PaintBox* PaintBox2 = nullptr;
    JobPanel* jobPanel_ = nullptr;
    class QTimer* jobTimer_ = nullptr;
    // The preview's drawing failures, each said once.
    DrawFailureNotice drawFailures_{[this](const QString& message) {
        QMetaObject::invokeMethod(this, [this, message] { ShowError(message); }, Qt::QueuedConnection);
    }};
    void ShowError(const QString& message);
    // Set while the page writes its own fields.
    bool loading_ = false;
    // Drag panning: any button grabs the page.
    ViewNavigation navigation_{kDesignViewZoom};
};

} // namespace zb
