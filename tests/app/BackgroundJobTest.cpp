#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include "MainFormFixture.h"
#include "app/TPrintPage.h"
#include "model/LayerChoices.h"

using zbtest::MainFormTest;

// An export of a large sheet goes on while the user undoes, deletes a layer
// and opens another design: the file holds the sheet of the design as it was
// when the export started, byte for byte what the command line exports from
// that design with the same "Bogen Nr.".
TEST_F(MainFormTest, AnExportWritesTheDesignAsItWasWhenItStartedWhateverTheUserDoesMeanwhile) {
    zb::DesignWorkspace& w = form->Workspace();
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(w.NewLayer(), "");
        w.StoreEditor([](zb::TLayerRecord& layer) {
            layer.Kind = zb::kKindPattern;
            layer.PatternCount = 4000;
            layer.Transparency = -2;
        });
        w.CommitPendingEdit();
    }
    zb::PaperSettings paper = w.Paper();
    paper.PrintAll = false;
    paper.Breit = 40;
    paper.Hoch = 30;
    w.SetPaper(paper, true);
    const QString start = dir.filePath("start.zbg");
    ASSERT_EQ(w.Save(QFile::encodeName(start).toStdString()), "");
    const uint32_t sheetNumber = w.SheetStart();

    Find<zb::TPrintPage>("PrintPage")->askResolution = [](QWidget*) { return 300; };
    const QString exported = dir.filePath("export.png");
    dialogs.fileNames.push_back(exported);
    bool edited = false;
    bool runningWhenEdited = false;
    QTimer::singleShot(70, form.get(), [&] {
        runningWhenEdited = w.Output().Running();
        Click("UndoBtn");
        Click("DelPlaneBtn");
        dialogs.confirms.push_back(false); // the export runs on
        dialogs.fileNames.push_back(QStringLiteral(ZB_SOURCE_DIR "/examples/beispiel.zbg"));
        Click("OpenBtn");
        edited = true;
    });
    Click("ExportBtn");
    QElapsedTimer clock;
    clock.start();
    while ((!edited || w.Output().Running()) && clock.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    FinishJob();
    ASSERT_TRUE(edited);
    EXPECT_TRUE(runningWhenEdited) << "the export ended before the edits";
    EXPECT_EQ(dialogs.Count("error"), 0) << dialogs.LastText("error").toStdString();
    EXPECT_TRUE(QString::fromStdString(w.FileName()).endsWith("beispiel.zbg"));

    const QString fromCli = dir.filePath("cli.png");
    QProcess cli;
    cli.start(QStringLiteral(ZB_BIN_DIR "/zierbogen"), {"export", start, "-o", fromCli, "--seed",
                                                        QString::number(sheetNumber), "--dpi", "300"});
    ASSERT_TRUE(cli.waitForFinished(600000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    QFile a(exported), b(fromCli);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray window = a.readAll();
    EXPECT_GT(window.size(), 1000);
    EXPECT_TRUE(window == b.readAll()) << "the window's export differs from the design it started with";
}
