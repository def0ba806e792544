// Failures on the way to a picture or PDF file: a full disk, memory running
// short, a second process on the same file, names that are no file. Each is
// reported, and a file that was there before stays as it was.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <functional>
#include <string>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "OutputTestUtil.h"
#include "model/LayerChoices.h"
#include "output/DesignPrinting.h"
#include "output/ImageOutput.h"
#include "output/PrintSession.h"

#if defined(__SANITIZE_ADDRESS__)
// Memory that runs out in the children of the memory tests comes back to the
// program as a null pointer from malloc, as without the sanitizer, instead of
// ending the process with the sanitizer's report.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
#endif

namespace {

QByteArray Contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Prints `pages` pages of the raster into the PDF; End()'s message, or the
// first failure's.
std::string PrintPdf(const QString& pdf, zb::RasterView raster, int pages) {
    QPrinter printer(QPrinter::HighResolution);
    zb::SetUpFallbackPrinter(printer, pdf);
    zb::PrintSession session(printer);
    std::string m = session.Begin("bogen.zbg");
    for (int page = 0; m.empty() && page < pages; ++page) {
        if (page > 0) m = session.NewPage();
        if (m.empty()) m = session.DrawRaster(raster, QRect(0, 0, raster.width, raster.height));
    }
    return m.empty() ? session.End() : m;
}

int PdfPages(const QString& pdf) {
    const QString info = zb::test::RunTool("pdfinfo", {pdf});
    const qsizetype at = info.indexOf("Pages:");
    return at < 0 ? -1 : info.mid(at + 6).section('\n', 0, 0).trimmed().toInt();
}

// What a child process made of a task under a limit of its address space.
struct ChildRun {
    bool exited = false; // normally, not by a signal (an abort)
    int signal = 0;
    std::string result;  // the task's message
};

// Runs `task` in a child process whose address space may grow by only
// `budget` bytes beyond what it holds at the start.
ChildRun RunWithMemoryBudget(size_t budget, const std::function<std::string()>& task) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        long pages = 0;
        if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
            std::fclose(statm);
        }
        const rlim_t limit = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + budget;
        const rlimit r{limit, limit};
        ::setrlimit(RLIMIT_AS, &r);
        const std::string result = task();
        if (::write(pipeFds[1], result.data(), result.size()) < 0) ::_exit(3);
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    ChildRun run;
    char buffer[4096];
    // A child that hangs is ended after two minutes and counts as aborted.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd p{pipeFds[0], POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, int(left.count())) <= 0) {
            ::kill(pid, SIGKILL);
            break;
        }
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        run.result.append(buffer, size_t(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.exited = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return run;
}

} // namespace

// A disk that fills up while a PDF is printed: the print fails with the
// chosen file's name and the reason, the PDF that was there stays readable
// and unchanged, and no temporary file is left.
TEST(OutputFailure, PdfPrintOntoAFullDiskFailsAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("voll.pdf");
    zb::DibPicture dib = zb::test::NoiseDib(700, 1100, 14);
    ASSERT_EQ(PrintPdf(pdf, zb::ViewOf(dib), 1), "");
    const QByteArray before = Contents(pdf);
    ASSERT_EQ(PdfPages(pdf), 1);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    for (int pages : {1, 3}) {
        SCOPED_TRACE(pages);
        // Files may grow to 8 KB: a page of noise takes far more.
        rlimit small = saved;
        small.rlim_cur = 8192;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const std::string message = PrintPdf(pdf, zb::ViewOf(dib), pages);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
        EXPECT_NE(message.find("„" + pdf.toStdString() + "“"), std::string::npos) << message;
        EXPECT_NE(message.find("größer, als der Datenträger oder das System erlaubt"), std::string::npos) << message;
        EXPECT_EQ(Contents(pdf), before);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"voll.pdf"});
    }
    std::signal(SIGXFSZ, oldHandler);
}

// Two prints into one PDF at the same time (two processes, or the window and
// the command line): each writes a file of its own, and the PDF that is left
// is a whole one.
TEST(OutputFailure, PrintsIntoTheSamePdfAtOnceLeaveAWholeFile) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("gleich.pdf");
    zb::DibPicture dib = zb::test::NoiseDib(300, 700, 4);
    QPrinter first(QPrinter::HighResolution), second(QPrinter::HighResolution);
    zb::SetUpFallbackPrinter(first, pdf);
    zb::SetUpFallbackPrinter(second, pdf);
    zb::PrintSession a(first), b(second);
    ASSERT_EQ(a.Begin("a"), "");
    ASSERT_EQ(b.Begin("b"), "");
    EXPECT_EQ(a.DrawRaster(zb::ViewOf(dib), QRect(0, 0, 300, 700)), "");
    EXPECT_EQ(b.NewPage(), "");
    EXPECT_EQ(b.DrawRaster(zb::ViewOf(dib), QRect(0, 0, 300, 700)), "");
    EXPECT_EQ(a.End(), "");
    EXPECT_EQ(PdfPages(pdf), 1);
    EXPECT_EQ(b.End(), "");
    EXPECT_EQ(PdfPages(pdf), 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"gleich.pdf"});
}

