#include "app/DesignView.h"

#include <QDateTime>
#include <QLabel>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "app/FormControls.h"
#include "app/TPaperPage.h"
#include "imaging/DrawDib.h"
#include "model/RepeatMode.h"
#include "platform/QtPainterDibDevice.h"
#include "viewer/DevicePixelScope.h"
#include "viewer/PaintBox.h"
#include "workspace/DesignWorkspace.h"

namespace zb {

DesignView::DesignView(DesignWorkspace& workspace, ViewNavigation& navigation, int composeWaitMs, Hooks hooks,
                       QWidget* parent)
    : QScrollArea(parent), workspace_(workspace), hooks_(std::move(hooks)), composeWaitMs_(composeWaitMs) {
    setObjectName(QStringLiteral("ScrollBox1"));
    setWidgetResizable(false);
    setBackgroundRole(QPalette::Dark);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Named(this, "Entwurfsansicht");
    surface_ = new PaintBox(nullptr, PaintBox::Fill::ByOwner);
    surface_->setObjectName(QStringLiteral("PaintBox1"));
    Named(surface_, "Entwurfsansicht");
    surface_->setCursor(Qt::PointingHandCursor);
    surface_->setFixedSize(0, 0);
    setWidget(surface_);
    surface_->onPaint = [this](QPainter& p, const QRect& r) { Draw(p, r); };
    surface_->PanWithin(this, &navigation);
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(100);
    connect(progressTimer_, &QTimer::timeout, this, &DesignView::ShowProgress);
}

int DesignView::ScreenPpi() const { return ScreenPpiOf(surface_); }

void DesignView::Paint() {
    const QSize size = SurfaceSizeFor(Tiled(workspace_.SheetSize(ScreenPpi())), surface_);
    if (surface_->size() != size) surface_->setFixedSize(size);
    Report(Compose());
    surface_->update();
}

void DesignView::ShowSeamHints(QLabel* label) const {
    if (!label) return;
    const QString hints = SeamHintText(workspace_.SeamNotes(ScreenPpi()));
    label->setText(hints);
    label->setVisible(!hints.isEmpty());
}

void DesignView::Report(const std::string& message) {
    if (message.empty()) return;
    const double typed = workspace_.Zoom(), shown = workspace_.ShownZoom();
    if (!workspace_.SheetRefused() || shown <= 0 || typed == shown || !hooks_.restoreZoom) {
        hooks_.error(message);
        return;
    }
    hooks_.restoreZoom(shown);
    hooks_.error(message + QStringLiteral("\nDer Zoom von %1 % ist für diesen Entwurf zu groß; die Ansicht zeigt "
                                          "wieder %2 %.")
                               .arg(typed)
                               .arg(shown)
                               .toStdString());
}

std::optional<PixelRect> DesignView::InSight() const {
    if (showRepeat_) return std::nullopt;
    const double ratio = PixelRatio(surface_);
    const QRect shown(horizontalScrollBar()->value(), verticalScrollBar()->value(), viewport()->width(),
                      viewport()->height());
    // Whole device pixels that the shown logical pixels touch.
    const int x0 = int(std::floor(shown.left() * ratio)), y0 = int(std::floor(shown.top() * ratio));
    const int x1 = int(std::ceil((shown.left() + shown.width()) * ratio));
    const int y1 = int(std::ceil((shown.top() + shown.height()) * ratio));
    return PixelRect{x0, y0, x1 - x0, y1 - y0};
}

std::string DesignView::Compose(Coverage coverage) {
    const std::optional<PixelRect> sight = coverage == Coverage::InSight ? InSight() : std::nullopt;
    const std::string message = workspace_.Compose(ScreenPpi(), composeWaitMs_, sight ? &*sight : nullptr);
    if (workspace_.Composing() && !progressTimer_->isActive()) {
        composingSince_ = QDateTime::currentMSecsSinceEpoch();
        progressTimer_->start();
    }
    return message;
}

void DesignView::SheetFinished() {
    Report(workspace_.TakeSheet());
    surface_->update();
}

void DesignView::SetShowRepeat(bool show) {
    showRepeat_ = show;
    Paint();
}

void DesignView::ShowProgress() {
    if (!workspace_.Composing()) {
        progressTimer_->stop();
        hooks_.status(QString());
        return;
    }
    if (QDateTime::currentMSecsSinceEpoch() - composingSince_ < 500) return;
    const int layers = workspace_.ComposingLayerCount();
    hooks_.status(QStringLiteral("Der Bogen wird berechnet ... Ebene %1 von %2")
                      .arg(std::min(workspace_.ComposingLayersDone() + 1, layers))
                      .arg(layers));
}

void DesignView::Draw(QPainter& painter, const QRect& exposed) {
    const Compositor& sheet = workspace_.Sheet();
    const bool fits = SurfaceSizeFor(Tiled(workspace_.ShownSheetSize()), surface_) == surface_->size();
    const int ppi = ScreenPpi();
    const std::optional<PixelRect> sight = InSight();
    const PixelRect* visible = sight ? &*sight : nullptr;
    // A fresh composition of what is in sight needs nothing more (the common
    // repaint: scrolling within the composed part).
    const bool settled = fits && workspace_.Shows(ppi, visible);
    const bool sized = settled || SurfaceSizeFor(Tiled(workspace_.SheetSize(ppi)), surface_) == surface_->size();
    if (!settled && (workspace_.NeedsComposing(ppi, visible) || !sized) && !hooks_.editPending()) {
        // Something changed or came into sight without a paint being asked
        // for (or the print preview composed at another size): compose and
        // size the view once this paint is done, unless the edit timer will.
        QMetaObject::invokeMethod(this, &DesignView::Paint, Qt::QueuedConnection);
    }
    const QColor dark = palette().color(QPalette::Dark);
    if (!fits || !sheet.HoldsComposition() || (showRepeat_ && !workspace_.ShowsWholeSheet())) {
        painter.fillRect(exposed, dark);
        return;
    }
    // The device renders only the exposed rows and columns, so scrolling a
    // large design redraws a strip, not the whole raster.
    DevicePixelScope pixels(painter, surface_, exposed);
    if (showRepeat_) {
        DrawRepeat(painter, pixels.Exposed(), sheet.DesignRaster());
        return;
    }
    // The composed part, exact; around it (until the part in sight is
    // composed) the view's background.
    const PixelRect& area = workspace_.ShownArea();
    const PixelRect& extent = workspace_.ShownExtent();
    const QRect composed(area.x, area.y, area.width, area.height);
    for (const QRect& outside : QRegion(pixels.Exposed()).subtracted(composed)) painter.fillRect(outside, dark);
    const QRect drawn = pixels.Exposed().intersected(composed);
    if (drawn.isEmpty()) return;
    QtPainterDibDevice device(painter, drawn);
    // Source rows count from the raster's bottom.
    const int srcBottom = extent.height - (area.y - extent.y) - area.height;
    DrawDib(device, area.x, area.y, area.width, area.height, sheet.DesignRaster(), area.x - extent.x, srcBottom,
            area.width, area.height, false, false);
    drawFailures_.After(device.Failure());
}

} // namespace zb

