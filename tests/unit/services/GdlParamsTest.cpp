// Parameter access over handles laid out as the host lays them out.
#include "addon/services/GdlParams.hpp"
#include "addon/services/LibraryParts.hpp"
#include "platform/gs/Memory.hpp"
#include <cstring>
#include <string>
#include <vector>
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

    struct Declared {
        const char* name;
        API_AddParID type;
    };
    // Records with these names and value types, holding single values.
    void Build(std::initializer_list<Declared> declared)
    {
        params = reinterpret_cast<API_AddParType**>(BMhAllClear(static_cast<Int64>(declared.size() * sizeof(API_AddParType))));
        Int32 i = 0;
        for (const Declared& d : declared) {
            std::strcpy((*params)[i].name, d.name);
            (*params)[i++].typeID = d.type;
        }
    }

    API_AddParType** params = nullptr;
    Int64 before = 0;
};

TEST_F(GdlParamsTest, EveryRecordOfTheNameIsWritten)
{
    Build({{"strIronID", APIParT_CString}, {"iPosition", APIParT_Integer}, {"strIronID", APIParT_CString},
           {"StrIronID", APIParT_CString}});
    EXPECT_TRUE(GdlParams::WriteText(params, "strIronID", GS::UniString("A1", CC_UTF8)));
    EXPECT_EQ(GdlParams::Text((*params)[0]).ToUtf8(), "A1");
    EXPECT_EQ(GdlParams::Text((*params)[2]).ToUtf8(), "A1");
    EXPECT_TRUE(GdlParams::Text((*params)[3]).IsEmpty()) << "another letter case is another parameter";
    EXPECT_FALSE(GdlParams::WriteNumber(params, "missing", 1.0));
    int visited = 0;
    GdlParams::ForEachNamed(params, "strIronID", [&](API_AddParType&) { ++visited; });
    EXPECT_EQ(visited, 2);
}

// Through an index, a name visits the records the walk over every record
// visits, in the same order: names of the same length and first letter are
// told apart, letter case counts, and a name that fills the whole field (no
// room for its terminator) matches nothing.
TEST_F(GdlParamsTest, IndexVisitsWhatTheWalkVisits)
{
    const std::string full(sizeof(API_AddParType::name), 'x');
    Build({{"ironType", APIParT_RealNum}, {"ironData", APIParT_RealNum}, {"ironType", APIParT_RealNum},
           {"IronType", APIParT_RealNum}, {"", APIParT_RealNum}, {"x", APIParT_RealNum}});
    std::memcpy((*params)[5].name, full.data(), full.size());  // no terminator
    const GdlParams::NameIndex index(params);
    for (const std::string& name : {std::string("ironType"), std::string("ironData"), std::string("IronType"),
                                    std::string("ironTypes"), std::string(""), full, std::string("missing")}) {
        SCOPED_TRACE(name);
        std::vector<API_AddParType*> walked, indexed;
        GdlParams::ForEachNamed(params, name.c_str(), [&](API_AddParType& rec) { walked.push_back(&rec); });
        index.ForEachNamed(name.c_str(), [&](API_AddParType& rec) { indexed.push_back(&rec); });
        EXPECT_EQ(indexed, walked);
        if (name == "ironType") {
            EXPECT_EQ(indexed.size(), 2u);
        }
        if (name == full) {
            EXPECT_TRUE(indexed.empty());
        }
    }
    EXPECT_TRUE(GdlParams::WriteNumber(index, "ironData", 4.0));
    EXPECT_EQ(GdlParams::Number((*params)[1]), 4.0);
    EXPECT_EQ(GdlParams::Number((*params)[0]), 0.0);
}

TEST_F(GdlParamsTest, InlineTextIsCutAt255Units)
{
    Build({{"strIronID", APIParT_CString}});
    std::string longText(300, 'x');
    GdlParams::WriteText(params, "strIronID", GS::UniString(longText.c_str(), CC_UTF8));
    const API_AddParType& rec = (*params)[0];
    EXPECT_EQ(GdlParams::Text(rec).GetLength(), 255u);
    EXPECT_EQ(rec.value.uStr[255], 0);
}

TEST_F(GdlParamsTest, ArraysAreResizedExactly)
{
    Build({{"ironType", APIParT_RealNum}, {"ironID", APIParT_CString}});
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
    Build({{"ironData", APIParT_RealNum}});
    API_AddParType& rec = (*params)[0];
    rec.dim1 = 4;
    rec.dim2 = 4;
    rec.value.array = BMhAllClear(3 * sizeof(double));  // claims 16 values, holds 3
    reinterpret_cast<double*>(*rec.value.array)[2] = 5.0;
    EXPECT_EQ(GdlParams::ArrayNumber(rec, 0, 2), 5.0);
    EXPECT_EQ(GdlParams::ArrayNumber(rec, 3, 3), 0.0);
}

