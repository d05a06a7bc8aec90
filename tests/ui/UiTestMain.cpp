#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iostream>

#include "ui/ModalHelper.h"

namespace {

// Drops the answers a test prepared for windows that never opened.
class ModalAnswerCleanup : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo& test) override
    {
        if (const int waiting = uzuviv::testing::CancelPendingModalAnswers(); waiting > 0)
            std::cerr << test.test_suite_name() << "." << test.name() << ": " << waiting
                      << " prepared answer(s) found no modal window\n";
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
    ::testing::UnitTest::GetInstance()->listeners().Append(new ModalAnswerCleanup);
    return RUN_ALL_TESTS();
}
