// What programs that ended without cleaning up leave in the recovery folder,
// and what the next start makes of it.
#include "MainFormFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <QStatusBar>
#include <QThread>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <sys/time.h>

#include "app/RecoveryCopy.h"
#include "app/RecoveryWriter.h"
#include "base/ThreadPool.h"
#include "document/DesignFile.h"
#include "workspace/DesignWorkspace.h"

using namespace zb;
using zbtest::MainFormTest;

namespace {

const PrinterFacts kA4{{4760, 6779, 600, 600}, true};

QString Folder() { return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation); }

// A program with a design of `layers` layers, saved as `file` first when one
// is named, with unsaved changes written to its copy.
struct Program {
    explicit Program(int layers, const QString& file = {}) : workspace(7, kA4, nullptr), copy(Folder()) {
        if (!file.isEmpty()) workspace.Save(QFile::encodeName(file).toStdString());
        for (int i = 0; i < layers; ++i) workspace.NewLayer();
        EXPECT_TRUE(copy.Write(workspace.GetDesign(), workspace.FileName()));
    }
    DesignWorkspace workspace;
    RecoveryCopy copy;
};

// A program that was killed: what it wrote stays, its lock is gone. Copies
// left before are made a little older, since two writes in a row may share a
// file-system tick and the question lists the newest first.
void Killed(int layers, const QString& file = {}) {
    for (const QString& entry : QDir(Folder()).entryList({"wiederherstellung-*.zbg"}, QDir::Files)) {
        QFile earlier(Folder() + "/" + entry);
        const QDateTime written = QFileInfo(earlier).lastModified();
        if (earlier.open(QIODevice::ReadWrite)) earlier.setFileTime(written.addSecs(-2), QFileDevice::FileModificationTime);
    }
    Program program(layers, file);
}

void MakeOld(const QString& path) {
    const struct timeval old[2] = {{1000, 0}, {1000, 0}};
    ::utimes(QFile::encodeName(path).constData(), old);
}

QStringList Entries() { return QDir(Folder()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name); }

int Count(const QString& pattern) {
    return int(QDir(Folder()).entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System).size());
}

std::unique_ptr<Program> running; // a program still running beside the test's window

struct Case {
    const char* what;
    std::function<void(const QString& dir)> leave;
    QStringList offered;  // the design names the question lists, newest first
    int layersRestored;   // layers of the design restored here; 0: none
    int furtherWindows;   // windows opened for further copies
};

} // namespace

