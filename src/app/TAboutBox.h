#pragma once
// The about box: a panel in the program's warm paper colour with the product
// picture, the product line, the dated line (its "XXXX" becomes the current
// year), three lines about the project and a button to its home page; an OK
// button below. Created for one showing by whoever opens it.
#include <QDialog>
#include <QString>

namespace zb {

// Replaces the first "XXXX" in `text` by `year` in four digits; later ones stay.
QString ReplaceYearPlaceholder(QString text, int year);

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // The client area at 96 dpi; it grows only when the texts need more room.
    static constexpr int kClientWidth = 664;
    static constexpr int kClientHeight = 453;

    explicit TAboutBox(QWidget* parent = nullptr);
};

} // namespace zb
