// The wall face from the library's reply: every mapping of the face table,
// and replies that cannot be trusted.
#include "tests/unit/geometry/TestMemo.hpp"
#include "tests/unit/walls/FakeWallHost.hpp"
#include "tests/unit/walls/ScriptedWallLibrary.hpp"
#include "addon/walls/WallFacePolygon.hpp"
#include "addon/walls/WallGeometryJob.hpp"
#include <sstream>

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace WallFacePolygonTests {

using Points = std::vector<API_Coord>;

Points ToPoints(const GS::Array<API_Coord>& ring)
{
    Points p;
    for (UInt32 i = 0; i < ring.GetSize(); ++i)
        p.push_back(ring[i]);
    return p;
}

std::string Show(const Points& points)
{
    std::ostringstream s;
    for (const API_Coord& p : points)
        s << "(" << p.x << "," << p.y << ")";
    return s.str();
}

// A reply loop as JSON, closed by repeating its first point.
std::string Loop(const Points& points)
{
    std::ostringstream s;
    s << "[";
    for (size_t i = 0; i <= points.size(); ++i) {
        const API_Coord& p = points[i % points.size()];
        s << (i ? "," : "") << "{\"x\":" << p.x << ",\"z\":" << p.y << "}";
    }
    s << "]";
    return s.str();
}

std::string Polygon(const std::vector<std::string>& loops, const char* outerIndex = "0")
{
    std::string s = "{\"loops\":[";
    for (size_t i = 0; i < loops.size(); ++i)
        s += (i ? "," : "") + loops[i];
    return s + "],\"outerIndex\":" + outerIndex + "}";
}

std::string Reply(const std::vector<std::string>& polygons)
{
    std::string s = "{\"polygons\":[";
    for (size_t i = 0; i < polygons.size(); ++i)
        s += (i ? "," : "") + polygons[i];
    return s + "]}";
}

const Points Rect = {{0, 0}, {4, 0}, {4, 3}, {0, 3}};
const Points Shifted = {{2, 1}, {6, 1}, {6, 4}, {2, 4}};
const Points Window = {{1, 1}, {2, 1}, {2, 2}, {1, 2}};
const Points CurvedWindow = {{3, 2}, {4, 2}, {4, 3}, {3, 3}};
const Points WithMidpoint = {{2, 1}, {4, 1}, {6, 1}, {6, 4}, {2, 4}};

constexpr double Straight = 0;
constexpr double Curved = 0.5;

class WallFacePolygonTest : public NoLeakTest {
protected:
    // The face of `reply` for a wall from (0,0) to (4,0).
    SegmentedPolygon Face(const std::string& reply, bool same, double arc, bool flipped)
    {
        library.Reply(reply);
        SegmentedPolygon out;
        GetWallFacePolygon("{\"wall\":1}", same, out, BeginWallGeometryJob(), arc, {0, 0}, {4, 0}, flipped);
        library.ExpectJobsEndedOnce(1);
        return out;
    }

    ScriptedWallLibrary library;
};

TEST_F(WallFacePolygonTest, FaceTable)
{
    struct Case {
        const char* name;
        std::string reply;
        bool same;
        double arc;
        bool flipped;
        Points contour;
        std::vector<Points> holes;
    } cases[] = {
        {"straight, same direction", Reply({Polygon({Loop(Rect)})}), true, Straight, false,
         {{0, 0}, {0, 3}, {-4, 3}, {-4, 0}}, {}},
        {"straight, other direction", Reply({Polygon({Loop(Rect)})}), false, Straight, false,
         {{4, 0}, {8, 0}, {8, 3}, {4, 3}}, {}},
        {"straight, other direction, flipped", Reply({Polygon({Loop(Rect)})}), false, Straight, true,
         {{4, 0}, {0, 0}, {0, 3}, {4, 3}}, {}},
        {"straight, same direction, flipped", Reply({Polygon({Loop(Rect)})}), true, Straight, true,
         {{0, 0}, {0, 3}, {4, 3}, {4, 0}}, {}},
        {"straight with a hole", Reply({Polygon({Loop(Rect), Loop(Window)})}), true, Straight, false,
         {{0, 0}, {0, 3}, {-4, 3}, {-4, 0}}, {{{-1, 1}, {-2, 1}, {-2, 2}, {-1, 2}}}},
        {"straight with a hole, other direction", Reply({Polygon({Loop(Rect), Loop(Window)})}), false, Straight, false,
         {{4, 0}, {8, 0}, {8, 3}, {4, 3}}, {{{5, 1}, {5, 2}, {6, 2}, {6, 1}}}},
        {"curved, same direction", Reply({Polygon({Loop(Shifted), Loop(CurvedWindow)})}), true, Curved, false,
         {{0, 3}, {4, 3}, {4, 0}, {0, 0}}, {{{1, 1}, {2, 1}, {2, 2}, {1, 2}}}},
        {"curved, other direction", Reply({Polygon({Loop(Shifted), Loop(CurvedWindow)})}), false, Curved, false,
         {{0, 0}, {0, 3}, {4, 3}, {4, 0}}, {{{3, 1}, {3, 2}, {2, 2}, {2, 1}}}},
        {"curved drops a point in line", Reply({Polygon({Loop(WithMidpoint)})}), true, Curved, false,
         {{0, 3}, {4, 3}, {4, 0}, {0, 0}}, {}},
        {"straight keeps a point in line", Reply({Polygon({Loop(WithMidpoint)})}), true, Straight, false,
         {{-2, 1}, {-2, 4}, {-6, 4}, {-6, 1}, {-4, 1}}, {}},
        {"outer index 1", Reply({Polygon({Loop(Window), Loop(Rect)}, "1")}), true, Straight, false,
         {{0, 0}, {0, 3}, {-4, 3}, {-4, 0}}, {{{-1, 1}, {-2, 1}, {-2, 2}, {-1, 2}}}},
        {"outer index 0.5: every loop a hole", Reply({Polygon({Loop(Rect), Loop(Window)}, "0.5")}), true, Straight,
         false, {}, {{{0, 0}, {-4, 0}, {-4, 3}, {0, 3}}, {{-1, 1}, {-2, 1}, {-2, 2}, {-1, 2}}}},
        {"several polygons give one contour",
         Reply({Polygon({Loop({{0, 0}, {1, 0}, {1, 3}, {0, 3}})}), Polygon({Loop({{2, 0}, {4, 0}, {4, 3}, {2, 3}}), Loop(Window)})}),
         true, Straight, false, {{0, 0}, {0, 3}, {-1, 3}, {-1, 0}, {-2, 0}, {-2, 3}, {-4, 3}, {-4, 0}},
         {{{-1, 1}, {-2, 1}, {-2, 2}, {-1, 2}}}},
        {"no polygons", Reply({}), true, Straight, false, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SegmentedPolygon out = Face(c.reply, c.same, c.arc, c.flipped);
        EXPECT_EQ(ToPoints(out.contour), c.contour) << Show(ToPoints(out.contour));
        ASSERT_EQ(out.holes.GetSize(), c.holes.size());
        for (UInt32 r = 0; r < out.holes.GetSize(); ++r)
            EXPECT_EQ(ToPoints(out.holes[r]), c.holes[r]) << Show(ToPoints(out.holes[r]));
    }
}

// Where the format leaves the choice: loops too short to be rings, and a
// curved wall with no outer loop.
TEST_F(WallFacePolygonTest, DegenerateLoops)
{
    struct Case {
        const char* name;
        std::string reply;
        bool same;
        double arc;
        Points contour;
        std::vector<Points> holes;
    } cases[] = {
        {"an empty outer loop gives no points", Reply({Polygon({"[]", Loop(Window)})}), true, Straight, {},
         {{{-1, 1}, {-2, 1}, {-2, 2}, {-1, 2}}}},
        {"a hole of one point is left out", Reply({Polygon({Loop(Rect), "[{\"x\":1,\"z\":1}]"})}), true, Straight,
         {{0, 0}, {0, 3}, {-4, 3}, {-4, 0}}, {}},
        {"a hole of two points keeps one", Reply({Polygon({Loop(Rect), "[{\"x\":1,\"z\":1},{\"x\":1,\"z\":1}]"})}),
         true, Straight, {{0, 0}, {0, 3}, {-4, 3}, {-4, 0}}, {{{-1, 1}}}},
        {"curved, no outer loop: holes stay", Reply({Polygon({Loop(Window)}, "3")}), true, Curved, {},
         {{{1, 1}, {2, 1}, {2, 2}, {1, 2}}}},
        {"curved, no outer loop, other direction: mirrored about 0", Reply({Polygon({Loop(Window)}, "3")}), false,
         Curved, {}, {{{-1, 1}, {-1, 2}, {-2, 2}, {-2, 1}}}},
        {"curved, a contour of two points", Reply({Polygon({"[{\"x\":0,\"z\":0},{\"x\":1,\"z\":0},{\"x\":0,\"z\":0}]"})}),
         true, Curved, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SegmentedPolygon out = Face(c.reply, c.same, c.arc, false);
        EXPECT_EQ(ToPoints(out.contour), c.contour) << Show(ToPoints(out.contour));
        ASSERT_EQ(out.holes.GetSize(), c.holes.size());
        for (UInt32 r = 0; r < out.holes.GetSize(); ++r)
            EXPECT_EQ(ToPoints(out.holes[r]), c.holes[r]) << Show(ToPoints(out.holes[r]));
    }
}

// Whatever the library answers, the polygon is left as it was, nothing
// leaks, and the job ends once.
TEST_F(WallFacePolygonTest, UntrustedRepliesLeaveThePolygonAlone)
{
    const std::string good = Reply({Polygon({Loop(Rect)})});
    std::string deep;
    for (int i = 0; i < 300000; ++i)
        deep += "{\"a\":";
    struct Case {
        const char* name;
        std::string reply;
        const char* announced;
    } cases[] = {
        {"a negative length", good, "-5"},
        {"no length", good, "0"},
        {"a length beyond any reply", good, "2147483647"},
        {"a length one byte beyond the longest reply taken", good, "67108865"},
        {"a reply cut short of its length", good.substr(0, 20), "1000"},
        {"a length shorter than the reply", good, "20"},
        {"an empty text", "", "8"},
        {"not JSON", "polygons", nullptr},
        {"no polygons", "{}", nullptr},
        {"polygons of another type", "{\"polygons\":{}}", nullptr},
        {"a polygon that is not an object", "{\"polygons\":[1]}", nullptr},
        {"no outer index", "{\"polygons\":[{\"loops\":[]}]}", nullptr},
        {"an outer index of text", Reply({Polygon({Loop(Rect)}, "\"0\"")}), nullptr},
        {"a loop that is not an array", Reply({Polygon({"{}"})}), nullptr},
        {"a point without z", Reply({Polygon({"[{\"x\":1}]"})}), nullptr},
        {"a coordinate of text", Reply({Polygon({"[{\"x\":\"1\",\"z\":1}]"})}), nullptr},
        {"text after the value", good + "{}", nullptr},
        {"a number beyond the double range", Reply({Polygon({"[{\"x\":1e400,\"z\":1}]"})}), nullptr},
        {"deep nesting", deep, nullptr},
        {"a top level of another type", "[" + good + "]", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        library.Reply(c.reply);
        library.AnnounceLength(c.announced);
        SegmentedPolygon out;
        out.contour.Push({9, 9});
        GS::Array<API_Coord> hole;
        hole.Push({8, 8});
        out.PushHoleFromContour(hole);
        GetWallFacePolygon("{}", true, out, BeginWallGeometryJob(), Straight, {0, 0}, {4, 0}, false);
        library.ExpectJobsEndedOnce(1);
        EXPECT_EQ(ToPoints(out.contour), (Points{{9, 9}}));
        ASSERT_EQ(out.holes.GetSize(), 1u);
        EXPECT_EQ(ToPoints(out.holes[0]), (Points{{8, 8}}));
    }
    // No memory for the reply.
    library.Reply(good);
    library.AnnounceLength(nullptr);
    SegmentedPolygon none;
    GS::FailNthAllocation(1);
    GetWallFacePolygon("{}", true, none, BeginWallGeometryJob(), Straight, {0, 0}, {4, 0}, false);
    GS::FailNthAllocation(0);
    library.ExpectJobsEndedOnce(1);
    EXPECT_EQ(none.contour.GetSize(), 0u);

    // White space around the value is no fault, nor a length announced
    // beyond a reply that ends in its zero bytes, up to the longest reply
    // taken (64 MiB).
    for (const char* announced : {static_cast<const char*>(nullptr), "4000", "67108864"}) {
        SCOPED_TRACE(announced == nullptr ? "the reply's own length" : announced);
        library.Reply(" " + good + "\n");
        library.AnnounceLength(announced);
        SegmentedPolygon out;
        GetWallFacePolygon("{}", true, out, BeginWallGeometryJob(), Straight, {0, 0}, {4, 0}, false);
        library.ExpectJobsEndedOnce(1);
        EXPECT_EQ(out.contour.GetSize(), 4u);
    }
}

// The sender: the description marked internal goes to the library in a job
// that ends once; the library sees the request in both calls.
TEST_F(WallFacePolygonTest, SenderMarksTheRequestInternal)
{
    FakeWallHost host;
    FakeElement& e = host.Add(1, API_WallID);
    e.element.wall.endC = {4, 0};
    e.element.wall.thickness = 0.25;
    e.body.vertices = {{0, 0, 0}};
    library.Reply(Reply({Polygon({Loop(Rect)})}));
    SegmentedPolygon out;
    const WallFaceFrame frame{true, 0, {0, 0}, {4, 0}, false};
    EXPECT_TRUE(RequestWallFacePolygon(FakeGuid(1), 0.1, 0.6, frame, out));
    library.ExpectJobsEndedOnce(1);
    EXPECT_EQ(out.contour.GetSize(), 4u);
    const std::string requests = library.Requests();
    const std::string request = requests.substr(0, requests.find('\n'));
    EXPECT_EQ(requests, request + "\n" + request + "\n");
    EXPECT_NE(request.find("\"height\":0,\"internal\":false,\"normals\":[]"), std::string::npos) << request;
    EXPECT_NE(request.find("\"startdepth\":0.10000000000000001"), std::string::npos) << request;
}

}  // namespace WallFacePolygonTests