namespace zb {

RasterSize DesignView::Tiled(RasterSize size) const {
    if (size.empty()) return size;
    return {size.width * Copies(), size.height * Copies()};
}

// `exposed` in device pixels, the painter drawing in them.
void DesignView::DrawRepeat(QPainter& painter, const QRect& exposed, const TDibRecord& sheet) {
    const int w = DibWidth(sheet), h = DibHeight(sheet);
    const PaperSettings& paper = workspace_.Paper();
    const RepeatMode mode = paper.Seamless ? paper.Repeat : kRepeatBasic;
    const int drop = mode == kRepeatHalfDrop ? h / 2 : 0;
    // Column c of tiles lies c * drop lower than column 0; the middle tile,
    // column 1 and row 1, is the sheet at its own place.
    for (int c = 0; c < 3; ++c) {
        for (int r = -1; r < 4; ++r) {
            const QRect place(c * w, r * h + (c - 1) * drop, w, h);
            const QRect shown = place.intersected(exposed);
            if (shown.isEmpty()) continue;
            painter.save();
            painter.setClipRect(shown);
            painter.translate(place.topLeft());
            // Mirrored tiles: every other column left to right, every other row top to bottom.
            const bool flipX = mode == kRepeatMirror && c % 2 == 0;
            const bool flipY = mode == kRepeatMirror && r % 2 == 0;
            if (flipX || flipY) {
                painter.translate(flipX ? w : 0, flipY ? h : 0);
                painter.scale(flipX ? -1 : 1, flipY ? -1 : 1);
            }
            const QRect local = painter.transform().inverted().mapRect(shown).intersected(QRect(0, 0, w, h));
            QtPainterDibDevice device(painter, local);
            DrawDib(device, 0, 0, w, h, sheet, 0, 0, w, h, false, false);
            drawFailures_.After(device.Failure());
            painter.restore();
        }
    }
}

} // namespace zb
