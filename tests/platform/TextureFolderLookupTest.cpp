// Which texture folder a program uses: beside it first, then the installed one.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/QtPlatform.h"

using namespace zb::platform;

namespace {

struct LookupCase {
    const char* name;
    bool beside;          // prefix/bin/texturen is a folder
    bool besideIsFile;    // prefix/bin/texturen is a plain file
    bool installed;       // prefix/share/zierbogen-drucker/texturen is a folder
    const char* expected; // relative to the prefix
};

const LookupCase kCases[] = {
    {"both: the build-tree folder wins", true, false, true, "bin/texturen"},
    {"only beside the program", true, false, false, "bin/texturen"},
    {"only installed", false, false, true, "share/zierbogen-drucker/texturen"},
    {"a file named texturen is no folder", false, true, true, "share/zierbogen-drucker/texturen"},
    {"neither: the usual place, for messages", false, false, false, "bin/texturen"},
};

} // namespace

TEST(TextureFolderLookup, BesideTheProgramFirstThenTheShareFolder) {
    for (const LookupCase& c : kCases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        const QString prefix = root.path();
        ASSERT_TRUE(QDir().mkpath(prefix + "/bin"));
        if (c.beside) {
            ASSERT_TRUE(QDir().mkpath(prefix + "/bin/texturen"));
        }
        if (c.besideIsFile) {
            QFile f(prefix + "/bin/texturen");
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        if (c.installed) {
            ASSERT_TRUE(QDir().mkpath(prefix + "/share/zierbogen-drucker/texturen"));
        }
        const std::string expected = (prefix + "/" + c.expected).toStdString();
        EXPECT_EQ(FindTextureFolder((prefix + "/bin").toStdString()), expected);
        // A trailing slash on the program folder changes nothing.
        EXPECT_EQ(FindTextureFolder((prefix + "/bin/").toStdString()), expected);
    }
}

TEST(TextureFolderLookup, InstalledFolderIsNormalised) {
    EXPECT_EQ(InstalledTextureFolder("/usr/bin"), "/usr/share/zierbogen-drucker/texturen");
    EXPECT_EQ(InstalledTextureFolder("/opt/zb/bin/"), "/opt/zb/share/zierbogen-drucker/texturen");
    EXPECT_EQ(InstalledTextureFolder("/usr/local/bin"), "/usr/local/share/zierbogen-drucker/texturen");
}
