#pragma once
// Small builders for the window's controls, so every page makes its lists,
// labels and scroll boxes the same way. The caller takes ownership of what
// they return (by putting it into a layout).
#include <QString>
#include <array>
#include <string_view>

class QComboBox;
class QLabel;
class QScrollArea;
class QSlider;
class QWidget;

namespace zb {

// A UTF-8 caption as Qt text.
QString FromUtf8(std::string_view text);

// A list named `name` that offers `captions` in their order.
QComboBox* ChoiceBox(const char* name, const std::string_view* captions, size_t count);
template <size_t N>
QComboBox* ChoiceBox(const char* name, const std::array<std::string_view, N>& captions) {
    return ChoiceBox(name, captions.data(), N);
}

// A label that names `buddy` for the keyboard and for assistive technology.
QLabel* LabelFor(const char* text, QWidget* buddy);

// The name assistive technology reads for a control without a label.
void Named(QWidget* w, const char* accessibleName);

// Gives a new control its form name and, when no label names it, the name
// assistive technology reads.
template <class W>
W* Control(W* w, const char* name, const char* accessibleName = nullptr) {
    w->setObjectName(QString::fromLatin1(name));
    if (accessibleName) Named(w, accessibleName);
    return w;
}

// A scroll box on the dark ground that shows a picture at its top left.
QScrollArea* WorkspaceScrollBox(const char* name);

// A slider with eleven positions 0 .. 10 and a tick at each, at 5.
QSlider* ElevenStepSlider(const char* name);

} // namespace zb
