#include "app/FileDialogFilter.h"

#include <QFileDialog>
#include <QStringList>

namespace zb {

QString MatchingFilters(const QString& filters) {
    QStringList out;
    for (const QString& item : filters.split(QStringLiteral(";;"))) {
        const qsizetype open = item.lastIndexOf(u'(');
        if (open < 0 || !item.endsWith(u')')) {
            out << item;
            continue;
        }
        QStringList patterns = item.mid(open + 1, item.size() - open - 2).split(u' ', Qt::SkipEmptyParts);
        for (QString& p : patterns)
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");
        out << item + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return out.join(QStringLiteral(";;"));
}

void SetFilters(QFileDialog& dialog, const QString& filters) {
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(MatchingFilters(filters).split(QStringLiteral(";;")));
}

} // namespace zb
