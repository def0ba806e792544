// The command-line program where its surroundings fail it: a print service
// that takes connections and never answers, a file-size limit.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "document/DesignFile.h"

namespace {

struct Outcome {
    int exitCode = -1; // -2: ended by a signal, -1: still running after the limit
    QString err;
    qint64 ms = 0;
};

Outcome Zierbogen(const QStringList& args, const QString& cupsServer, rlim_t fileSizeLimit = 0) {
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!cupsServer.isEmpty()) environment.insert(QStringLiteral("CUPS_SERVER"), cupsServer);
    p.setProcessEnvironment(environment);
    if (fileSizeLimit > 0)
        p.setChildProcessModifier([fileSizeLimit] {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    QElapsedTimer clock;
    clock.start();
    p.start(QStringLiteral(ZB_BIN_DIR "/zierbogen"), args);
    Outcome r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.ms = clock.elapsed();
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// A print server that takes every connection into its queue and never reads
// nor answers, as a stopped one does.
class FrozenPrintServer {
public:
    explicit FrozenPrintServer(const QString& path) : path_(path.toLocal8Bit()) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path_.constData());
        listening_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                     ::listen(fd_, 64) == 0;
    }
    ~FrozenPrintServer() {
        if (fd_ >= 0) ::close(fd_);
        ::unlink(path_.constData());
    }
    bool Listening() const { return listening_; }

private:
    QByteArray path_;
    int fd_ = -1;
    bool listening_ = false;
};

const QString kDesign = QStringLiteral(ZB_TEST_DATA "/../../examples/verlauf-quadrate.zbg");

} // namespace

// Commands that need no printer finish with a print service that never
// answers: those that would take the printer's page wait a few seconds for it
// and say they use the page without printer; a PDF asks it nothing at all.
TEST(CliLimits, AFrozenPrintServiceCostsAFewSecondsNotTheCommand) {
    QTemporaryDir dir;
    FrozenPrintServer server(dir.filePath("cups.sock"));
    ASSERT_TRUE(server.Listening());
    struct Case {
        QStringList args;
        bool saysSo;
    };
    const Case cases[] = {
        {{"info", kDesign}, true},
        {{"export", kDesign, "-o", dir.filePath("a.png"), "--seed", "1"}, true},
        {{"print", kDesign, "--pdf", dir.filePath("a.pdf"), "--seed", "1"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Outcome r = Zierbogen(c.args, dir.filePath("cups.sock"));
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_LT(r.ms, 20000);
        EXPECT_EQ(r.err.contains(QString::fromUtf8("Der Druckdienst antwortet nicht")), c.saysSo) << r.err.toStdString();
    }
}

// A file-size limit ends no command: the write fails and is said as a full
// disk is, and nothing half written stays.
TEST(CliLimits, AFileSizeLimitIsReportedNotFatal) {
    QTemporaryDir dir;
    const QStringList commands[] = {
        {"print", kDesign, "--pdf", dir.filePath("lim.pdf"), "--seed", "1"},
        {"export", kDesign, "-o", dir.filePath("lim.bmp"), "--dpi", "300", "--seed", "1"},
    };
    for (const QStringList& args : commands) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const Outcome r = Zierbogen(args, dir.filePath("kein-server.sock"), 100 * 1024);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8("größer, als der Datenträger oder das System erlaubt")))
            << r.err.toStdString();
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty())
            << QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString();
    }
}

// A poster of more pages than the command line allows (50, or --max-pages) is
// refused before anything is printed, naming the count; a glue strip that
// leaves nothing to print is refused as such.
TEST(CliLimits, ALargePosterIsRefusedBeforeItPrints) {
    QTemporaryDir dir;
    std::unique_ptr<zb::Design> design;
    ASSERT_TRUE(zb::openfile(kDesign.toStdString(), design));
    design->Paper.PrintAll = false;
    design->Paper.Breit = design->Paper.Hoch = 100;
    const std::string large = QFile::encodeName(dir.filePath("gross.zbg")).toStdString();
    ASSERT_TRUE(zb::savefile(*design, large));
    const QString pdf = dir.filePath("poster.pdf");
    struct Case {
        QStringList options;
        const char* says;
    } cases[] = {
        {{"--sheets", "3"}, "Der Ausdruck bräuchte 72 Seiten, mehr als --max-pages erlaubt (50)"},
        {{"--max-pages", "23"}, "bräuchte 24 Seiten, mehr als --max-pages erlaubt (23). Mit --max-pages 24"},
    };
    for (const Case& c : cases) {
        const Outcome r = Zierbogen(QStringList{"print", QString::fromStdString(large), "--pdf", pdf, "--poster"} + c.options,
                                dir.filePath("kein-server.sock"));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(pdf));
    }
}