TEST_F(MainFormTest, RecoveryOffersEveryCopyOfAProgramThatIsGoneAndNothingElse) {
    const Case cases[] = {
        {"killed during an edit", [](const QString& dir) { Killed(3, dir + "/b1.zbg"); }, {"b1.zbg"}, 3, 0},
        {"killed while writing the next copy",
         [](const QString&) {
             Program program(2);
             const QString half = Folder() + "/." + QFileInfo(program.copy.CopyPath()).fileName() + ".tmp-0badf00d";
             QFile file(half);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("half");
             file.close();
             MakeOld(half);
         },
         {"Unbenannt"}, 2, 0},
        {"killed after its own restore",
         [](const QString&) {
             Killed(2);
             Program second(1);
             const std::vector<RecoveryCopy::Leftover> found = second.copy.FindLeftovers();
             ASSERT_EQ(found.size(), 1u);
             ASSERT_EQ(second.workspace.Recover(QFile::encodeName(found[0].design).toStdString(), ""), "");
             second.workspace.NewLayer();
             second.copy.TakeOver(found[0]);
             ASSERT_TRUE(second.copy.Write(second.workspace.GetDesign(), second.workspace.FileName()));
         },
         {"Unbenannt"}, 3, 0},
        {"killed with this program's process id",
         [](const QString&) {
             // An earlier program of this process id (a container starts every
             // program at the same one) left its copy and its lock file.
             Program program(4);
             const QString old = Folder() + "/wiederherstellung-" + QString::number(QCoreApplication::applicationPid());
             ASSERT_TRUE(QFile::copy(program.copy.CopyPath(), old + ".zbg"));
             QFile lock(old + ".lock");
             ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
             lock.write(QByteArray::number(QCoreApplication::applicationPid()) + "\nzierbogen-drucker\n");
             program.copy.Remove();
         },
         {"Unbenannt"}, 4, 0},
        {"two programs killed",
         [](const QString& dir) {
             Killed(2, dir + "/a.zbg");
             Killed(3, dir + "/b.zbg");
         },
         {"b.zbg", "a.zbg"}, 3, 1},
        {"another program still running", [](const QString&) { running = std::make_unique<Program>(2); }, {}, 0, 0},
        {"named pipes named like copies",
         [](const QString&) {
             Killed(2);
             const QString name = QDir(Folder()).entryList({"*.zbg"}).first().replace(".zbg", ".name");
             QFile::remove(Folder() + "/" + name);
             for (const QString& fifo : {name, QStringLiteral("wiederherstellung-9.zbg"),
                                         QStringLiteral("wiederherstellung-8.zbg"), QStringLiteral("wiederherstellung-8.lock")})
                 ASSERT_EQ(::mkfifo(QFile::encodeName(Folder() + "/" + fifo).constData(), 0600), 0);
         },
         {"Unbenannt"}, 2, 0},
        {"a damaged copy",
         [](const QString&) {
             Killed(2);
             QFile copy(Folder() + "/" + QDir(Folder()).entryList({"*.zbg"}).first());
             ASSERT_TRUE(copy.open(QIODevice::ReadWrite));
             copy.resize(7);
         },
         {"Unbenannt"}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(Folder()).removeRecursively();
        QDir().mkpath(Folder());
        c.leave(dir.path());
        Make({});
        QSet<QWidget*> before;
        for (QWidget* w : QApplication::topLevelWidgets()) before.insert(w);
        const QDateTime shown = QDateTime::currentDateTime();
        Show();
        EXPECT_EQ(dialogs.Count("items"), c.offered.isEmpty() ? 0 : 1);
        ASSERT_EQ(dialogs.lastItems.size(), c.offered.size());
        for (qsizetype i = 0; i < c.offered.size(); ++i) {
            EXPECT_TRUE(dialogs.lastItems[i].startsWith(c.offered[i] + ", gesichert am ")) << dialogs.lastItems[i].toStdString();
            EXPECT_TRUE(dialogs.lastItems[i].contains(shown.toString("dd.MM.yyyy"))) << dialogs.lastItems[i].toStdString();
        }
        EXPECT_EQ(int(D().Layers.size()), c.layersRestored ? c.layersRestored : 1);
        EXPECT_EQ(form->isWindowModified(), c.layersRestored > 0);
        EXPECT_EQ(dialogs.Count("error"), c.offered.size() > 0 && c.layersRestored == 0 ? 1 : 0);
        // Nothing half written is left once the restored copies, written anew
        // in the background, are on the disk; every copy restored or damaged is still there.
        QElapsedTimer writing;
        writing.start();
        while (Count(".*.tmp-*") > 0 && writing.elapsed() < 10000) QThread::msleep(5);
        EXPECT_EQ(Count(".*.tmp-*"), 0) << Entries().join(' ').toStdString();
        EXPECT_GE(Count("wiederherstellung-*.zbg"), int(c.offered.size()) + (running ? 1 : 0));
        // Collected first: a window takes its own child windows with it.
        std::vector<TMainForm*> further;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* other = qobject_cast<TMainForm*>(w); other && !before.contains(w)) further.push_back(other);
        for (TMainForm* other : further) {
            EXPECT_TRUE(other->isWindowModified());
            EXPECT_EQ(other->SavedFileName(), dir.filePath("a.zbg"));
            delete other;
        }
        EXPECT_EQ(int(further.size()), c.furtherWindows);
        running.reset();
    }
}

