// The string loader, linked from the add-on's own objects.
#include "addon/services/ResStrings.hpp"
#include "platform/gs/CH.hpp"
#include "platform/rs/RS.hpp"
#include <cstring>
#include <gtest/gtest.h>
#include <string>

extern const RSImage AddOnResourceImage;

namespace {

class ResStringsTest : public ::testing::Test {
protected:
    void SetUp() override { CHSetDefaultCodePage(HOST_VERSION == 25 ? 1250 : 1252); }
};

// The ring starts at slot 0, so a freshly loaded library uses slot 1 first
// and slot 0 on its tenth load. A death test in the thread-safe style runs
// in a new process, where no load has happened yet.
TEST(ResStringsFreshTest, FirstLoadUsesSlotOneAndTenthSlotZero)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            bool ok = ResStringRing::CurrentSlot() == 0;
            GetResString(201, 1);
            ok = ok && ResStringRing::CurrentSlot() == 1;
            for (int i = 2; i <= 10; ++i)
                GetResString(201, 1);
            ok = ok && ResStringRing::CurrentSlot() == 0;
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(ResStringsTest, EleventhLoadReusesTheFirstSlot)
{
    const char* loads[11];
    std::string copies[11];
    for (int i = 0; i < 11; ++i) {
        loads[i] = GetResString(201, static_cast<Int16>(i % 8 + 1));
        copies[i] = loads[i];
    }
    EXPECT_EQ(loads[10], loads[0]) << "the eleventh load must use the first load's slot";
    EXPECT_STREQ(loads[0], copies[10].c_str()) << "the first text is overwritten";
    for (int i = 1; i < 11; ++i)
        EXPECT_STREQ(loads[i], copies[i].c_str()) << "load " << i + 1 << " stays intact";
    for (int i = 1; i < 10; ++i)
        EXPECT_NE(loads[i], loads[0]);
}

TEST_F(ResStringsTest, MissingEntryYieldsTheErrorTextNamingItsSlot)
{
    // Move the ring so that the next load lands in slot 3.
    while (ResStringRing::CurrentSlot() != 2)
        GetResString(201, 1);
    EXPECT_STREQ(GetResString(130, 30), "Error getting resource string: resInd:130, strInd:30 (retI:3)!");
    EXPECT_STREQ(GetResString(9999, 72), "Error getting resource string: resInd:9999, strInd:72 (retI:4)!");
    EXPECT_STRNE(GetResString(130, 72), "") << "entry 72 has its own text";
    EXPECT_EQ(std::strncmp(GetResString(130, 72), "Error getting", 13) == 0, false);
    EXPECT_TRUE(GetResUniString(9999, 1).IsEmpty());
}

// Every text of this build loads through the C-string loader unchanged,
// in the host's code page, and fits its 255-byte slot.
TEST_F(ResStringsTest, EveryStringLoadsAndFits)
{
    ASSERT_GT(AddOnResourceImage.stringCount, 80u);
    for (UInt32 i = 0; i < AddOnResourceImage.stringCount; ++i) {
        const RSStringEntry& e = AddOnResourceImage.strings[i];
        const char* loaded = GetResString(e.listId, e.index);
        GS::UniString expected(e.utf8, CC_UTF8);
        bool lossless = false;
        std::string bytes = GS::EncodeText(expected.Units(), CC_Default, &lossless);
        EXPECT_TRUE(lossless) << e.listId << "/" << e.index;
        EXPECT_LE(bytes.size(), 254u) << e.listId << "/" << e.index;
        EXPECT_EQ(std::string(loaded), bytes) << e.listId << "/" << e.index;
        EXPECT_EQ(GetResUniString(e.listId, e.index), expected);
    }
}

}  // namespace
