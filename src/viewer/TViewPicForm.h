#pragma once
// The picture viewer "Bild betrachten...": one picture at a zoom of 5 to
// 9000 %, panned by dragging or with the wheel, printed through the picture
// print dialog. Made once and shown again for every picture, so the zoom and
// the scroll position stay as the user left them.
//
// Ownership: the viewer holds a copy of the caller's TDibRecord; the pixel
// rows stay the caller's, which must keep them alive while the window is
// shown. The viewer never changes or frees them and forgets them when the
// window closes. The printer (when given) is borrowed and must outlive the
// viewer; without one the viewer keeps a printer of its own.
#include <QDialog>
#include <functional>
#include <memory>

#include "base/TDibRecord.h"
#include "workspace/ViewNavigation.h"

class QLabel;
class QPrinter;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace zb {
class WholeNumberEdit;
}
class QStatusBar;

namespace zb {

class PaintBox;
class TPrintForm;

class TViewPicForm : public QDialog {
    Q_OBJECT
public:
    explicit TViewPicForm(QWidget* parent = nullptr, QPrinter* printer = nullptr);
    ~TViewPicForm() override;

    // Shows the picture modally; returns when the window closes.
    int ShowPicture(const TDibRecord& picture);
    // Puts the picture in without showing the window (ShowPicture does this
    // first).
    void SetPicture(const TDibRecord& picture);
    const TDibRecord& Picture() const { return picture_; }

    // Zooms so that the picture point at `viewportPos` stays where it is.
    void ZoomAbout(int zoomPercent, QPoint viewportPos);

    // Replaceable for tests: runs the print dialog (default: exec()), and asks
    // for the PDF file when no printer is installed.
    std::function<int(TPrintForm&)> ExecPrintForm;
    std::function<QString()> AskPdfFileName;
    // Replaceable for tests: shows a failure (default: an error box).
    std::function<void(const QString&)> ShowError;
    // Opens the manual at a section (F1 here and in "Bild drucken..."); the
    // window program sets it, without it F1 does nothing.
    std::function<void(const QString& section)> ShowHelp;

    // The printer pictures are printed on (made for the default printer when
    // none was given). SetPrinter shares another one (borrowed).
    QPrinter& Printer();
    void SetPrinter(QPrinter* printer) { printer_ = printer; }

    // Closes the window (the viewer forgets the picture, the dialog saves
    // the percentages).
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ZoomEdChange();
    void PrintBrnClick();
    void PaintBox1Paint(QPainter& painter, const QRect& exposed);
    void FormMouseWheel(int notches);
    // Gives PaintBox1 the size of the picture at the current zoom.
    void SizeSurface();

    TDibRecord picture_;
    QPrinter* printer_;
    std::unique_ptr<QPrinter> ownPrinter_;
    // Dragging pans the picture; the wheel scrolls, with Ctrl it zooms.
    ViewNavigation navigation_{kPictureViewZoom};
    bool centred_ = false;

    QPushButton* ReadyBtn;
    QPushButton* PrintBrn;
    QLabel* ZoomLabel;
    WholeNumberEdit* ZoomEd;
    QScrollArea* ScrollBox1;
    PaintBox* PaintBox1;
    QStatusBar* StatusBar1;
};

} // namespace zb
