#include <QApplication>
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
