// The IDs a run writes into members.
#include "addon/schedule/WriteResults.hpp"
#include <gtest/gtest.h>
#include <string>

namespace {

struct SubBarCase {
    const char* old;  // nullptr: absent
    Int32 r;
    const char* expected;
};

TEST(SubBarIdTest, RewrittenInGroupK2AtPosition2)
{
    const SubBarCase cases[] = {
        {"K1 - 3", 1, "K2 - 3"}, {"AB-7", 2, "K2B-7"}, {"A-5", 3, "K2 - 3"}, {"-5", 4, "K2 - 4"},
        {"X", 5, "K2 - 5"},      {"", 6, "K2 - 6"},    {nullptr, 7, "2 - 7"}, {"a-b-c", 8, "K2b-c"},
    };
    for (const SubBarCase& c : cases) {
        const std::string old = c.old != nullptr ? c.old : "";
        EXPECT_EQ(NewSubBarId(c.old != nullptr ? &old : nullptr, "K2", 2, c.r), c.expected) << (c.old ? c.old : "(absent)");
    }
}

TEST(SubBarIdTest, LongTextsStayWithinTheirBuffers)
{
    // The tail is looked for within the first 999 bytes; the result is at
    // most 1023 bytes.
    const std::string longId = std::string(1500, 'x') + "-9";
    EXPECT_EQ(NewSubBarId(&longId, "K", 1, 4), "K - 4");
    const std::string dashed = "ab-" + std::string(2000, 'y');
    EXPECT_EQ(NewSubBarId(&dashed, std::string(1500, 'G'), 1, 1).size(), 1023u);
}

TEST(SubBarIdTest, MemberIdWithAndWithoutPrefix)
{
    EXPECT_EQ(MemberId(nullptr, "12"), "12");
    EXPECT_EQ(MemberId("K1", "2"), "K1 - 2");
    // A long prefix gives way to the group's suffix, which always fits the
    // parameter's 255 units, so that the groups' bars stay told apart.
    EXPECT_EQ(MemberId(std::string(2000, 'p').c_str(), "2"), std::string(251, 'p') + " - 2");
    EXPECT_EQ(MemberId(std::string(252, 'p').c_str(), "12"), std::string(250, 'p') + " - 12");
    EXPECT_EQ(MemberId(std::string(200, 'p').c_str(), "3"), std::string(200, 'p') + " - 3");
}

}  // namespace
