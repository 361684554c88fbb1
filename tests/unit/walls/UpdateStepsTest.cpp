// What the update reads that placing does not: the slant from the request
// text, and the plane an object's user data names.
#include "addon/walls/PolyRoofConverter.hpp"
#include "addon/walls/WallJson.hpp"
#include "platform/gs/Memory.hpp"
#include <cstring>
#include <gtest/gtest.h>
#include <optional>

namespace {

TEST(SlantFromRequestTest, OnlyANumericMemberOfAnObjectCounts)
{
    struct Case {
        const char* text;
        std::optional<double> slant;
    };
    for (const Case& c : {Case{R"({"internal":false,"slantalpha":1.25})", 1.25},
                          Case{R"({"slantalpha":"1.25"})", std::nullopt},
                          Case{R"({"slantangle":1.25})", std::nullopt},
                          Case{R"([1.25])", std::nullopt},
                          Case{R"({"slantalpha":1.25)", std::nullopt},
                          Case{R"({"slantalpha":1e999})", std::nullopt},
                          Case{"", std::nullopt}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(WallJson::ReadSlantAlpha(c.text), c.slant);
    }
}

TEST(PlaneUserDataTest, TheFirstTwelveBytesDecideWhateverTheVersion)
{
    const Int64 handles = GS::LiveMemoryHandleCount();
    const API_ElemPartId id{3, -1, 7};
    struct Case {
        std::vector<Int32> data;
        bool matches;
    };
    for (const Case& c : {Case{{3, -1, 7}, true}, Case{{3, -1, 7, 99}, true}, Case{{3, -1, 8}, false},
                          Case{{7, -1, 3}, false}, Case{{3, -1}, false}, Case{{}, false}}) {
        API_ElementUserData userData;
        std::memset(static_cast<void*>(&userData), 0, sizeof userData);
        userData.dataVersion = 9;  // neither version nor sign is compared
        userData.platformSign = 0x1234;
        const Int64 size = static_cast<Int64>(c.data.size() * sizeof(Int32));
        userData.dataHdl = BMhAllClear(size);
        if (size > 0)
            std::memcpy(*userData.dataHdl, c.data.data(), static_cast<size_t>(size));
        EXPECT_EQ(UserDataMatchesPlane(userData, id), c.matches) << c.data.size() << " integers";
        BMhKill(&userData.dataHdl);
    }
    API_ElementUserData none;
    std::memset(static_cast<void*>(&none), 0, sizeof none);
    EXPECT_FALSE(UserDataMatchesPlane(none, id));
    EXPECT_EQ(GS::LiveMemoryHandleCount(), handles);
}

}  // namespace
