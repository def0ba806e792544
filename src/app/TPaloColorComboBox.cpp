#include "app/TPaloColorComboBox.h"

#include <QAbstractItemView>
#include <QColorDialog>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>
#include <QWheelEvent>

#include <algorithm>

namespace zb {

namespace {

constexpr int kColorRole = Qt::UserRole + 1;
constexpr int kDefaultWidth = 120;
constexpr int kSwatchRight = 24;
constexpr int kNameIndent = 30;

QColor ToQColor(uint32_t color) { return QColor(RedOf(color), GreenOf(color), BlueOf(color)); }

uint32_t FromQColor(const QColor& color) {
    QColor rgb = color.toRgb();
    return ColorRef(static_cast<unsigned>(rgb.red()), static_cast<unsigned>(rgb.green()),
                    static_cast<unsigned>(rgb.blue()));
}

std::optional<uint32_t> PlatformColorDialog(uint32_t initial, QWidget* parent) {
    QColor chosen = QColorDialog::getColor(ToQColor(initial), parent, QStringLiteral("Farbe"));
    if (!chosen.isValid()) return std::nullopt;
    return FromQColor(chosen);
}

// Draws the popup's entries like the box itself: swatch and name, the
// selection colour behind a selected entry.
class ColorEntryDelegate : public QStyledItemDelegate {
public:
    explicit ColorEntryDelegate(TPaloColorComboBox* box) : QStyledItemDelegate(box), box_(box) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = option.palette;
        const QBrush background = selected ? pal.brush(QPalette::Highlight) : pal.brush(QPalette::Base);
        const QColor text = selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text);
        // The custom entry's swatch shows the chosen colour, whichever it is.
        const uint32_t color =
            index.row() == kCustomColorIndex ? box_->ColorValue() : index.data(kColorRole).toUInt();
        painter->save();
        painter->setFont(option.font);
        PaintColorEntry(*painter, option.rect, color, index.data(Qt::DisplayRole).toString(), background, text);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        // One fixed height for all entries.
        const int height = std::max(option.fontMetrics.height() + 4, 18);
        const int width = kNameIndent + option.fontMetrics.horizontalAdvance(index.data().toString()) + 6;
        return QSize(width, height);
    }

private:
    const TPaloColorComboBox* box_;
};

} // namespace

QRect ColorSwatchRect(const QRect& item) {
    const int left = item.left() + 4;
    const int top = item.top() + 1;
    const int right = kSwatchRight;                     // exclusive
    const int bottom = item.top() + item.height() - 1; // exclusive
    if (right <= left || bottom <= top) return QRect();
    return QRect(left, top, right - left, bottom - top);
}

QRect ColorNameRect(const QRect& item) {
    const int left = item.left() + kNameIndent;
    const int right = item.left() + item.width();
    return QRect(left, item.top(), std::max(0, right - left), item.height());
}

void PaintColorEntry(QPainter& painter, const QRect& item, uint32_t color, const QString& name,
                     const QBrush& background, const QColor& textColor) {
    if (background.style() != Qt::NoBrush) painter.fillRect(item, background);
    const QRect swatch = ColorSwatchRect(item);
    if (!swatch.isEmpty()) {
        painter.fillRect(swatch, ToQColor(color));
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    }
    const QRect nameRect = ColorNameRect(item);
    if (nameRect.width() > 0) {
        painter.setPen(textColor);
        painter.drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);
    }
}

TPaloColorComboBox::TPaloColorComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setItemDelegate(new ColorEntryDelegate(this));
    for (int i = 0; i < static_cast<int>(kColorTable.size()); ++i) {
        addItem(ColorName(i, language_));
        setItemData(i, kColorTable[static_cast<size_t>(i)].Color, kColorRole);
    }
    setCurrentIndex(0);
    setAccessibleDescription(QStringLiteral("Farbauswahl: sechzehn Grundfarben oder eine eigene Farbe"));
    // activated comes only from the user (list, keys), never from setCurrentIndex.
    connect(this, &QComboBox::activated, this, &TPaloColorComboBox::UserSelected);
}

uint32_t TPaloColorComboBox::ItemColor(int index) const {
    return itemData(index, kColorRole).toUInt();
}

void TPaloColorComboBox::SetColorDialog(ColorDialog dialog) {
    colorDialog_ = std::move(dialog);
}

void TPaloColorComboBox::UserSelected(int index) {
    if (index == kCustomColorIndex) {
        const auto chosen = colorDialog_ ? colorDialog_(colorValue_) : PlatformColorDialog(colorValue_, this);
        if (chosen) {
            SetColorValue(*chosen);
        } else {
            // Cancelled: the custom entry stays selected, the colour stays.
            update();
        }
    } else if (index >= 0) {
        SetColorValue(ItemColor(index));
    }
    emit Change();
}

void TPaloColorComboBox::SetColorValue(uint32_t colorRef) {
    std::array<uint32_t, kColorTable.size()> colors{};
    const int n = std::min(count(), static_cast<int>(colors.size()));
    for (int i = 0; i < n; ++i) colors[static_cast<size_t>(i)] = ItemColor(i);
    const int match = MatchColorIndex(colorRef, colors.data(), n);
    if (match >= 0) {
        setCurrentIndex(match);
    } else {
        setItemData(kCustomColorIndex, colorRef, kColorRole);
        setCurrentIndex(kCustomColorIndex);
    }
    colorValue_ = colorRef;
    htmlColor_ = FormatHtmlColor(colorRef);
    update();
}

void TPaloColorComboBox::SetHTMLcolor(const QString& text) {
    QString s = text.toUpper().left(255);
    if (s.isEmpty()) s = QStringLiteral("#000000");
    const std::optional<uint32_t> color = ParseHtmlColor(s);
    if (!color) return;
    if (*color != colorValue_) SetColorValue(*color);
    htmlColor_ = s;
}

void TPaloColorComboBox::SetLanguage(TCLanguage language) {
    language_ = language;
    for (int i = 0; i < count(); ++i) setItemText(i, ColorName(i, language_));
    update();
}

QSize TPaloColorComboBox::sizeHint() const {
    QSize size = QComboBox::sizeHint();
    size.setWidth(std::max(kDefaultWidth, size.width() + kNameIndent - 4));
    return size;
}

QSize TPaloColorComboBox::minimumSizeHint() const {
    QSize size = QComboBox::minimumSizeHint();
    size.setWidth(std::max(kDefaultWidth, size.width()));
    return size;
}

void TPaloColorComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QString name = option.currentText;
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const bool focused = hasFocus() && !view()->isVisible();
    const QBrush background = focused ? palette().brush(QPalette::Highlight) : QBrush(Qt::NoBrush);
    const QColor text = focused ? palette().color(QPalette::HighlightedText) : palette().color(QPalette::ButtonText);
    const int index = currentIndex();
    const uint32_t color = index == kCustomColorIndex ? colorValue_ : ItemColor(index);
    PaintColorEntry(painter, field, color, name, background, text);
}

void TPaloColorComboBox::wheelEvent(QWheelEvent* event) {
    // The wheel walks the sixteen standard colours only: a turn of the wheel
    // should never open a dialog.
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    const int index = currentIndex() + (delta < 0 ? 1 : -1);
    if (index >= 0 && index < kCustomColorIndex) {
        setCurrentIndex(index);
        UserSelected(index);
    }
    event->accept();
}

} // namespace zb
