#include "ui/ModalHelper.h"

#include <QDialog>
#include <QMessageBox>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <chrono>

namespace uzuviv {
namespace {

using testing::CancelPendingModalAnswers;
using testing::WhenModal;

TEST(ModalHelperTest, AnAnswerThatFindsNoWindowFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            WhenModal([](QWidget*) {});
            CancelPendingModalAnswers();
        },
        "this prepared answer found no modal window");
}

TEST(ModalHelperTest, AWindowLeftOpenByItsAnswerFailsTheTestAndIsClosed)
{
    QDialog dialog;
    EXPECT_NONFATAL_FAILURE(
        {
            WhenModal([](QWidget*) {});
            EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        },
        "the QDialog stayed open after its answer");
    // An answer that prepares the next one for the same window leaves it open on purpose.
    WhenModal([](QWidget*) {
        WhenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
}

TEST(ModalHelperTest, AWindowNothingAnswersFailsTheTestAndIsClosed)
{
    const testing::UnansweredModalWatch watch(std::chrono::milliseconds(300));
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Erreur"), QStringLiteral("nobody reads this"));
    EXPECT_NONFATAL_FAILURE(box.exec(), "nothing answered the QMessageBox \"nobody reads this\"");
}

} // namespace
} // namespace uzuviv
