#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <functional>

#include "DesignFileTestUtil.h"
#include "document/SafeFileWriter.h"

using namespace zb;
using namespace zb::test;

namespace {

mode_t ModeOf(const std::string& path, bool followLinks = true) {
    struct stat st {};
    const int r = followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    return r == 0 ? st.st_mode : 0;
}

void MakeFile(const std::string& path, const std::string& content, mode_t mode) {
    WriteBytes(path, std::vector<uint8_t>(content.begin(), content.end()));
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
}

// Sets the time of last change back, as a file left by an earlier run has it.
void AgeBy(const std::string& path, time_t seconds) {
    timespec times[2];
    times[0].tv_sec = times[1].tv_sec = std::time(nullptr) - seconds;
    times[0].tv_nsec = times[1].tv_nsec = 0;
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

} // namespace

// A pipe, a socket or a device under the output name, directly or behind a
// link, and a write-protected file (even for the superuser) are refused
// before anything is written: the thing stays what it was, the folder holds
// no temporary file, and the reason says what the name is.
TEST(SafeFileWriter, RefusesEverythingButAReplaceableRegularFile) {
    TempDir dir;
    const std::string target = dir.File("ziel.png");
    struct Case {
        const char* what;
        std::function<void()> make;
        const char* reason;
        std::string thing; // what must stay as it was (mode and type)
    };
    const Case cases[] = {
        {"pipe", [&] { ASSERT_EQ(::mkfifo(target.c_str(), 0644), 0); }, "Pipe (FIFO)", target},
        {"link to a pipe",
         [&] {
             ASSERT_EQ(::mkfifo(dir.File("rohr").c_str(), 0644), 0);
             ASSERT_EQ(::symlink("rohr", target.c_str()), 0);
         },
         "Pipe (FIFO)", dir.File("rohr")},
        // A device node of our own (the null device's numbers), behind a link:
        // should the check ever fail, no device of the system is replaced.
        {"link to a device",
         [&] {
             ASSERT_EQ(::mknod(dir.File("geraet").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0) << std::strerror(errno);
             ASSERT_EQ(::symlink("geraet", target.c_str()), 0);
         },
         "Gerät", dir.File("geraet")},
        {"socket",
         [&] {
             const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un addr{};
             addr.sun_family = AF_UNIX;
             ASSERT_LT(target.size(), sizeof addr.sun_path);
             std::strcpy(addr.sun_path, target.c_str());
             ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
             ::close(s);
         },
         "Socket", target},
        {"write-protected file", [&] { MakeFile(target, "alt", 0444); }, "schreibgeschützt", target},
        {"link to a write-protected file",
         [&] {
             MakeFile(dir.File("echt.png"), "alt", 0444);
             ASSERT_EQ(::symlink("echt.png", target.c_str()), 0);
         },
         "schreibgeschützt", dir.File("echt.png")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(dir.Path());
        std::filesystem::create_directory(dir.Path());
        c.make();
        if (testing::Test::HasFatalFailure()) continue;
        const mode_t before = ModeOf(c.thing);
        const std::vector<std::string> names = dir.Names();
        SafeFileWriter writer(target);
        EXPECT_FALSE(writer.Begin());
        EXPECT_TRUE(writer.Refused());
        EXPECT_NE(writer.Reason().find(c.reason), std::string::npos) << writer.Reason();
        EXPECT_EQ(ModeOf(c.thing), before);
        EXPECT_EQ(dir.Names(), names);
    }
}

// Temporary files of a killed writer are removed by the next writer of the
// same target; files of a writer that still runs (it holds the lock), files
// of other targets and files that only look similar stay.
TEST(SafeFileWriter, RemovesOnlyAbandonedTemporariesOfItsTarget) {
    TempDir dir;
    const std::string abandoned = dir.File(".bogen.zbg.tmp-0123abcd");
    const std::string held = dir.File(".bogen.zbg.tmp-89abcdef");
    const std::string young = dir.File(".bogen.zbg.tmp-00000001");
    const std::vector<std::string> others = {dir.File(".anderer.zbg.tmp-0123abcd"),
                                             dir.File(".bogen.zbg.tmp-0123abcdX"), dir.File(".bogen.zbg.tmp-0123ABCD"),
                                             dir.File("bogen.zbg.tmp-0123abcd")};
    for (const std::string& f : others) {
        MakeFile(f, "fremd", 0644);
        AgeBy(f, 3600);
    }
    MakeFile(abandoned, std::string(1000, 'x'), 0644);
    AgeBy(abandoned, 3600);
    MakeFile(held, "in Arbeit", 0644);
    AgeBy(held, 3600);
    MakeFile(young, "eben angelegt", 0644);
    // Another writer, alive: its lock is on its own open file.
    const int holder = ::open(held.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);

    SafeFileWriter writer(dir.File("bogen.zbg"));
    ASSERT_TRUE(writer.Begin());
    ASSERT_TRUE(writer.Sink().Write("neu", 3));
    ASSERT_TRUE(writer.Commit());
    ::close(holder);

    EXPECT_FALSE(std::filesystem::exists(abandoned));
    EXPECT_TRUE(std::filesystem::exists(held));
    EXPECT_TRUE(std::filesystem::exists(young));
    for (const std::string& f : others) EXPECT_TRUE(std::filesystem::exists(f)) << f;
}

// A link whose file does not exist yet stays a link; the file it names is
// written, wherever the link points (beside it, into another folder, through
// a second link).
TEST(SafeFileWriter, DanglingLinksKeepTheirLinkAndGetTheirFile) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links; // name, where it points
        std::string written; // the file that must hold the bytes
    };
    const Case cases[] = {
        {"beside it", {{"ziel.pdf", "neu.pdf"}}, "neu.pdf"},
        {"into a folder", {{"ziel.pdf", "ablage/neu.pdf"}}, "ablage/neu.pdf"},
        {"absolute", {{"ziel.pdf", "@/ablage/neu.pdf"}}, "ablage/neu.pdf"},
        {"through a second link", {{"ziel.pdf", "zwischen.pdf"}, {"zwischen.pdf", "ablage/neu.pdf"}}, "ablage/neu.pdf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        std::filesystem::create_directory(dir.File("ablage"));
        for (const auto& [name, to] : c.links)
            std::filesystem::create_symlink(to[0] == '@' ? dir.Path().string() + to.substr(1) : to, dir.File(name));
        SafeFileWriter writer(dir.File("ziel.pdf"));
        ASSERT_TRUE(writer.Begin());
        ASSERT_TRUE(writer.Sink().Write("neu", 3));
        ASSERT_TRUE(writer.Commit());
        for (const auto& link : c.links) EXPECT_TRUE(std::filesystem::is_symlink(dir.File(link.first)));
        EXPECT_EQ(ReadBytes(dir.File(c.written)).size(), 3u);
    }
}
