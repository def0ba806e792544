// Where a printer job's file is written: a private folder of its own, never a
// name another user could plant a link at.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CupsTestUtil.h"
#include "output/DesignPrinting.h"
#include "output/SpoolFolder.h"
#include "platform/FileLock.h"

namespace {

void Age(const QString& path) {
    const timespec old[2] = {{1000, 0}, {1000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), old, AT_SYMLINK_NOFOLLOW), 0);
}

void Touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

// A new job folder removes the folders and half-written files of jobs whose
// program is gone; a job still printing, anything young, and what is not
// ours or only looks similar stay. The job's own folder is private and goes
// with the job.
TEST(SpoolFolder, RemovesWhatKilledJobsLeftAndNothingElse) {
    QTemporaryDir parent;
    const QDir dir(parent.path());
    for (const char* folder : {"zierbogen-druck-tot123", "zierbogen-druck-lebt45", "zierbogen-druck-jung67",
                               "zierbogen-druck-leer89"}) {
        ASSERT_TRUE(dir.mkdir(folder));
        if (QByteArray(folder) != "zierbogen-druck-leer89") Touch(dir.filePath(folder) + "/sperre");
        Touch(dir.filePath(folder) + "/auftrag.pdf");
    }
    ASSERT_TRUE(dir.mkdir("woanders"));
    ASSERT_TRUE(QFile::link(dir.filePath("woanders"), dir.filePath("zierbogen-druck-verweis")));
    for (const char* file : {".zierbogen-auftrag-99-1.pdf.tmp-0badf00d", ".zierbogen-auftrag-99-2.pdf.tmp-12345678",
                             "zierbogen-auftrag-99-1.pdf"})
        Touch(dir.filePath(file));
    zb::platform::FileLock printing, writing;
    ASSERT_TRUE(printing.TryLock(QFile::encodeName(dir.filePath("zierbogen-druck-lebt45/sperre")).toStdString(), false));
    ASSERT_TRUE(writing.TryLock(
        QFile::encodeName(dir.filePath(".zierbogen-auftrag-99-2.pdf.tmp-12345678")).toStdString(), false));
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        if (name != "zierbogen-druck-jung67") Age(dir.filePath(name));

    std::string own;
    {
        zb::SpoolFolder spool(QFile::encodeName(parent.path()).toStdString());
        ASSERT_TRUE(spool.Made());
        own = spool.Path();
        struct stat st {};
        ASSERT_EQ(::lstat(own.c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_EQ(QFileInfo(QString::fromStdString(spool.File())).path(), QString::fromStdString(own));
        Touch(QString::fromStdString(spool.File()));
    }
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(own)));
    EXPECT_EQ(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{".zierbogen-auftrag-99-2.pdf.tmp-12345678", "woanders", "zierbogen-auftrag-99-1.pdf",
                           "zierbogen-druck-jung67", "zierbogen-druck-lebt45", "zierbogen-druck-verweis"}));
}

// Links planted at every name a job was or is written under, in the runtime
// folder and in the temporary folder, lead nowhere: the job prints, the
// file they point at stays as it was, and no spool file is left.
TEST(CupsPrinting, APrintJobFollowsNoLinkPlantedWhereItSpools) {
    if (qEnvironmentVariable("ZB_CUPS_OUT").isEmpty()) {
        if (zb::test::Required()) FAIL() << "kein Test-CUPS-Server";
        GTEST_SKIP() << "no private CUPS server (scripts/cups-test-server.sh)";
    }
    QTemporaryDir tmp;
    const QString victim = tmp.filePath("opfer.txt");
    QFile file(victim);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("gehoert jemand anderem");
    file.close();
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR"), savedTmp = qgetenv("TMPDIR");
    for (const QString& runtime : {QStringLiteral("lauf"), QString()}) {
        SCOPED_TRACE(runtime.toStdString());
        const QDir spoolDir(tmp.filePath(runtime.isEmpty() ? QStringLiteral("tmp") : runtime));
        ASSERT_TRUE(QDir().mkpath(spoolDir.path()));
        ASSERT_TRUE(QDir().mkpath(tmp.filePath("tmp")));
        qputenv("TMPDIR", QFile::encodeName(tmp.filePath("tmp")));
        if (runtime.isEmpty()) qunsetenv("XDG_RUNTIME_DIR");
        else qputenv("XDG_RUNTIME_DIR", QFile::encodeName(spoolDir.path()));
        QStringList planted = {"auftrag.pdf", "sperre", "zierbogen-druck-XXXXXX"};
        for (int job = 1; job <= 8; ++job)
            planted << QStringLiteral("zierbogen-auftrag-%1-%2.pdf").arg(::getpid()).arg(job);
        for (const QString& name : planted) ASSERT_TRUE(QFile::link(victim, spoolDir.filePath(name)));

        zb::Design design;
        zb::test::SampleDesign(design);
        design.Paper.PrintAll = false;
        design.Paper.Breit = 3;
        design.Paper.Hoch = 2;
        QPrinter printer(QPrinter::HighResolution);
        ASSERT_TRUE(zb::ChoosePrinter(printer, QString(), {}).ok());
        const QStringList before = QDir(qEnvironmentVariable("ZB_CUPS_OUT")).entryList({"*.pdf"}, QDir::Files);
        zb::DesignPrintJob job;
        job.design = &design;
        const zb::PrintOutcome outcome = zb::PrintDesign(printer, job);
        EXPECT_EQ(outcome.result.message, "");
        EXPECT_FALSE(zb::test::WaitForPdf(before).isEmpty());

        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "gehoert jemand anderem");
        file.close();
        planted.sort();
        EXPECT_EQ(spoolDir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
                  planted);
        for (const QString& name : planted) QFile::remove(spoolDir.filePath(name));
    }
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
    qputenv("TMPDIR", savedTmp);
}
