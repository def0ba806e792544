#pragma once
// Where the file dialogs open: the folder last used for that kind of file,
// else the design's own folder, else the user's documents (or home) folder;
// never the program's working folder.
#include <QString>
#include <array>

namespace zb {

enum class FileKind {
    Design,  // "Öffnen", "Speichern unter"
    Picture, // "Grafik öffnen"
    Export,  // "Grafik Export"
    Pdf,     // printing into a PDF file
};

class DialogFolders {
public:
    // `designFile`: the design's file, empty for a new design.
    QString For(FileKind kind, const QString& designFile) const;
    // The user chose `file` in a dialog for `kind`.
    void Remember(FileKind kind, const QString& file);
    // The folder remembered for `kind` (empty: none), as the settings keep it.
    QString Last(FileKind kind) const { return last_[size_t(kind)]; }
    void SetLast(FileKind kind, const QString& folder) { last_[size_t(kind)] = folder; }

private:
    std::array<QString, 4> last_;
};

} // namespace zb
