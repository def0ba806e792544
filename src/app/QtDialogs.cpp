#include "app/QtDialogs.h"
#include "app/FileDialogFilter.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QVBoxLayout>
#include <QMessageBox>
#include <QPushButton>

#include "app/WindowTitle.h"

namespace zb {

namespace {

QString Caption(const QString& caption) {
    return caption.isEmpty() ? QString::fromUtf8(kApplicationTitle) : caption;
}

} // namespace

Answer QtDialogs::Ask(QWidget* parent, const QString& caption, const QString& text, bool offerSave) {
    QMessageBox box(QMessageBox::Information, Caption(caption), text, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    QPushButton* save = offerSave ? box.addButton(QStringLiteral("Speichern"), QMessageBox::AcceptRole) : nullptr;
    box.setDefaultButton(save ? save : static_cast<QPushButton*>(box.button(QMessageBox::Ok)));
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    if (save && box.clickedButton() == save) return Answer::Save;
    return box.clickedButton() == box.button(QMessageBox::Ok) ? Answer::Ok : Answer::Cancel;
}

bool QtDialogs::Choose(QWidget* parent, const QString& caption, const QString& text, const QString& yes,
                       const QString& no) {
    QMessageBox box(QMessageBox::Question, Caption(caption), text, QMessageBox::NoButton, parent);
    QPushButton* yesButton = box.addButton(yes, QMessageBox::AcceptRole);
    QPushButton* noButton = box.addButton(no, QMessageBox::RejectRole);
    box.setDefaultButton(yesButton);
    box.setEscapeButton(noButton);
    box.exec();
    return box.clickedButton() == yesButton;
}

std::optional<std::vector<bool>> QtDialogs::ChooseItems(QWidget* parent, const QString& caption,
                                                        const QString& text, const QStringList& items,
                                                        const QString& yes, const QString& no,
                                                        const QString& later) {
    QDialog dialog(parent);
    dialog.setWindowTitle(Caption(caption));
    auto* column = new QVBoxLayout(&dialog);
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    column->addWidget(label);
    std::vector<QCheckBox*> boxes;
    for (const QString& item : items) {
        boxes.push_back(new QCheckBox(item));
        boxes.back()->setChecked(true);
        column->addWidget(boxes.back());
    }
    auto* buttons = new QDialogButtonBox;
    QPushButton* yesButton = buttons->addButton(yes, QDialogButtonBox::AcceptRole);
    QPushButton* noButton = buttons->addButton(no, QDialogButtonBox::DestructiveRole);
    QPushButton* laterButton = buttons->addButton(later, QDialogButtonBox::RejectRole);
    yesButton->setDefault(true);
    QObject::connect(yesButton, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(noButton, &QPushButton::clicked, &dialog, [&dialog] { dialog.done(2); });
    QObject::connect(laterButton, &QPushButton::clicked, &dialog, &QDialog::reject);
    column->addWidget(buttons);
    const int result = dialog.exec();
    if (result == QDialog::Rejected) return std::nullopt;
    std::vector<bool> chosen;
    for (const QCheckBox* box : boxes) chosen.push_back(result == QDialog::Accepted && box->isChecked());
    return chosen;
}

void QtDialogs::Error(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Critical, Caption(caption), text, QMessageBox::Ok, parent);
    box.exec();
}

QString QtDialogs::OpenFileName(QWidget* parent, const QString& caption, const QString& filter,
                                const QString& folder) {
    QFileDialog dialog(parent, caption, folder);
    SetFilters(dialog, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString QtDialogs::SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                const QString& defaultSuffix, const QString& folder) {
    QFileDialog dialog(parent, caption, folder);
    SetFilters(dialog, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

} // namespace zb
