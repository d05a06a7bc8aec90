#include "model/ProjectClasses.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace uzuviv {
namespace {

TGPSRecord Point(Extended latitude, Extended longitude, const std::string& comments)
{
    TGPSRecord record;
    record.Latitude = latitude;
    record.Longitude = longitude;
    record.Comments = comments;
    return record;
}

TProjectType SampleProject()
{
    TProjectType project;
    project.ProjectName = "Tour";
    project.Subject = "Castles";
    project.Author = "Anne";
    project.Copyright = "(c) OVRA";
    project.Customer = "Museum";
    project.CreationDate = "12/05/2004";
    project.ProjectComments = {"first line", "", "last line"};
    project.Records = {Point(45.5L, 6.25L, "Gate"), Point(-0.5L, -122.25L, "Bridge")};
    project.Records[1].Tolerance = 250;
    project.Records[1].Mode = 2;
    project.Records[1].FileRef = 999;
    return project;
}

TEST(ProjectClassesTest, CreatedObjectsHoldTheDefaults)
{
    const TProjectType project;
    for (const std::string* field : {&project.ProjectName, &project.Subject, &project.Author,
                                     &project.Copyright, &project.Customer, &project.CreationDate})
        EXPECT_EQ(*field, "");
    EXPECT_EQ(project.ProjectComments, std::vector<std::string>{"..."});
    EXPECT_TRUE(project.Records.empty());

    const TGPSRecord record;
    EXPECT_EQ(record.Latitude, 0.0L);
    EXPECT_EQ(record.Longitude, 0.0L);
    EXPECT_EQ(record.Tolerance, 0);
    EXPECT_EQ(record.Mode, 1);
    EXPECT_EQ(record.FileRef, 1);
    EXPECT_EQ(record.Comments, "...");
}

TEST(ProjectClassesTest, CopyIsDeepAndReplacesTheDestination)
{
    const TProjectType source = SampleProject();
    TProjectType destination;
    destination.Records = {Point(1, 2, "old"), Point(3, 4, "old"), Point(5, 6, "old")};
    destination.ProjectComments = {"a", "b", "c", "d"};

    CopyProject(&source, &destination);
    EXPECT_FALSE(ProjectsDiffer(source, destination));
    ASSERT_EQ(destination.Records.size(), 2u);
    EXPECT_EQ(destination.ProjectComments, source.ProjectComments);

    destination.Records[0].Latitude = 10;
    destination.Records[1].Comments = "changed";
    destination.ProjectComments[0] = "changed";
    EXPECT_EQ(source.Records[0].Latitude, 45.5L);
    EXPECT_EQ(source.Records[1].Comments, "Bridge");
    EXPECT_EQ(source.ProjectComments[0], "first line");

    TProjectType empty;
    empty.ProjectComments.clear();
    CopyProject(&empty, &destination);
    EXPECT_TRUE(destination.Records.empty());
    EXPECT_TRUE(destination.ProjectComments.empty());

    // Absent sides and a copy onto itself change nothing.
    TProjectType untouched = SampleProject();
    CopyProject(nullptr, &untouched);
    CopyProject(&untouched, nullptr);
    CopyProject(&untouched, &untouched);
    EXPECT_FALSE(ProjectsDiffer(untouched, SampleProject()));
}

TEST(ProjectClassesTest, ComparisonIsExact)
{
    const struct { const char* name; std::function<void(TProjectType&)> change; } cases[] = {
        {"author letter case", [](TProjectType& p) { p.Author = "anne"; }},
        {"trailing blank in name", [](TProjectType& p) { p.ProjectName += " "; }},
        {"creation date", [](TProjectType& p) { p.CreationDate = ""; }},
        {"trailing empty comment line", [](TProjectType& p) { p.ProjectComments.push_back(""); }},
        {"comment line order",
         [](TProjectType& p) { std::swap(p.ProjectComments[0], p.ProjectComments[2]); }},
        {"record order", [](TProjectType& p) { std::swap(p.Records[0], p.Records[1]); }},
        {"one more record", [](TProjectType& p) { p.Records.push_back(p.Records[0]); }},
        {"latitude by one unit in the last place",
         [](TProjectType& p) { p.Records[0].Latitude = std::nextafter(p.Records[0].Latitude, 90.0L); }},
        {"longitude sign", [](TProjectType& p) { p.Records[1].Longitude = 122.25L; }},
        {"tolerance", [](TProjectType& p) { p.Records[1].Tolerance = 251; }},
        {"mode", [](TProjectType& p) { p.Records[1].Mode = 3; }},
        {"file reference", [](TProjectType& p) { p.Records[1].FileRef = 998; }},
        {"comment case", [](TProjectType& p) { p.Records[0].Comments = "gate"; }},
    };
    const TProjectType reference = SampleProject();
    for (const auto& c : cases) {
        TProjectType changed = SampleProject();
        c.change(changed);
        EXPECT_TRUE(ProjectsDiffer(reference, changed)) << c.name;
        EXPECT_TRUE(ProjectsDiffer(changed, reference)) << c.name;
    }
    EXPECT_FALSE(ProjectsDiffer(reference, SampleProject()));
}

} // namespace
} // namespace uzuviv
