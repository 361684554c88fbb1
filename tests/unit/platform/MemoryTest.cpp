#include "platform/gs/Memory.hpp"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class MemoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        before = GS::LiveMemoryHandleCount();
        GS::SetMemoryFaultHook([this](const std::string& f) { faults.push_back(f); });
    }
    void TearDown() override
    {
        GS::SetMemoryFaultHook(nullptr);
        GS::FailNthAllocation(0);
        EXPECT_EQ(GS::LiveMemoryHandleCount(), before);
    }
    Int64 before = 0;
    std::vector<std::string> faults;
};

TEST_F(MemoryTest, HandleLifecycleCountsAndZeroesGrownBytes)
{
    GSHandle h = BMhAllClear(4);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GS::LiveMemoryHandleCount(), before + 1);
    EXPECT_EQ(BMhGetSize(h), 4);
    (*h)[0] = 7;
    ASSERT_EQ(BMhReallocate(h, 64), h);
    EXPECT_EQ(BMhGetSize(h), 64);
    EXPECT_EQ((*h)[0], 7);
    for (int i = 4; i < 64; ++i)
        EXPECT_EQ((*h)[i], 0) << i;
    BMhKill(&h);
    EXPECT_EQ(h, nullptr);
    EXPECT_TRUE(faults.empty());
}

TEST_F(MemoryTest, MisuseIsReportedNotFatal)
{
    GSHandle h = BMhAll(8);
    GSHandle copy = h;
    BMhKill(&h);
    BMhKill(&copy);  // second kill of the same block
    EXPECT_EQ(faults.size(), 1u);
    EXPECT_EQ(BMhGetSize(copy), 0);  // copy was cleared by the kill
    GSHandle null = nullptr;
    BMhKill(&null);  // a null handle is allowed
    EXPECT_EQ(faults.size(), 1u);
    int local = 0;
    GS_free(&local);
    EXPECT_EQ(faults.size(), 2u);
}

TEST_F(MemoryTest, InjectedAllocationFailure)
{
    GS::FailNthAllocation(2);
    GSHandle a = BMhAll(8);
    GSHandle b = BMhAll(8);
    GSHandle c = BMhAll(8);
    EXPECT_NE(a, nullptr);
    EXPECT_EQ(b, nullptr);
    EXPECT_NE(c, nullptr);
    BMhKill(&a);
    BMhKill(&c);
}

}  // namespace