// Every writer (export as PNG and BMP, export and print as PDF) refuses a
// pipe behind a link and a write-protected file, leaving both as they were;
// a file it replaces keeps its mode.
TEST(OutputFailure, WritersRefuseWhatIsNoFileAndKeepTheMode) {
    QTemporaryDir dir;
    zb::DibPicture dib = zb::test::NoiseDib(40, 30, 9);
    using Writer = std::function<std::string(const std::string&)>;
    const std::pair<const char*, Writer> writers[] = {
        {"png", [&](const std::string& f) { return zb::WriteRaster(dib, f, "png", 300); }},
        {"bmp", [&](const std::string& f) { return zb::WriteRaster(dib, f, "bmp", 300); }},
        {"pdf", [&](const std::string& f) { return zb::WriteRaster(dib, f, "pdf", 300); }},
        {"print", [&](const std::string& f) { return PrintPdf(QString::fromStdString(f), zb::ViewOf(dib), 1); }},
    };
    ASSERT_EQ(::mkfifo(dir.filePath("rohr").toLocal8Bit().constData(), 0644), 0);
    for (const auto& [what, write] : writers) {
        SCOPED_TRACE(what);
        const std::string link = dir.filePath(QStringLiteral("verweis.") + what).toStdString();
        QFile::remove(QString::fromStdString(link));
        ASSERT_EQ(::symlink("rohr", link.c_str()), 0);
        std::string m = write(link);
        EXPECT_NE(m.find("Pipe (FIFO)"), std::string::npos) << m;
        struct stat st {};
        ASSERT_EQ(::stat(dir.filePath("rohr").toLocal8Bit().constData(), &st), 0);
        EXPECT_TRUE(S_ISFIFO(st.st_mode));

        const QString file = dir.filePath(QStringLiteral("datei.") + what);
        Write(file, "alt");
        ::chmod(file.toLocal8Bit().constData(), 0444);
        m = write(file.toStdString());
        EXPECT_NE(m.find("schreibgeschützt"), std::string::npos) << m;
        EXPECT_EQ(Contents(file), "alt");

        ::chmod(file.toLocal8Bit().constData(), 0640);
        EXPECT_EQ(write(file.toStdString()), "");
        ASSERT_EQ(::stat(file.toLocal8Bit().constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
        EXPECT_NE(Contents(file), "alt");
    }
}

// Printing into a PDF in a folder that does not exist fails before the first
// sheet is composed.
TEST(OutputFailure, PdfIntoAMissingFolderFailsBeforeComposing) {
    QTemporaryDir dir;
    zb::Design design;
    zb::TLayerRecord& g = design.Layers.Add();
    zb::SetLayerDefaults(g);
    g.Kind = zb::kKindGradient;
    QPrinter printer(QPrinter::HighResolution);
    zb::SetUpFallbackPrinter(printer, dir.filePath("fehlt/bogen.pdf"));
    zb::DesignPrintJob job;
    job.design = &design;
    int calls = 0;
    job.progress = [&](int, int, int, int) { ++calls; };
    const zb::PrintOutcome outcome = zb::PrintDesign(printer, job);
    EXPECT_NE(outcome.result.message.find("existiert nicht"), std::string::npos) << outcome.result.message;
    EXPECT_EQ(calls, 0);
}

// Memory running short while a picture or a PDF is encoded: the export
// either writes the whole picture or says that it could not, keeping the old
// file; it never writes an empty picture as success and never aborts.
TEST(OutputFailure, ShortMemoryNeverGivesAnEmptyPictureOrAnAbort) {
    const int width = 3000, height = 2000; // 18 MB of pixels
    zb::DibPicture dib = zb::test::NoiseDib(width, height, 21);
#if defined(__SANITIZE_ADDRESS__)
    // Every encoder allocates with new, which the sanitizer answers by ending
    // the process rather than with an exception.
    GTEST_SKIP() << "allocation failures end the process under the address sanitizer";
#endif
    const char* const formats[] = {"bmp", "pdf", "tif", "jpg", "png"};
    for (const char* format : formats) {
        QTemporaryDir dir;
        for (size_t megabytes : {4, 12, 24, 40, 64, 400}) {
            SCOPED_TRACE(std::string(format) + ", " + std::to_string(megabytes) + " MB");
            const QString file = dir.filePath(QStringLiteral("keep.") + format);
            Write(file, "alter Inhalt");
            const ChildRun run = RunWithMemoryBudget(megabytes << 20, [&] {
                return zb::WriteRaster(dib, file.toStdString(), format, 1200);
            });
            EXPECT_TRUE(run.exited) << "signal " << run.signal;
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
            if (!run.result.empty()) {
                // The TIFF encoder gives up without saying why.
                const bool said = run.result.find("Nicht genug Speicher") != std::string::npos ||
                                  (std::string(format) == "tif" &&
                                   run.result.find("nicht im Format TIFF") != std::string::npos);
                EXPECT_TRUE(said) << run.result;
                EXPECT_EQ(Contents(file), "alter Inhalt");
                continue;
            }
            if (std::string(format) != "pdf") {
                const QImage back(file);
                EXPECT_EQ(back.size(), QSize(width, height));
            } else {
                // The whole raster as one lossless picture.
                EXPECT_EQ(zb::test::PdfImageEncodings(file), QStringList{"image"});
            }
        }
    }
}
