#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/Cp1252.h"
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

// A line break anywhere in a field, in a run of plain bytes or next to accents, becomes a blank,
// and nothing else changes.
TEST(FieldBytes, LineBreaksBecomeBlanksAtEveryPlace)
{
    const std::string base = "Caf\xC3\xA9 de la gare, entr\xC3\xA9" "e nord \xE2\x82\xAC 5 (voir plan) \xC5\x92uvre";
    for (const char* lineBreak : {"\r", "\n", "\r\n"}) {
        for (std::size_t at = 0; at <= base.size(); ++at) {
            const std::string field = base.substr(0, at) + lineBreak + base.substr(at);
            std::string expected = Utf8ToCp1252(field);
            for (char& c : expected)
                if (c == '\r' || c == '\n')
                    c = ' ';
            ASSERT_EQ(FieldBytes(field), expected) << at;
            std::string line = "1;";
            AppendFieldBytes(line, field);
            ASSERT_EQ(line, "1;" + expected) << at;
        }
    }
}

} // namespace
} // namespace uzuviv
