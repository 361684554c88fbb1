// IDs and qualities kept as C strings: letters the host's code page lacks
// come back as the user wrote them, texts it can hold stay 8-bit.
#include "addon/services/HostText.hpp"
#include "platform/gs/CH.hpp"
#include <gtest/gtest.h>

namespace {

class HostTextTest : public ::testing::Test {
protected:
    void TearDown() override { CHSetDefaultCodePage(HOST_VERSION == 25 ? 1250 : 1252); }
};

GS::UniString U(const char* utf8) { return GS::UniString(utf8, CC_UTF8); }

struct RoundTrip {
    Int32 codePage;
    const char* text;  // UTF-8
    bool eightBit;     // kept in the code page
};

TEST_F(HostTextTest, EveryTextComesBackAsWritten)
{
    const RoundTrip cases[] = {
        {1252, "B500B", true},   {1252, "\xC3\x98" "3", true},        // Ø3
        {1252, "\xC4\x8C" "1", false},                                 // Č1
        {1252, "B500\xC4\x8C", false},                                 // B500Č
        {1250, "\xC4\x8C" "1", true},    {1250, "\xC3\x98" "3", false}, // Č1, Ø3
        {1250, "A\xF0\x9F\x98\x80", false},                            // a character outside the basic plane
        {1252, "", true},
    };
    for (const RoundTrip& c : cases) {
        CHSetDefaultCodePage(c.codePage);
        const std::string kept = HostText::ToText(U(c.text));
        EXPECT_EQ(HostText::FromText(kept).ToUtf8(), c.text) << c.codePage << " " << c.text;
        EXPECT_EQ(kept.empty() || kept[0] != HostText::Utf8Mark, c.eightBit) << c.codePage << " " << c.text;
        if (c.eightBit) {
            EXPECT_EQ(kept, GS::EncodeText(U(c.text).Units(), CC_Default));
        }
    }
}

TEST_F(HostTextTest, DifferentLettersStayDifferent)
{
    CHSetDefaultCodePage(1252);
    // Both lack the code page: they used to become the same "?1".
    EXPECT_NE(HostText::ToText(U("\xC4\x8C" "1")), HostText::ToText(U("\xC4\x86" "1")));
    EXPECT_NE(HostText::ToText(U("\xC4\x8C" "1")), "?1");
}

TEST_F(HostTextTest, CutsKeepWholeCharacters)
{
    CHSetDefaultCodePage(1252);
    // Č is two bytes in UTF-8, the mark one: five bytes hold the mark and two Č.
    const std::string kept = HostText::ToText(U("\xC4\x8C\xC4\x8C\xC4\x8C"), 5);
    EXPECT_EQ(HostText::FromText(kept).ToUtf8(), "\xC4\x8C\xC4\x8C");
    EXPECT_LE(kept.size(), 5u);
    // A cut by units never keeps the first half of a pair.
    const std::string smiley = HostText::ToText(U("A\xF0\x9F\x98\x80"));
    EXPECT_EQ(HostText::FromText(smiley, 2).ToUtf8(), "A");
    EXPECT_EQ(HostText::FromText(smiley, 3).ToUtf8(), "A\xF0\x9F\x98\x80");
    EXPECT_EQ(HostText::ToText(U("abcdef"), 3), "abc");
}

TEST_F(HostTextTest, JoinedTextsTakeTheKindTheWholeNeeds)
{
    CHSetDefaultCodePage(1252);
    EXPECT_EQ(HostText::Join("K1", " - 2"), "K1 - 2");
    const std::string c1 = HostText::ToText(U("\xC4\x8C" "1"));
    EXPECT_EQ(HostText::FromText(HostText::Join(c1, " - 2")).ToUtf8(), "\xC4\x8C" "1 - 2");
    const std::string o = HostText::ToText(U("\xC3\x98"));  // 8-bit in 1252
    EXPECT_EQ(HostText::FromText(HostText::Join(o, c1)).ToUtf8(), "\xC3\x98\xC4\x8C" "1");
    EXPECT_EQ(HostText::Join(std::string(10, 'a'), "bb", 11), std::string(10, 'a') + "b");
}

}  // namespace
