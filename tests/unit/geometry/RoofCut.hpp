// The roof of the opening-cut tests: a 10 x 10 square with a half circle
// over its top edge as polygon data, and opening shapes by the first field
// of an opening's GUID.
#pragma once
#include "tests/unit/geometry/TestMemo.hpp"
#include "addon/geometry/MemoPolygon.hpp"
#include <map>

inline const std::vector<PolyArcRec> RoofArc = {{3, 4, GeometryTestSupport::Pi}};
inline const double RoofArea = 100 + GeometryTestSupport::Pi * 25 / 2;

inline API_Guid Opening(UInt32 id)
{
    API_Guid g = APINULLGuid;
    g.time_low = id;
    return g;
}

inline GS::Array<API_Guid> Openings(const std::vector<UInt32>& ids)
{
    GS::Array<API_Guid> openings;
    for (UInt32 id : ids)
        openings.Push(Opening(id));
    return openings;
}

inline Geometry::CorePolygon2D RectShape(double x0, double y0, double x1, double y1)
{
    return GeometryTestSupport::Polygon({GeometryTestSupport::Rect(x0, y0, x1, y1)});
}

// A test with polygon data that is released when it ends.
class PolygonDataTest : public NoLeakTest {
protected:
    void TearDown() override
    {
        Geometry::FreePolygon2DData(&pd);
        NoLeakTest::TearDown();
    }
    Geometry::Polygon2DData pd{};
};

class RoofCutTest : public PolygonDataTest {
protected:
    void SetUp() override
    {
        PolygonDataTest::SetUp();
        shapes[1] = RectShape(2, 2, 4, 4);      // inside
        shapes[2] = RectShape(20, 20, 30, 30);  // outside
        shapes[3] = RectShape(3, -1, 4, 20);    // splits, the right part larger
        shapes[4] = RectShape(-5, -5, 15, 25);  // covers everything
        shapes[5] = RectShape(8, -1, 11, 1);    // bites a corner
    }

    // The roof's polygon data, from `memo`.
    void LoadRoof(TestMemo& memo)
    {
        memo.SetPolygon({{{0, 0}, {10, 0}, {10, 10}, {0, 10}}}, RoofArc);
        ASSERT_EQ(MemoToPolygonData(memo.memo, pd), NoError);
    }

    // The cut polygon as the library sees it.
    Geometry::CorePolygon2D Result() const
    {
        Geometry::CustomMultiPolygon2D m;
        Geometry::ConvertPolygon2DDataToPolygon2D(m, pd);
        return m.IsEmpty() ? Geometry::CorePolygon2D() : m[0];
    }

    std::map<UInt32, Geometry::CorePolygon2D> shapes;
};
