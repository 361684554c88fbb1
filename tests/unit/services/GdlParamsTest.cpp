// Parameter access over handles laid out as the host lays them out.
#include "addon/services/GdlParams.hpp"
#include "addon/services/LibraryParts.hpp"
#include "platform/gs/Memory.hpp"
#include <cstring>
#include <gtest/gtest.h>

namespace {

class GdlParamsTest : public ::testing::Test {
protected:
    void SetUp() override { before = GS::LiveMemoryHandleCount(); }
    void TearDown() override
    {
        for (Int32 i = 0; i < GdlParams::Count(params); ++i)
            if (GdlParams::IsArray((*params)[i]))
                BMhKill(&(*params)[i].value.array);
        GSHandle h = reinterpret_cast<GSHandle>(params);
        BMhKill(&h);
        EXPECT_EQ(GS::LiveMemoryHandleCount(), before);
    }

    // name, then a number value, or an array of rows x cols numbers.
    void Build(std::initializer_list<const char*> names)
    {
        params = reinterpret_cast<API_AddParType**>(BMhAllClear(static_cast<Int64>(names.size() * sizeof(API_AddParType))));
        Int32 i = 0;
        for (const char* n : names)
            std::strcpy((*params)[i++].name, n);
    }

    API_AddParType** params = nullptr;
    Int64 before = 0;
};

TEST_F(GdlParamsTest, EveryRecordOfTheNameIsWritten)
{
    Build({"strIronID", "iPosition", "strIronID", "StrIronID"});
    EXPECT_TRUE(GdlParams::WriteText(params, "strIronID", GS::UniString("A1", CC_UTF8)));
    EXPECT_EQ(GdlParams::Text((*params)[0]).ToUtf8(), "A1");
    EXPECT_EQ(GdlParams::Text((*params)[2]).ToUtf8(), "A1");
    EXPECT_TRUE(GdlParams::Text((*params)[3]).IsEmpty()) << "another letter case is another parameter";
    EXPECT_FALSE(GdlParams::WriteNumber(params, "missing", 1.0));
    int visited = 0;
    GdlParams::ForEachNamed(params, "strIronID", [&](API_AddParType&) { ++visited; });
    EXPECT_EQ(visited, 2);
}

TEST_F(GdlParamsTest, InlineTextIsCutAt255Units)
{
    Build({"strIronID"});
    std::string longText(300, 'x');
    GdlParams::WriteText(params, "strIronID", GS::UniString(longText.c_str(), CC_UTF8));
    const API_AddParType& rec = (*params)[0];
    EXPECT_EQ(GdlParams::Text(rec).GetLength(), 255u);
    EXPECT_EQ(rec.value.uStr[255], 0);
}

TEST_F(GdlParamsTest, ArraysAreResizedExactly)
{
    Build({"ironType", "ironID"});
    const double values[] = {0, 1, 2, 0, 90, 1, 3, 0};
    ASSERT_TRUE(GdlParams::WriteNumbers(params, "ironType", 2, 4, values));
    const API_AddParType& numbers = (*params)[0];
    EXPECT_EQ(numbers.dim1, 2);
    EXPECT_EQ(numbers.dim2, 4);
    EXPECT_EQ(BMhGetSize(numbers.value.array), 64);
    EXPECT_EQ(GdlParams::ArrayNumber(numbers, 1, 0), 90.0);
    EXPECT_EQ(GdlParams::ArrayNumber(numbers, 2, 0), 0.0) << "outside the rows";
    ASSERT_TRUE(GdlParams::WriteNumbers(params, "ironType", 1, 4, values));
    EXPECT_EQ(BMhGetSize(numbers.value.array), 32);

    const GS::UniString ids[] = {GS::UniString("A", CC_UTF8), GS::UniString("", CC_UTF8), GS::UniString("BC", CC_UTF8)};
    ASSERT_TRUE(GdlParams::WriteTexts(params, "ironID", 3, 1, ids));
    const API_AddParType& texts = (*params)[1];
    EXPECT_EQ(BMhGetSize(texts.value.array), static_cast<Int64>((2 + 1 + 3) * sizeof(GS::uchar_t)));
    EXPECT_EQ(GdlParams::ArrayText(texts, 0, 0).ToUtf8(), "A");
    EXPECT_EQ(GdlParams::ArrayText(texts, 1, 0).ToUtf8(), "");
    EXPECT_EQ(GdlParams::ArrayText(texts, 2, 0).ToUtf8(), "BC");
    EXPECT_TRUE(GdlParams::ArrayText(texts, 3, 0).IsEmpty());
}

TEST_F(GdlParamsTest, ShortValueHandleIsNotReadPastItsEnd)
{
    Build({"ironData"});
    API_AddParType& rec = (*params)[0];
    rec.dim1 = 4;
    rec.dim2 = 4;
    rec.value.array = BMhAllClear(3 * sizeof(double));  // claims 16 values, holds 3
    reinterpret_cast<double*>(*rec.value.array)[2] = 5.0;
    EXPECT_EQ(GdlParams::ArrayNumber(rec, 0, 2), 5.0);
    EXPECT_EQ(GdlParams::ArrayNumber(rec, 3, 3), 0.0);
}

TEST(LibraryPartIdsTest, UniqueIdsAreMainGuidAndNullRevision)
{
    for (const LibraryPartId& id : LibraryPartIds) {
        EXPECT_EQ(std::strlen(id.uniqueId), 77u);
        EXPECT_EQ(std::strlen(id.mainGuid), 38u);
        EXPECT_EQ(std::strncmp(id.uniqueId, id.mainGuid, 38), 0);
        EXPECT_STREQ(id.uniqueId + 38, "-{00000000-0000-0000-0000-000000000000}");
    }
}

}  // namespace
