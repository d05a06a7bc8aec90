#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/FileFields.h"
#include "files/FileTestSupport.h"

namespace uzuviv {
namespace {

using filetest::RecordingProgress;

// Every step passes on done * 100 / total, whatever the total, and the window closes once.
TEST(ProgressScope, EveryStepShowsTheTruncatedPercentage)
{
    for (const std::int64_t total : {1, 3, 7, 99, 100, 101, 200, 1000, 100003}) {
        RecordingProgress progress;
        {
            ProgressScope scope(progress, 6);
            for (std::int64_t done = 1; done <= total; ++done)
                scope.Step(done, total);
        }
        ASSERT_EQ(progress.Events.size(), static_cast<std::size_t>(total) + 2) << total;
        for (std::int64_t done = 1; done <= total; ++done)
            ASSERT_EQ(progress.Events[static_cast<std::size_t>(done)], std::to_string(done * 100 / total))
                << done << " of " << total;
        EXPECT_EQ(progress.Events.back(), "Close");
    }
}

} // namespace
} // namespace uzuviv
