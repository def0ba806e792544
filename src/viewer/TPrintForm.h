#pragma once
// The picture print dialog "Bild drucken...": the printed size (the whole
// page, or width and height in percent of the page), aspect and centring,
// with a page preview. Made for one print command and destroyed after it; only
// the two percentages carry over, through the settings store.
//
// Ownership: holds a copy of the viewer's TDibRecord; the rows stay the
// viewer's and are neither changed nor freed here. The printer is borrowed.
#include <QDialog>
#include <functional>

#include "base/TDibRecord.h"
#include "output/PicturePrintLayout.h"

class QCheckBox;
class QGroupBox;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace zb {
class WholeNumberEdit;
}

namespace zb {

class PaintBox;

class TPrintForm : public QDialog {
    Q_OBJECT
public:
    TPrintForm(const TDibRecord& picture, QPrinter& printer, QWidget* parent = nullptr);

    // The choices as the controls show them.
    PicturePrintChoice Choice() const;
    // Side of the square preview surface.
    static constexpr int kPreviewSide = 190;

    // Closes the window (the viewer forgets the picture, the dialog saves
    // the percentages).
    void done(int result) override;

    // Opens the manual at a section (F1); without it F1 does nothing.
    std::function<void(const QString& section)> ShowHelp;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void PrintPaintBoxPaint(QPainter& painter);
    void UserdefCheckClick();
    void BreitEditChange();
    void HochEditChange();
    void PrintSetupBtnClick();
    // The coupling of the two fields without the repaint; the guard keeps the
    // fields' own change notifications out.
    void DeriveHeight();
    void DeriveWidth();
    // Printable page of the printer, read afresh.
    void PageSize(int64_t& pw, int64_t& ph) const;

    TDibRecord picture_;
    QPrinter& printer_;
    bool guard_ = false;
    // The user's height edit stands until the field is left (the paint does
    // not derive the height meanwhile).
    bool heightTyped_ = false;

    PaintBox* PrintPaintBox;
    QRadioButton* UseFullCheck;
    QRadioButton* UserdefCheck;
    WholeNumberEdit* BreitEdit;
    WholeNumberEdit* HochEdit;
    QCheckBox* SverhCheck;
    QCheckBox* ZentrCheck;
    QPushButton* OkBtn;
    QPushButton* PrintSetupBtn;
    QPushButton* CancelBtn;
};

} // namespace zb
