// The exported text of a list's tables, byte for byte, from parameter
// handles laid out as the host lays them out.
#include "addon/schedule/ListExport.hpp"
#include "platform/gs/Memory.hpp"
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

// One parameter record: its name, dimensions and the value handle's UTF-16
// units exactly as they lie in it (the texts each ended by a NUL).
struct Record {
    const char* name;
    Int32 rows;
    Int32 columns;
    std::u16string units;
};

// The units of cells that each end with a NUL.
std::u16string Cells(std::initializer_list<std::u16string> cells)
{
    std::u16string units;
    for (const std::u16string& c : cells) {
        units += c;
        units.push_back(0);
    }
    return units;
}

class ParamHandle {
public:
    explicit ParamHandle(const std::vector<Record>& records)
    {
        params = reinterpret_cast<API_AddParType**>(BMhAllClear(static_cast<Int64>(records.size() * sizeof(API_AddParType))));
        for (size_t i = 0; i < records.size(); ++i) {
            API_AddParType& rec = (*params)[i];
            std::strcpy(rec.name, records[i].name);
            rec.typeID = APIParT_CString;
            rec.dim1 = records[i].rows;
            rec.dim2 = records[i].columns;
            if (rec.dim1 > 0) {
                const std::u16string& u = records[i].units;
                rec.value.array = BMhAll(static_cast<Int64>(u.size() * sizeof(char16_t)));
                if (!u.empty())
                    std::memcpy(*rec.value.array, u.data(), u.size() * sizeof(char16_t));
            }
        }
    }
    ~ParamHandle()
    {
        Int64 n = BMhGetSize(reinterpret_cast<GSConstHandle>(params)) / static_cast<Int64>(sizeof(API_AddParType));
        for (Int64 i = 0; i < n; ++i)
            if ((*params)[i].dim1 > 0)
                BMhKill(&(*params)[i].value.array);
        GSHandle h = reinterpret_cast<GSHandle>(params);
        BMhKill(&h);
    }
    API_AddParType** Get() const { return params; }

private:
    API_AddParType** params = nullptr;
};

struct TextCase {
    const char* what;
    std::vector<Record> records;
    std::string bytes;
};

const char16_t LoneSurrogate = 0xD800;

class ListTableTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ListTableTextTest, GivesTheFileBytes)
{
    Int64 handles = GS::LiveMemoryHandleCount();
    Int64 blocks = GS::LiveMemoryBlockCount();
    {
        ParamHandle params(GetParam().records);
        std::string text;
        ASSERT_TRUE(ListTableText(params.Get(), &text));
        EXPECT_EQ(text, GetParam().bytes);
    }
    EXPECT_EQ(GS::LiveMemoryHandleCount(), handles);
    EXPECT_EQ(GS::LiveMemoryBlockCount(), blocks);
}

const std::u16string LongCell(700, u'\u010D');  // 1400 bytes in UTF-8: more than the test buffer holds
std::string LongCellBytes()
{
    std::string bytes;
    for (int i = 0; i < 700; ++i)
        bytes += "\xC4\x8D";
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ListTableTextTest,
    ::testing::Values(
        TextCase{"TwoRowsThreeColumns", {{"tableContentTexts", 2, 3, Cells({u"a", u"b", u"c", u"d", u"e", u"f"})}},
                 "a\tb\tc\r\nd\te\tf\r\n"},
        TextCase{"OneCell", {{"tableContentTexts", 1, 1, Cells({u"only"})}}, "only\r\n"},
        TextCase{"EmptyMiddleCell", {{"tableContentTexts", 1, 3, Cells({u"a", u"", u"c"})}}, "a\t\tc\r\n"},
        TextCase{"NoRows", {{"tableContentTexts", 0, 3, u""}}, ""},
        TextCase{"RowsWithoutColumns", {{"tableContentTexts", 3, 0, u""}}, "\r\n\r\n\r\n"},
        TextCase{"TwoRecordsOneAfterTheOther",
                 {{"tableContentTexts", 1, 2, Cells({u"a", u"b"})},
                  {"TableContentTexts", 1, 1, Cells({u"other case"})},
                  {"tableContentTexts", 2, 1, Cells({u"c", u"d"})}},
                 "a\tb\r\nc\r\nd\r\n"},
        TextCase{"CellFailingTheConversionIsLeftOutWithItsTab",
                 {{"tableContentTexts", 2, 3,
                   Cells({u"a", std::u16string(1, LoneSurrogate), u"c", u"d", u"e", u"f"})}},
                 "a\tc\r\nd\te\tf\r\n"},
        TextCase{"FailingLastCellLeavesTheTabOfTheCellBefore",
                 {{"tableContentTexts", 1, 3, Cells({u"a", u"b", u"x" + std::u16string(1, LoneSurrogate)})}},
                 "a\tb\t\r\n"},
        TextCase{"NonAsciiCellsInUtf8", {{"tableContentTexts", 1, 2, Cells({u"\u010Celi\u010Dna", u"\u00D8 12 \u20AC"})}},
                 "\xC4\x8C" "eli\xC4\x8Dna\t\xC3\x98 12 \xE2\x82\xAC\r\n"},
        TextCase{"TabsAndLineBreaksInCellsUnchanged", {{"tableContentTexts", 1, 2, Cells({u"a\tb", u"c\r\nd"})}},
                 "a\tb\tc\r\nd\r\n"},
        TextCase{"CellLongerThanTheTestBufferWrittenWhole", {{"tableContentTexts", 1, 1, Cells({LongCell})}},
                 LongCellBytes() + "\r\n"},
        // A value handle shorter than its dimensions: reading stops at its
        // end; the text cut by it ends there and the cells after it are empty.
        TextCase{"ShortValueHandle", {{"tableContentTexts", 2, 2, std::u16string(u"ab\0cd", 5)}}, "ab\tcd\r\n\t\r\n"},
        TextCase{"NoValueHandleContents", {{"tableContentTexts", 1, 2, u""}}, "\t\r\n"}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.what); });

TEST(ListTableText, NoConversionBufferNoText)
{
    ParamHandle params({{"tableContentTexts", 1, 1, Cells({u"a"})}});
    Int64 blocks = GS::LiveMemoryBlockCount();
    GS::FailNthAllocation(1);
    std::string text;
    EXPECT_FALSE(ListTableText(params.Get(), &text));
    GS::FailNthAllocation(0);
    EXPECT_EQ(GS::LiveMemoryBlockCount(), blocks);
}

}  // namespace
