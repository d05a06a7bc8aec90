#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>

#include "ui/ModalHelper.h"

namespace {

// Fails a test whose prepared answers found no window, and drops them, so they cannot answer
// a window of the next test.
class ModalAnswerCleanup : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        uzuviv::testing::CancelPendingModalAnswers();
    }
};

} // namespace

int main(int argc, char** argv)
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    // The offscreen screen is a desktop's, 1280 x 900, rather than its own 800 x 600, where
    // the window and the map beside it could not both have their size.
    QTemporaryDir screenConfig;
    if (platform.isEmpty() || platform == "offscreen") {
        QFile config(screenConfig.filePath(QStringLiteral("screen.json")));
        if (config.open(QIODevice::WriteOnly))
            config.write(R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1280, "height": 900,
                              "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    }
    QApplication application(argc, argv);
    // Per-user settings and caches of the tests stay out of the user's own.
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir userSettings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, userSettings.path());
    ::testing::InitGoogleTest(&argc, argv);
    // Test-end listeners run last added first: its failures show before the test's result.
    ::testing::UnitTest::GetInstance()->listeners().Append(new ModalAnswerCleanup);
    const uzuviv::testing::UnansweredModalWatch watch(std::chrono::seconds(10));
    return RUN_ALL_TESTS();
}
