#include "app/FormControls.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollArea>
#include <QSlider>

namespace zb {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QComboBox* ChoiceBox(const char* name, const std::string_view* captions, size_t count) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    for (size_t i = 0; i < count; ++i) box->addItem(FromUtf8(captions[i]));
    return box;
}

QLabel* LabelFor(const char* text, QWidget* buddy) {
    auto* label = new QLabel(QString::fromUtf8(text));
    label->setBuddy(buddy);
    return label;
}

void Named(QWidget* w, const char* accessibleName) { w->setAccessibleName(QString::fromUtf8(accessibleName)); }

QScrollArea* WorkspaceScrollBox(const char* name) {
    auto* box = new QScrollArea;
    box->setObjectName(QString::fromLatin1(name));
    box->setWidgetResizable(false);
    box->setBackgroundRole(QPalette::Dark);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return box;
}

QSlider* ElevenStepSlider(const char* name) {
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setRange(0, 10);
    slider->setPageStep(1);
    slider->setTickInterval(1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setValue(5);
    return slider;
}

} // namespace zb
