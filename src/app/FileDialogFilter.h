#pragma once
// The file dialogs show their filters as the program words them ("Alle
// Dateien (*.*)") but match names the way this platform's files are named:
// "*.*" would hide every file without a dot, so it matches every file.
#include <QString>

class QFileDialog;

namespace zb {

// "Text (patterns)" items, separated by ";;", each followed by the patterns
// the dialog matches with: "Alle Dateien (*.*)" becomes
// "Alle Dateien (*.*) (*)". A dialog with QFileDialog::HideNameFilterDetails
// then shows the first part and matches with the second.
QString MatchingFilters(const QString& filters);

// Gives the dialog `filters` worded as given and matching as above.
void SetFilters(QFileDialog& dialog, const QString& filters);

} // namespace zb
