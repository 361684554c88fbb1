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

// Many live handles killed out of order: the live ones keep their sizes and
// bytes and stay valid, the killed ones are no handles any more, whatever
// order the registry had to take them out in.
TEST_F(MemoryTest, ManyHandlesKilledOutOfOrder)
{
    std::vector<GSHandle> handles;
    for (int i = 0; i < 3000; ++i) {
        handles.push_back(BMhAll(i % 40));
        ASSERT_NE(handles.back(), nullptr);
        if (i % 40 > 0)
            (*handles.back())[0] = static_cast<char>(i % 100);
    }
    std::vector<GSHandle> killed;
    for (size_t step : {3u, 7u, 2u}) {
        for (size_t i = step - 1; i < handles.size(); i += step) {
            if (handles[i] != nullptr) {
                killed.push_back(handles[i]);
                BMhKill(&handles[i]);
            }
        }
    }
    EXPECT_EQ(GS::LiveMemoryHandleCount(), before + static_cast<Int64>(handles.size() - killed.size()));
    for (size_t i = 0; i < handles.size(); ++i) {
        if (handles[i] == nullptr)
            continue;
        ASSERT_TRUE(BMhIsValid(handles[i])) << i;
        EXPECT_EQ(BMhGetSize(handles[i]), static_cast<Int64>(i % 40)) << i;
        if (i % 40 > 0) {
            EXPECT_EQ((*handles[i])[0], static_cast<char>(i % 100)) << i;
        }
    }
    for (GSHandle h : killed) {
        EXPECT_FALSE(BMhIsValid(h));
    }
    EXPECT_TRUE(faults.empty());
    for (GSHandle& h : handles)
        BMhKill(&h);
}

// A resized block keeps its bytes, shrinking as growing, and grows again
// from its new size with zeros.
TEST_F(MemoryTest, ResizeKeepsTheBytes)
{
    GSHandle h = BMhAll(16);
    ASSERT_NE(h, nullptr);
    for (int i = 0; i < 16; ++i)
        (*h)[i] = static_cast<char>(i + 1);
    ASSERT_EQ(BMhReallocate(h, 6), h);
    EXPECT_EQ(BMhGetSize(h), 6);
    ASSERT_EQ(BMhReallocate(h, 4096), h);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ((*h)[i], static_cast<char>(i + 1)) << i;
    }
    for (int i = 6; i < 4096; ++i) {
        ASSERT_EQ((*h)[i], 0) << i;
    }
    BMhKill(&h);
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
