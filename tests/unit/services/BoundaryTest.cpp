// The guard at the host boundary reports a failure without taking memory:
// with every allocation failing, a failing body still gives the caller's
// failure value and its line reaches the host's debug output.
#include "addon/services/Boundary.hpp"
#include "tests/unit/services/FailingNew.hpp"
#include <gtest/gtest.h>
#include <cstring>
#include <new>
#include <optional>
#include <stdexcept>

namespace {

char g_line[256];

struct NoMemory {
    NoMemory()
    {
        g_line[0] = '\0';
        GS::SetDebugOutputSink([](const char* line) {
            std::strncpy(g_line, line, sizeof g_line - 1);
            g_line[sizeof g_line - 1] = '\0';
        });
        failing.emplace();
    }
    ~NoMemory()
    {
        failing.reset();
        GS::SetDebugOutputSink(nullptr);
    }
    std::optional<FailingNew> failing;
};

TEST(BoundaryTest, ReportsFailuresWithoutMemory)
{
    // Made before memory runs out; thrown as copies, which take none.
    const std::runtime_error broken("index 7 out of range");
    struct Case {
        const char* where;
        void (*raise)(const std::runtime_error&);
        const char* line;
    } cases[] = {
        {"OutOfMemory", [](const std::runtime_error&) { throw std::bad_alloc(); },
         "[zolva] OutOfMemory failed: std::bad_alloc\n"},
        {"Broken", [](const std::runtime_error& e) { throw e; }, "[zolva] Broken failed: index 7 out of range\n"},
        {"Unknown", [](const std::runtime_error&) { throw 7; }, "[zolva] Unknown failed\n"},
    };
    for (const Case& c : cases) {
        int result = 0;
        {
            NoMemory noMemory;
            result = CallGuarded(c.where, -1, [&] {
                c.raise(broken);
                return 0;
            });
            CallGuarded(c.where, [&] { c.raise(broken); });
        }
        EXPECT_EQ(result, -1) << c.where;
        EXPECT_STREQ(g_line, c.line) << c.where;
    }
}

TEST(BoundaryTest, PassesTheBodysResult)
{
    NoMemory noMemory;
    EXPECT_EQ(CallGuarded("Fine", -1, [] { return 5; }), 5);
    EXPECT_STREQ(g_line, "");
}

}  // namespace
