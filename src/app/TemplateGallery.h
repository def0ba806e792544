#pragma once
// "Neu aus Vorlage...": a gallery of the templates and the sample designs
// that come with the program, each with a picture of a sheet of it. The
// chosen file becomes a new, untitled design (DocumentCommands).
//
// Ownership: a modal dialog; it reads the files itself and keeps nothing of
// them but their pictures.
#include <QDialog>
#include <QString>
#include <QStringList>

class QListWidget;

namespace zb {

class TemplateGallery : public QDialog {
    Q_OBJECT
public:
    // `folders`: the folders whose .zbg files are shown, in this order, each
    // sorted by file name; `labels` says what each folder holds ("Vorlage",
    // "Beispiel") in the items' tool tips.
    TemplateGallery(const QStringList& folders, const QStringList& labels, QWidget* parent = nullptr);

    // The file chosen (empty when none).
    QString Chosen() const;
    // How many designs the gallery shows.
    int Count() const;

    // The size of the pictures, in device-independent pixels.
    static constexpr int kPictureSize = 150;

private:
    QListWidget* TemplateList = nullptr;
};

// A template's title from its file name: "13-rauten-nahtlos.zbg" gives
// "Rauten nahtlos" (a leading number and the ending go, dashes become spaces).
QString TemplateTitle(const QString& fileName);

} // namespace zb
