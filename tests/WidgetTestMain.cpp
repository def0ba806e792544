// Test program of the window program's widgets. Runs on the offscreen platform
// unless another one is chosen, under German settings as the program itself,
// and gives every test a home folder of its own so that settings written by
// one test never reach the next (QStandardPaths runs in test mode below it).
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <clocale>
#include <memory>

namespace {

class FreshHomePerTest : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo&) override {
        savedHome_ = qgetenv("HOME");
        home_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/zb-app-test-XXXXXX"));
        if (home_->isValid()) qputenv("HOME", home_->path().toLocal8Bit());
    }
    void OnTestEnd(const testing::TestInfo&) override {
        qputenv("HOME", savedHome_);
        home_.reset();
    }

private:
    QByteArray savedHome_;
    std::unique_ptr<QTemporaryDir> home_;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // QApplication takes the C library's locale from the environment; numbers
    // are made and read by our own code, so the C library keeps its own.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("zierbogen-drucker-tests"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QStandardPaths::setTestModeEnabled(true);
    // A test that starts this program as a child process of its own shares
    // its home folder with it.
    if (!qEnvironmentVariableIsSet("ZB_TEST_SHARED_HOME"))
        testing::UnitTest::GetInstance()->listeners().Append(new FreshHomePerTest);
    return RUN_ALL_TESTS();
}
