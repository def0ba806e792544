// The file dialogs word their filters as the program does and list every
// file under "Alle Dateien (*.*)", names without a dot included.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QTemporaryDir>

#include "app/FileDialogFilter.h"

using zb::MatchingFilters;

TEST(FileDialogFilter, WordedAsGivenMatchingEveryFileForStarDotStar) {
    struct Case {
        const char* given;
        const char* dialog;
    } cases[] = {
        {"Alle Dateien (*.*)", "Alle Dateien (*.*) (*)"},
        {"Zierbogen-Drucker-Dateien (*.zbg);;Alle Dateien (*.*)",
         "Zierbogen-Drucker-Dateien (*.zbg) (*.zbg);;Alle Dateien (*.*) (*)"},
        {"Grafiken (*.png *.bmp *.*)", "Grafiken (*.png *.bmp *.*) (*.png *.bmp *)"},
        {"Ohne Muster", "Ohne Muster"},
    };
    for (const Case& c : cases) EXPECT_EQ(MatchingFilters(QString::fromUtf8(c.given)), QString::fromUtf8(c.dialog));
}

TEST(FileDialogFilter, TheDialogShowsTheWordingAndListsNamesWithoutADot) {
    QTemporaryDir dir;
    for (const char* name : {"LIESMICH", "muster.zbg"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFileDialog dialog(nullptr, QStringLiteral("Öffnen"), dir.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    zb::SetFilters(dialog, QStringLiteral("Zierbogen-Drucker-Dateien (*.zbg);;Alle Dateien (*.*)"));
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 2);
    EXPECT_EQ(types->itemText(0), QStringLiteral("Zierbogen-Drucker-Dateien (*.zbg)"));
    EXPECT_EQ(types->itemText(1), QStringLiteral("Alle Dateien (*.*)"));

    dialog.selectNameFilter(dialog.nameFilters().at(1));
    dialog.show();
    auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
    ASSERT_NE(list, nullptr);
    QStringList shown;
    QElapsedTimer clock;
    clock.start();
    while (shown.size() < 2 && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        shown.clear();
        const QModelIndex root = list->rootIndex();
        for (int r = 0; r < list->model()->rowCount(root); ++r)
            shown << list->model()->index(r, 0, root).data().toString();
    }
    EXPECT_TRUE(shown.contains(QStringLiteral("LIESMICH"))) << shown.join(", ").toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("muster.zbg")));
    dialog.reject();
}
