// Which texture folder and manual a program uses: beside it first, then the
// installed one.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/QtPlatform.h"

using namespace zb::platform;

namespace {

struct LookupCase {
    const char* name;
    bool beside;          // prefix/bin/FOLDER is a folder
    bool besideIsFile;    // prefix/bin/FOLDER is a plain file
    bool installed;       // prefix/share/zierbogen-drucker/FOLDER is a folder
    const char* expected; // relative to the prefix, %1 the folder's name
};

const LookupCase kCases[] = {
    {"both: the build-tree folder wins", true, false, true, "bin/%1"},
    {"only beside the program", true, false, false, "bin/%1"},
    {"only installed", false, false, true, "share/zierbogen-drucker/%1"},
    {"a file of that name is no folder", false, true, true, "share/zierbogen-drucker/%1"},
    {"neither: the usual place, for messages", false, false, false, "bin/%1"},
};

// The folders looked up this way: the textures and the manual.
const struct {
    const char* name;
    std::string (*find)(const std::string&);
} kFolders[] = {{"texturen", FindTextureFolder}, {"handbuch", FindManualFolder}};

} // namespace

TEST(TextureFolderLookup, BesideTheProgramFirstThenTheShareFolder) {
    for (const auto& folder : kFolders) {
        for (const LookupCase& c : kCases) {
            SCOPED_TRACE(std::string(folder.name) + ": " + c.name);
            const QString name = QString::fromLatin1(folder.name);
            QTemporaryDir root;
            ASSERT_TRUE(root.isValid());
            const QString prefix = root.path();
            ASSERT_TRUE(QDir().mkpath(prefix + "/bin"));
            if (c.beside) {
                ASSERT_TRUE(QDir().mkpath(prefix + "/bin/" + name));
            }
            if (c.besideIsFile) {
                QFile f(prefix + "/bin/" + name);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            }
            if (c.installed) {
                ASSERT_TRUE(QDir().mkpath(prefix + "/share/zierbogen-drucker/" + name));
            }
            const std::string expected = (prefix + "/" + QString::fromLatin1(c.expected).arg(name)).toStdString();
            EXPECT_EQ(folder.find((prefix + "/bin").toStdString()), expected);
            // A trailing slash on the program folder changes nothing.
            EXPECT_EQ(folder.find((prefix + "/bin/").toStdString()), expected);
        }
    }
}

TEST(TextureFolderLookup, InstalledFolderIsNormalised) {
    EXPECT_EQ(InstalledTextureFolder("/usr/bin"), "/usr/share/zierbogen-drucker/texturen");
    EXPECT_EQ(InstalledTextureFolder("/opt/zb/bin/"), "/opt/zb/share/zierbogen-drucker/texturen");
    EXPECT_EQ(InstalledTextureFolder("/usr/local/bin"), "/usr/local/share/zierbogen-drucker/texturen");
    EXPECT_EQ(InstalledManualFolder("/usr/bin/"), "/usr/share/zierbogen-drucker/handbuch");
}
