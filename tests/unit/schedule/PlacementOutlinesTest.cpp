// The outlines that follow the cursor while a new object is placed.
#include "addon/schedule/PlacementOutlines.hpp"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// (x1 y1 - x2 y2) of every line, rounded to 1e-9, each checked at z = 0.
std::vector<std::string> Lines(PlacementOutline outline)
{
    std::vector<std::string> lines;
    for (const OutlineLine& l : PlacementOutlineLines(outline, {10, 5, 0})) {
        EXPECT_EQ(l.from.z, 0);
        EXPECT_EQ(l.to.z, 0);
        char text[96];
        std::snprintf(text, sizeof text, "%g %g - %g %g", l.from.x, l.from.y, l.to.x, l.to.y);
        lines.push_back(text);
    }
    return lines;
}

TEST(PlacementOutlinesTest, EachOutlineAtTheCursor)
{
    const std::vector<std::string> beam = {"10 5 - 10 5.5", "10 5.5 - 12 5.5", "12 5.5 - 12 5", "12 5 - 10 5"};
    EXPECT_EQ(Lines(PlacementOutline::Beam), beam);

    std::vector<std::string> crowning = beam;
    for (const char* x : {"10.2", "10.4", "10.6", "10.8", "11", "11.2", "11.4", "11.6", "11.8"})
        crowning.push_back(std::string(x) + " 5.5 - " + x + " 5");
    EXPECT_EQ(Lines(PlacementOutline::Crowning), crowning);

    EXPECT_EQ(Lines(PlacementOutline::Column),
              (std::vector<std::string>{"10 5 - 10 5.5", "10 5.5 - 10.5 5.5", "10.5 5.5 - 10.5 5", "10.5 5 - 10 5",
                                        "10.1 5.1 - 10.1 5.4", "10.1 5.4 - 10.4 5.4", "10.4 5.4 - 10.4 5.1",
                                        "10.4 5.1 - 10.1 5.1"}));

    std::vector<std::string> list = {"10 5 - 10 4", "10 4 - 10.5 4", "10.5 4 - 10.5 5", "10.5 5 - 10 5"};
    for (const char* y : {"4.9", "4.8", "4.7", "4.6", "4.5", "4.4", "4.3"})
        list.push_back(std::string("10.4 ") + y + " - 10.1 " + y);
    EXPECT_EQ(Lines(PlacementOutline::List), list);
}

TEST(PlacementOutlinesTest, OutlinesFollowTheCursorsHeight)
{
    for (const OutlineLine& l : PlacementOutlineLines(PlacementOutline::List, {-3, 2, 7.5})) {
        EXPECT_EQ(l.from.z, 7.5);
        EXPECT_EQ(l.to.z, 7.5);
    }
}

}  // namespace
