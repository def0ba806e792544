#include "app/MainActions.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "app/Pictures.h"

namespace zb {

namespace {

// The platform's keys for a standard command, and ours where the platform
// names none (some desktops give "Speichern unter" or "Wiederholen" no key).
QList<QKeySequence> Keys(QKeySequence::StandardKey standard, std::initializer_list<QKeySequence> ours) {
    QList<QKeySequence> keys;
    if (standard != QKeySequence::UnknownKey) keys = QKeySequence::keyBindings(standard);
    for (const QKeySequence& k : ours)
        if (!keys.contains(k)) keys << k;
    return keys;
}

QIcon Icon(const char* picture, const char* theme) {
    if (picture) return LoadIcon(QString::fromLatin1(picture));
    return theme ? QIcon::fromTheme(QString::fromLatin1(theme)) : QIcon();
}

} // namespace

MainActions::MainActions(QWidget* window) : QObject(window) {
    setObjectName(QStringLiteral("MainActions"));
    using K = QKeySequence;
    const struct {
        QAction* MainActions::*member;
        const char* name;
        const char* text;     // the menu's caption
        const char* iconText; // the button's caption, where a button shows it
        const char* tip;
        const char* picture;  // our own picture, else
        const char* theme;    // the desktop's icon of that name
        QList<QKeySequence> keys;
        bool checkable;
    } rows[] = {
        {&MainActions::New, "NewAction", "&Neu", "&Neu", "Neu - alles zurücksetzen", pic::kNeu, nullptr,
         Keys(K::New, {K(Qt::CTRL | Qt::Key_N)}), false},
        {&MainActions::NewFromTemplate, "NewFromTemplateAction", "Neu aus &Vorlage...", "&Vorlage...",
         "Einen neuen Entwurf aus einer Vorlage beginnen (Neu aus Vorlage...)", pic::kNeu, nullptr,
         Keys(K::UnknownKey, {}), false},
        {&MainActions::Open, "OpenAction", "Ö&ffnen...", "Ö&ffnen...", "Gespeicherten Strichbogen öffnen...",
         pic::kOeffnen, nullptr, Keys(K::Open, {K(Qt::CTRL | Qt::Key_O)}), false},
        {&MainActions::Save, "SaveAction", "&Speichern", "&Speichern", "Strichbogen speichern", pic::kSpeichern,
         nullptr, Keys(K::Save, {K(Qt::CTRL | Qt::Key_S)}), false},
        {&MainActions::SaveAs, "SaveAsAction", "Speichern &unter...", "Speichern &unter...",
         "Strichbogen speichern unter...", pic::kSpeichernUnter, nullptr,
         Keys(K::SaveAs, {K(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}), false},
        {&MainActions::Print, "PrintAction", "&Drucken...", nullptr,
         "Den Bogen mit den Einstellungen der Seite \"Drucken\" drucken", pic::kTabDrucken, nullptr,
         Keys(K::Print, {K(Qt::CTRL | Qt::Key_P)}), false},
        {&MainActions::Export, "ExportAction", "&Exportieren...", nullptr,
         "Den Bogen als Grafik oder PDF-Datei schreiben (Grafik Export...)", nullptr, "document-export",
         Keys(K::UnknownKey, {K(Qt::CTRL | Qt::Key_E)}), false},
        {&MainActions::Quit, "QuitAction", "&Beenden", nullptr, "Hiermit verlassen Sie das Programm", nullptr,
         "application-exit", Keys(K::Quit, {K(Qt::CTRL | Qt::Key_Q)}), false},
        {&MainActions::Undo, "UndoAction", "&Rückgängig", "Rückgängig", "Letzte Änderung rückgängig machen (Strg+Z)",
         pic::kUndo, nullptr, Keys(K::Undo, {K(Qt::CTRL | Qt::Key_Z)}), false},
        {&MainActions::Redo, "RedoAction", "&Wiederholen", "Wiederholen",
         "Rückgängig gemachte Änderung wiederholen (Strg+Umschalt+Z)", pic::kRedo, nullptr,
         Keys(K::Redo, {K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), K(Qt::CTRL | Qt::Key_Y)}), false},
        {&MainActions::Paste, "PasteAction", "&Einfügen", nullptr,
         "Die Grafik der Zwischenablage in die gewählte Textur-Ebene oder eine neue Ebene einfügen", nullptr,
         "edit-paste", Keys(K::Paste, {K(Qt::CTRL | Qt::Key_V)}), false},
        {&MainActions::ZoomIn, "ZoomInAction", "&Vergrößern", nullptr, "Die Ansicht vergrößern (Strg++)", nullptr,
         "zoom-in", Keys(K::ZoomIn, {K(Qt::CTRL | Qt::Key_Plus), K(Qt::CTRL | Qt::Key_Equal)}), false},
        {&MainActions::ZoomOut, "ZoomOutAction", "Ver&kleinern", nullptr, "Die Ansicht verkleinern (Strg+-)", nullptr,
         "zoom-out", Keys(K::ZoomOut, {K(Qt::CTRL | Qt::Key_Minus)}), false},
        {&MainActions::ActualSize, "ActualSizeAction", "&100 %", nullptr, "Den Bogen in seiner wahren Größe zeigen",
         nullptr, "zoom-original", Keys(K::UnknownKey, {K(Qt::CTRL | Qt::Key_0)}), false},
        {&MainActions::WholePage, "WholePageAction", "&Ganze Seite", nullptr,
         "Den ganzen Bogen (auf der Seite \"Drucken\" die ganze Seite) in die Ansicht einpassen", nullptr,
         "zoom-fit-best", Keys(K::UnknownKey, {}), false},
        {&MainActions::ShowRepeat, "ShowRepeatAction", "&Wiederholung zeigen", nullptr,
         "Zeigt den Bogen 3 x 3 mal, wie er sich wiederholt, so dass Nähte schon hier zu sehen sind", nullptr,
         nullptr, Keys(K::UnknownKey, {}), true},
        {&MainActions::NewLayer, "NewLayerAction", "&Neue Ebene", nullptr, "Eine neue Ebene über alle anderen legen",
         pic::kTabEbenen, nullptr, Keys(K::UnknownKey, {K(Qt::CTRL | Qt::SHIFT | Qt::Key_N)}), false},
        {&MainActions::DeleteLayer, "DeleteLayerAction", "&Löschen", nullptr, "Die gewählte Ebene löschen", nullptr,
         "edit-delete", Keys(K::UnknownKey, {}), false},
        {&MainActions::DuplicateLayer, "DuplicateLayerAction", "Ebene &duplizieren", nullptr,
         "Eine Kopie der gewählten Ebene direkt über sie legen (Strg+J)", nullptr, "edit-copy",
         Keys(K::UnknownKey, {K(Qt::CTRL | Qt::Key_J)}), false},
        {&MainActions::MoveUp, "MoveUpAction", "Nach &oben verschieben", nullptr, "Nach oben verschieben", nullptr,
         "go-up", Keys(K::UnknownKey, {}), false},
        {&MainActions::MoveDown, "MoveDownAction", "Nach &unten verschieben", nullptr, "Nach unten verschieben",
         nullptr, "go-down", Keys(K::UnknownKey, {}), false},
        {&MainActions::Reroll, "RerollAction", "Neu &würfeln", nullptr,
         "Einen neuen Bogen desselben Entwurfs zusammensetzen (F5)", pic::kNeuWuerfeln, nullptr,
         Keys(K::UnknownKey, {K(Qt::Key_F5)}), false},
        {&MainActions::HoldSheet, "HoldSheetAction", "Bogen &festhalten", nullptr,
         "Auch beim Öffnen und bei \"Neu\" bleibt der gezeigte Bogen (seine Nummer) erhalten", nullptr, nullptr,
         Keys(K::UnknownKey, {}), true},
        {&MainActions::Manual, "ManualAction", "&Handbuch", nullptr,
         "Das Handbuch beim Abschnitt der gezeigten Seite öffnen (F1)", pic::kHilfe, nullptr,
         Keys(K::HelpContents, {K(Qt::Key_F1)}), false},
        {&MainActions::About, "AboutAction", "&Info", nullptr, "Informationen über das Programm", nullptr,
         "help-about", Keys(K::UnknownKey, {}), false},
    };
    for (const auto& row : rows) {
        auto* action = new QAction(QString::fromUtf8(row.text), window);
        action->setObjectName(QString::fromLatin1(row.name));
        if (row.iconText) action->setIconText(QString::fromUtf8(row.iconText));
        action->setToolTip(QString::fromUtf8(row.tip));
        action->setIcon(Icon(row.picture, row.theme));
        action->setShortcuts(row.keys);
        action->setCheckable(row.checkable);
        // Keys work wherever the focus is in the window, menu bar shown or not.
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
        this->*row.member = action;
    }
    Recent = new QMenu(QStringLiteral("&Zuletzt geöffnet"), window);
    Recent->setObjectName(QStringLiteral("RecentMenu"));
}

void MainActions::FillMenuBar(QMenuBar* bar) const {
    QMenu* file = bar->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("FileMenu"));
    file->addActions({New, NewFromTemplate, Open});
    file->addMenu(Recent);
    file->addActions({Save, SaveAs});
    file->addSeparator();
    file->addActions({Print, Export});
    file->addSeparator();
    file->addAction(Quit);

    QMenu* edit = bar->addMenu(QStringLiteral("&Bearbeiten"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    edit->addActions({Undo, Redo});
    edit->addSeparator();
    edit->addAction(Paste);

    QMenu* view = bar->addMenu(QStringLiteral("&Ansicht"));
    view->setObjectName(QStringLiteral("ViewMenu"));
    view->addActions({ZoomIn, ZoomOut, ActualSize, WholePage});
    view->addSeparator();
    view->addAction(ShowRepeat);

    QMenu* layer = bar->addMenu(QStringLiteral("&Ebene"));
    layer->setObjectName(QStringLiteral("LayerMenu"));
    layer->addActions({NewLayer, DuplicateLayer, DeleteLayer});
    layer->addSeparator();
    layer->addActions({MoveUp, MoveDown});
    layer->addSeparator();
    layer->addActions({Reroll, HoldSheet});

    QMenu* help = bar->addMenu(QStringLiteral("&Hilfe"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    help->addActions({Manual, About});
}

} // namespace zb
