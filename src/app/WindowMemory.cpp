#include "app/WindowMemory.h"

#include <QSettings>
#include <algorithm>

#include "output/PicturePrinting.h"

namespace zb {

namespace {

const char* const kFolderKeys[] = {"Ordner/Entwuerfe", "Ordner/Grafiken", "Ordner/Exporte", "Ordner/PDF"};

QSettings Settings() {
    return QSettings(QString::fromLatin1(kSettingsOrganisation), QString::fromLatin1(kSettingsApplication));
}

} // namespace

QSize FirstStartSize(const QRect& available) {
    return {std::min(1100, available.width()), std::min(760, available.height())};
}

WindowMemory::State WindowMemory::Load(DialogFolders& folders) {
    const QSettings settings = Settings();
    State state;
    state.geometry = settings.value(QStringLiteral("Fenster/Geometrie")).toByteArray();
    state.page = settings.value(QStringLiteral("Fenster/Seite"), 0).toInt();
    for (int k = 0; k < 4; ++k)
        folders.SetLast(FileKind(k), settings.value(QString::fromLatin1(kFolderKeys[k])).toString());
    return state;
}

void WindowMemory::Save(const State& state, const DialogFolders& folders) {
    QSettings settings = Settings();
    settings.setValue(QStringLiteral("Fenster/Geometrie"), state.geometry);
    settings.setValue(QStringLiteral("Fenster/Seite"), state.page);
    for (int k = 0; k < 4; ++k) {
        const QString folder = folders.Last(FileKind(k));
        if (!folder.isEmpty()) settings.setValue(QString::fromLatin1(kFolderKeys[k]), folder);
    }
}

} // namespace zb