// "Alle verwerfen" removes every copy, "Später entscheiden" keeps them all for the next start.
TEST_F(MainFormTest, RecoveryCopiesAreDiscardedOrKeptForLaterAsAnswered) {
    struct Answer {
        std::optional<std::vector<bool>> pick;
        int copiesLeft;
    };
    for (const Answer& a : {Answer{std::vector<bool>{false, false}, 0}, Answer{std::nullopt, 2},
                            Answer{std::vector<bool>{false, true}, 1}}) {
        QDir(Folder()).removeRecursively();
        Killed(2);
        Killed(3);
        Make({});
        dialogs.picks = {a.pick};
        Show();
        EXPECT_EQ(Count("wiederherstellung-*.zbg"), a.copiesLeft);
        EXPECT_EQ(int(D().Layers.size()), a.pick && (*a.pick)[1] ? 2 : 1);
    }
}

// A recovery copy that cannot be written says why in the status bar, reason
// first; the whole message is the bar's tooltip.
TEST_F(MainFormTest, AFailedRecoveryCopySaysItsReasonInTheStatusBar) {
    zb::TMainForm::Options options = TestOptions();
    options.autosaveMs = 20;
    MakeWith(options);
    const QStringList locks = QDir(Folder()).entryList({"wiederherstellung-*.lock"}, QDir::Files);
    ASSERT_EQ(locks.size(), 1);
    ASSERT_TRUE(QDir(Folder()).mkdir(QString(locks[0]).replace(".lock", ".zbg")));
    Click("NewPlaneBtn");
    QElapsedTimer clock;
    clock.start();
    const QString said = QString::fromUtf8("Sicherungskopie nicht geschrieben: Der Name gehört zu einem Ordner");
    while (!form->statusBar()->currentMessage().startsWith(said) && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(form->statusBar()->currentMessage().startsWith(said))
        << form->statusBar()->currentMessage().toStdString();
    EXPECT_TRUE(form->statusBar()->toolTip().contains("konnte nicht gespeichert werden"))
        << form->statusBar()->toolTip().toStdString();
}

// The copy is written on the pool, never on the caller's thread, and holds the
// design as it was when the write was asked for; the newest request is the
// one written last, and a removal asked for meanwhile comes after the write.
TEST_F(MainFormTest, TheRecoveryCopyIsWrittenInTheBackgroundAsTheDesignWasWhenAskedFor) {
    DesignWorkspace workspace(7, kA4, nullptr);
    RecoveryCopy copy(Folder());
    int failures = 0;
    RecoveryWriter writer(copy, [&](const FileResult&) { ++failures; });
    const auto layersInCopy = [&] {
        std::unique_ptr<Design> design;
        return openfile(QFile::encodeName(copy.CopyPath()).toStdString(), design) ? int(design->Layers.size()) : 0;
    };
    // Every worker of the pool waits until `go`, so nothing is written before.
    const auto holdPool = [] {
        auto go = std::make_shared<std::promise<void>>();
        std::shared_future<void> released = go->get_future().share();
        for (int i = 0; i < ThreadPool::Shared().Size(); ++i) ThreadPool::Shared().Post([released] { released.wait(); });
        return go;
    };

    for (int i = 0; i < 2; ++i) workspace.NewLayer();
    auto go = holdPool();
    writer.Write(workspace.Snapshot(), "");
    workspace.NewLayer();
    ASSERT_EQ(workspace.DeleteLayer(0), "");
    ASSERT_EQ(workspace.DeleteLayer(0), "");
    EXPECT_FALSE(QFileInfo::exists(copy.CopyPath()));
    go->set_value();
    writer.Wait();
    EXPECT_EQ(layersInCopy(), 2);

    go = holdPool();
    for (int i = 0; i < 3; ++i) {
        workspace.NewLayer();
        writer.Write(workspace.Snapshot(), "");
    }
    go->set_value();
    writer.Wait();
    EXPECT_EQ(layersInCopy(), 4);

    go = holdPool();
    writer.Write(workspace.Snapshot(), "");
    writer.Remove();
    go->set_value();
    writer.Wait();
    EXPECT_FALSE(QFileInfo::exists(copy.CopyPath()));
    EXPECT_EQ(failures, 0);
}
