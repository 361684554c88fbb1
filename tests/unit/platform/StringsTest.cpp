#include "platform/gs/Array.hpp"
#include "platform/gs/CH.hpp"
#include "platform/gs/Guid.hpp"
#include "platform/gs/UniString.hpp"
#include <cstring>
#include <gtest/gtest.h>

namespace {

struct CodePageCase {
    Int32 codePage;
    GSCharCode code;
    const char* utf8;
    const char* expectedBytes;
};

class CodePageTest : public ::testing::TestWithParam<CodePageCase> {
protected:
    void TearDown() override { CHSetDefaultCodePage(1252); }
};

TEST_P(CodePageTest, RoundTripsThroughTheCodePage)
{
    const CodePageCase& c = GetParam();
    CHSetDefaultCodePage(c.codePage);
    GS::UniString text(c.utf8, CC_UTF8);
    char buf[64];
    CHUnicode2ANSI(text.ToUStr(), -1, buf, sizeof buf, c.code);
    EXPECT_STREQ(buf, c.expectedBytes);
    GS::uchar_t back[64];
    CHANSI2Unicode(buf, -1, back, 64, c.code);
    if (std::strchr(c.expectedBytes, '?') == nullptr) {
        EXPECT_EQ(GS::UniString(back), text);
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, CodePageTest,
                         ::testing::Values(CodePageCase{1252, CC_Default, "caf\xc3\xa9", "caf\xe9"},
                                           CodePageCase{1250, CC_Default, "\xc4\x8d\x65\x70", "\xe8" "ep"},
                                           CodePageCase{1250, CC_WestEuropean, "\xc4\x8d", "?"},
                                           CodePageCase{1252, CC_UTF8, "\xc4\x8d", "\xc4\x8d"}));

TEST(CharConversion, NeverWritesPastTheBuffer)
{
    GS::UniString text("abcdef", CC_UTF8);
    char buf[5];
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(CHUnicode2ANSI(text.ToUStr(), -1, buf, 4, CC_UTF8), 3);
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(buf[4], 'x');
    // UTF-8 is cut at a character boundary, not inside one.
    GS::UniString wide("a\xc4\x8d\xc4\x8d", CC_UTF8);
    CHUnicode2ANSI(wide.ToUStr(), -1, buf, 5, CC_UTF8);
    EXPECT_STREQ(buf, "a\xc4\x8d");
    char small[4];
    CHTruncate("abcdef", small, sizeof small);
    EXPECT_STREQ(small, "abc");
}

TEST(CharConversion, ReportsTextsTheCodeCannotHold)
{
    struct Case {
        std::u16string text;
        GSCharCode code;
        Int32 result;
        const char* bytes;
    };
    const Case cases[] = {
        {u"a\u010Db", CC_UTF8, 4, "a\xc4\x8d" "b"},
        {u"\U0001F600", CC_UTF8, 4, "\xf0\x9f\x98\x80"},
        {std::u16string{u'a', char16_t(0xD83D)}, CC_UTF8, -1, "a?"},
        {std::u16string{char16_t(0xD83D), u'b'}, CC_UTF8, -1, "?b"},  // the unit after a lone surrogate is kept
        {std::u16string{char16_t(0xDE00), u'c'}, CC_UTF8, -1, "?c"},
        {u"\u010D", CC_WestEuropean, -1, "?"},
    };
    for (const Case& c : cases) {
        GS::UniString text(c.text);
        char buf[16];
        EXPECT_EQ(CHUnicode2ANSI(text.ToUStr(), -1, buf, sizeof buf, c.code), c.result) << c.bytes;
        EXPECT_STREQ(buf, c.bytes);
    }
}

TEST(CharConversion, Comparisons)
{
    EXPECT_TRUE(CHEqualCStrings("rf_list", "rf_list"));
    EXPECT_FALSE(CHEqualCStrings("rf_list", "RF_LIST"));
    EXPECT_TRUE(CHEqualCStringsInsensitive("rf_list", "RF_LIST"));
    EXPECT_LT(CHCompareASCII("abc", "ABD"), 0);
    EXPECT_EQ(CHCompareASCII("Manual.PDF", "manual.pdf"), 0);
}

TEST(Guid, TextFormRoundTrip)
{
    GS::Guid g("{47f84345-4d48-41a5-9ede-821629ce5393}");
    EXPECT_FALSE(g.IsNull());
    EXPECT_EQ(g.ToUniString().ToUtf8(), "47F84345-4D48-41A5-9EDE-821629CE5393");
    EXPECT_EQ(GS::Guid("47F84345-4D48-41A5-9EDE-821629CE5393"), g);
    // The first groups are stored as little-endian integers.
    EXPECT_EQ(g.GetBytes()[0], 0x45);
    EXPECT_EQ(g.GetBytes()[8], 0x9E);
    EXPECT_TRUE(GS::Guid("not a guid").IsNull());
    EXPECT_TRUE(GS::Guid("{47f84345-4d48-41a5-9ede-821629ce539}").IsNull());
}

TEST(Containers, VAArrayIsOneBasedAndChecked)
{
    GS::VAArray<int> a(50);
    EXPECT_GE(a.GetCapacity(), 50u);
    EXPECT_EQ(a.Push(10), 1);
    EXPECT_EQ(a.Push(20), 2);
    a.Insert(1, 5);
    EXPECT_EQ(a[1], 5);
    EXPECT_EQ(a[3], 20);
    EXPECT_THROW(a[0], GS::OutOfRangeException);
    EXPECT_THROW(a[4], GS::OutOfRangeException);
    a.Delete(1);
    EXPECT_EQ(a.GetItemCount(), 2);
    GS::Array<int> b{1, 2, 3};
    EXPECT_THROW(b[3], GS::OutOfRangeException);
    EXPECT_EQ(b.FindFirst(3), 2u);
    EXPECT_EQ(b.FindFirst(9), GS::MaxUIndex);
}

}  // namespace
