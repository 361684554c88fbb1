// The IDs a run writes into members.
#include "addon/schedule/WriteResults.hpp"
#include "addon/services/HostText.hpp"
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

TEST(SubBarIdTest, LettersTheCodePageLacksKeepTheirIds)
{
    // In either host one of these lacks the code page.
    const std::string c = HostText::ToText(GS::UniString("\xC4\x8C", CC_UTF8));   // Č
    const std::string o = HostText::ToText(GS::UniString("\xC3\x98", CC_UTF8));   // Ø
    for (const std::string& letter : {c, o}) {
        const std::string group = HostText::Join(letter, "7");
        EXPECT_EQ(HostText::FromText(MemberId(HostText::Join(letter, "K").c_str(), group)).ToUtf8(),
                  HostText::FromText(letter).ToUtf8() + "K - " + HostText::FromText(letter).ToUtf8() + "7");
        const std::string old = HostText::Join(letter, " - 3");
        EXPECT_EQ(HostText::FromText(NewSubBarId(&old, group, 1, 1)).ToUtf8(), HostText::FromText(group).ToUtf8() + " - 3");
        // A long prefix of such letters still leaves the suffix whole within 255 units.
        std::string longPrefix;
        for (int i = 0; i < 300; ++i)
            longPrefix = HostText::Join(longPrefix, letter);
        const GS::UniString id = HostText::FromText(MemberId(longPrefix.c_str(), "12"));
        EXPECT_EQ(id.GetLength(), 255u);
        EXPECT_EQ(id.ToUtf8().substr(id.ToUtf8().size() - 5), " - 12");
    }
}
