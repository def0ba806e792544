#pragma once
// Drop-down list of the sixteen standard colours and an entry "More..." that
// opens the colour dialog for any other colour. Each entry shows a swatch and
// the colour's name. The chosen colour reads as a colour reference (red in the
// lowest byte) and as an HTML text "#RRGGBB".
#include "app/HtmlColor.h"

#include <QComboBox>
#include <QRect>

#include <functional>
#include <optional>

class QPainter;

namespace zb {

// Swatch and name areas of an entry whose rectangle is `item`. The swatch
// runs from (left + 4, top + 1) to the fixed x 24 and bottom - 1 (right and
// bottom exclusive), empty when the item starts too far right; the name from
// left + 30 to the item's right edge.
QRect ColorSwatchRect(const QRect& item);
QRect ColorNameRect(const QRect& item);

// Draws one entry: `background` over the whole item (Qt::NoBrush leaves it),
// the swatch in `color` outlined black, the name on one line, vertically
// centred, in `textColor`.
void PaintColorEntry(QPainter& painter, const QRect& item, uint32_t color, const QString& name,
                     const QBrush& background, const QColor& textColor);

class TPaloColorComboBox : public QComboBox {
    Q_OBJECT
public:
    // Answers the colour dialog: the chosen colour, or nothing when cancelled.
    using ColorDialog = std::function<std::optional<uint32_t>(uint32_t initial)>;

    explicit TPaloColorComboBox(QWidget* parent = nullptr);

    uint32_t ColorValue() const { return colorValue_; }
    // Selects the last matching standard entry, or stores the colour in the
    // custom entry and selects that. Raises no Change.
    void SetColorValue(uint32_t colorRef);

    QString HTMLcolor() const { return htmlColor_; }
    // Unreadable texts (a character that is not a hex digit) change nothing.
    void SetHTMLcolor(const QString& text);

    TCLanguage Language() const { return language_; }
    void SetLanguage(TCLanguage language);

    // Colour of list item `index` (the custom entry's is its last custom colour).
    uint32_t ItemColor(int index) const;

    // Replaces the colour dialog (tests answer it); an empty function restores
    // the platform's dialog.
    void SetColorDialog(ColorDialog dialog);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user chose an entry (also when the colour dialog was cancelled).
    // The setters never raise it.
    void Change();

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void UserSelected(int index);

    uint32_t colorValue_ = 0;
    QString htmlColor_ = QStringLiteral("#000000");
    TCLanguage language_ = lgEnglish;
    ColorDialog colorDialog_;
};

} // namespace zb
