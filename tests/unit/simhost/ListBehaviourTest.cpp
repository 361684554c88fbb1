// The cutting list's table as its script computes it from the list's data.
#include "simhost/library/ListBehaviour.hpp"
#include "platform/gs/CH.hpp"
#include <gtest/gtest.h>
#include "tests/support/GdlParams.hpp"

namespace SimHost {

using TestParams::Numbers;
using TestParams::Number;
using TestParams::Texts;
namespace {

std::vector<std::string> Row(const GdlParam& table, Int32 r)
{
    std::vector<std::string> row;
    for (Int32 c = 0; c < table.dim2; ++c)
        row.push_back(GS::EncodeText(table.texts[static_cast<size_t>(r * table.dim2 + c)], CC_UTF8));
    return row;
}

TEST(ListBehaviourTest, BarScheduleWithATotalRow)
{
    ObjectPart list;
    list.params = {Texts("ironStringData", 2, 2, {u"1", u"B500B", u"2", u"B500A"}), Number("bDataInput", 1), Numbers("ironType", 2, 4, {0, 11, 2, 0, 0, 21, 1, 0}),
                   Numbers("ironListingData", 2, 5, {4, 0.012, 2.5, 10, 8.878, 1, 0.008, 1.25, 1.25, 0.4932})};
    ComputeListTable(list);
    const GdlParam* table = FindParam(list.params, "tableContentTexts");
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->dim1, 4);
    ASSERT_EQ(table->dim2, 8);
    ASSERT_EQ(table->texts.size(), 32u);
#if HOST_VERSION == 25
    EXPECT_EQ(Row(*table, 0)[0], "Oznaka");
    EXPECT_EQ(Row(*table, 3)[0], "Skupaj");
#else
    EXPECT_EQ(Row(*table, 0), (std::vector<std::string>{"Bar mark", "Grade", "Shape", "Diameter (mm)", "Length (m)", "Number",
                                                        "Total length (m)", "Mass (kg)"}));
    EXPECT_EQ(Row(*table, 3)[0], "Total");
#endif
    EXPECT_EQ(Row(*table, 1), (std::vector<std::string>{"1", "B500B", "11", "12", "2.50", "4", "10.00", "8.88"}));
    EXPECT_EQ(Row(*table, 2), (std::vector<std::string>{"2", "B500A", "21", "8", "1.25", "1", "1.25", "0.49"}));
    const std::vector<std::string> total = Row(*table, 3);
    EXPECT_EQ(std::vector<std::string>(total.begin() + 1, total.end()),
              (std::vector<std::string>{"", "", "", "", "5", "11.25", "9.37"}));
}

TEST(ListBehaviourTest, ShortDataArraysGiveZeros)
{
    ObjectPart list;
    // The handle ends early.
    list.params = {Texts("ironStringData", 2, 2, {u"1", u"B500B"}), Number("bDataInput", 1)};
    ComputeListTable(list);
    const GdlParam* table = FindParam(list.params, "tableContentTexts");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(Row(*table, 2), (std::vector<std::string>{"", "", "0", "0", "0.00", "0", "0.00", "0.00"}));
}

TEST(ListBehaviourTest, TableStaysUntilDataWereWritten)
{
    ObjectPart list;
    list.params = {Texts("tableContentTexts", 1, 1, {u"given"}), Number("bDataInput", 0)};
    ComputeListTable(list);
    EXPECT_EQ(FindParam(list.params, "tableContentTexts")->texts, std::vector<std::u16string>{u"given"});
}

}  // namespace
}  // namespace SimHost