// An array of no rows and no columns holds no value handle: the host
// frees the handles of records with a dimension only, and a later write
// must not drop a handle it cannot see.
TEST_F(GdlParamsTest, EmptyArrayKeepsNoValueHandle)
{
    Build({{"ironData", APIParT_RealNum}, {"ironID", APIParT_CString}});
    const double values[] = {1, 2, 3, 4};
    const GS::UniString ids[] = {GS::UniString("A", CC_UTF8), GS::UniString("B", CC_UTF8)};
    Int64 withoutArrays = GS::LiveMemoryHandleCount();
    ASSERT_TRUE(GdlParams::WriteNumbers(params, "ironData", 2, 2, values));
    ASSERT_TRUE(GdlParams::WriteTexts(params, "ironID", 2, 1, ids));
    ASSERT_EQ(GS::LiveMemoryHandleCount(), withoutArrays + 2);

    ASSERT_TRUE(GdlParams::WriteNumbers(params, "ironData", 0, 0, values));
    ASSERT_TRUE(GdlParams::WriteTexts(params, "ironID", 0, 0, ids));
    EXPECT_EQ(GS::LiveMemoryHandleCount(), withoutArrays) << "the value handles went with the cells";
    for (Int32 i = 0; i < 2; ++i) {
        EXPECT_FALSE(GdlParams::IsArray((*params)[i]));
        EXPECT_EQ((*params)[i].value.array, nullptr);
    }

    ASSERT_TRUE(GdlParams::WriteNumbers(params, "ironData", 1, 2, values + 2));
    EXPECT_EQ(GdlParams::ArrayNumber((*params)[0], 0, 1), 4.0);
    EXPECT_EQ(GS::LiveMemoryHandleCount(), withoutArrays + 1);
    ASSERT_TRUE(GdlParams::WriteNumbers(params, "ironData", 0, 3, values));
    EXPECT_TRUE(GdlParams::IsArray((*params)[0])) << "no rows of three columns is still an array";
    EXPECT_EQ(BMhGetSize((*params)[0].value.array), 0);
}

// A record whose value is of another type than the one asked for counts as
// missing: its value area holds a text, a number or a handle, and reading
// it as the other kind gives bytes, not a value.
TEST_F(GdlParamsTest, RecordOfAnotherValueTypeCountsAsMissing)
{
    Build({{"number", APIParT_Length},
           {"text", APIParT_CString},
           {"numbers", APIParT_RealNum},
           {"texts", APIParT_CString},
           {"separator", APIParT_Separator}});
    const double one[] = {350};
    const GS::UniString oneText[] = {GS::UniString("350", CC_UTF8)};
    ASSERT_TRUE(GdlParams::WriteNumber(params, "number", 350));
    ASSERT_TRUE(GdlParams::WriteText(params, "text", GS::UniString("350", CC_UTF8)));
    ASSERT_TRUE(GdlParams::WriteNumbers(params, "numbers", 1, 1, one));
    ASSERT_TRUE(GdlParams::WriteTexts(params, "texts", 1, 1, oneText));
    const API_AddParType& number = (*params)[0];
    const API_AddParType& text = (*params)[1];
    const API_AddParType& numbers = (*params)[2];
    const API_AddParType& texts = (*params)[3];
    const API_AddParType& separator = (*params)[4];

    EXPECT_EQ(GdlParams::Number(number, -1), 350.0);
    EXPECT_EQ(GdlParams::Number(text, -1), -1.0);
    EXPECT_EQ(GdlParams::Number(numbers, -1), -1.0);
    EXPECT_EQ(GdlParams::Number(separator, -1), -1.0);
    EXPECT_EQ(GdlParams::Text(text).ToUtf8(), "350");
    EXPECT_TRUE(GdlParams::Text(number).IsEmpty());
    EXPECT_TRUE(GdlParams::Text(texts).IsEmpty());
    EXPECT_EQ(GdlParams::ArrayNumber(numbers, 0, 0), 350.0);
    EXPECT_EQ(GdlParams::ArrayNumber(texts, 0, 0), 0.0);
    EXPECT_EQ(GdlParams::ArrayText(texts, 0, 0).ToUtf8(), "350");
    EXPECT_TRUE(GdlParams::ArrayText(numbers, 0, 0).IsEmpty());

    // Writers leave such records alone.
    EXPECT_FALSE(GdlParams::WriteNumber(params, "text", 1));
    EXPECT_FALSE(GdlParams::WriteText(params, "number", GS::UniString("1", CC_UTF8)));
    EXPECT_FALSE(GdlParams::WriteNumbers(params, "texts", 1, 1, one));
    EXPECT_FALSE(GdlParams::WriteTexts(params, "numbers", 1, 1, oneText));
    EXPECT_EQ(GdlParams::Text(text).ToUtf8(), "350");
    EXPECT_EQ(GdlParams::Number(number), 350.0);
    EXPECT_EQ(GdlParams::ArrayText(texts, 0, 0).ToUtf8(), "350");
    EXPECT_EQ(GdlParams::ArrayNumber(numbers, 0, 0), 350.0);
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
