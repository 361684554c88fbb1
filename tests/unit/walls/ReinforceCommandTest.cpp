// Which walls the Wall command takes: upright, not profiled, and a curved
// wall's slant within 1e-4 of upright.
#include "addon/walls/ReinforceCommand.hpp"
#include <cstring>
#include <gtest/gtest.h>

namespace {

TEST(WallPlaneTest, VerticalWallsOnly)
{
    const double halfPi = 1.57079632679489661923;
    struct Case {
        Int32 structureKind, slantCode;
        double arcAngle, slant;
        bool accepted;
    };
    const Case cases[] = {
        {0, 0, 0, halfPi, true},
        {1, 0, 0, halfPi, true},
        {2, 0, 0, halfPi, false},
        {0, 1, 0, halfPi, false},
        {0, 2, 0, halfPi, false},
        {0, 0, 0.5, halfPi + 5e-5, true},
        {0, 0, 0.5, halfPi + 2e-4, false},
        {0, 0, 0.5, halfPi - 2e-4, false},
        // A straight wall's slant angle and a curved wall turning the other
        // way are not looked at.
        {0, 0, 0, 1.0, true},
        {0, 0, -0.5, 1.0, true},
    };
    for (const Case& c : cases) {
        API_WallType w;
        std::memset(static_cast<void*>(&w), 0, sizeof w);
        w.structureKind = c.structureKind;
        w.slantCode = c.slantCode;
        w.angle = c.arcAngle;
        w.slantAlpha = c.slant;
        EXPECT_EQ(WallPlaneIsVertical(w), c.accepted) << c.structureKind << " " << c.slantCode << " " << c.arcAngle << " "
                                                      << c.slant;
    }
}

}  // namespace
