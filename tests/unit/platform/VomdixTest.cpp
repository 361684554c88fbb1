// The wall-geometry library: the face outline it computes from a wall
// description, its job handles, the two-call protocol and its exports;
// and its scripted stand-in.
#include "platform/gs/MathConstants.hpp"
#include "platform/vomdix/JobLedger.hpp"
#include "platform/vomdix/VOMDIX.hpp"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <picojson.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using GS::Pi;

struct P3 {
    double x, y, z;
};
using Ring3 = std::vector<P3>;
// A face: its outline and its holes, each a ring of corners.
using Face = std::vector<Ring3>;

// A wall description as the add-on writes it, with the body given as faces:
// vertices and edges are shared between faces, each face lists its rings'
// signed edges with 0 between rings.
class Description {
public:
    void Add(const std::vector<Face>& faces)
    {
        for (const Face& face : faces) {
            std::vector<int> entries;
            for (const Ring3& ring : face) {
                if (!entries.empty())
                    entries.push_back(0);
                for (size_t i = 0; i < ring.size(); ++i)
                    entries.push_back(Edge(Vertex(ring[i]), Vertex(ring[(i + 1) % ring.size()])));
            }
            polygons.push_back(entries);
        }
    }

    std::string Text(double startdepth, bool flipped, P3 begin, P3 end, double angle, const P3* origo = nullptr) const
    {
        picojson::object doc;
        picojson::array vs, es, ps, ns;
        for (const P3& v : vertices) {
            picojson::object o;
            o["x"] = picojson::value(v.x);
            o["y"] = picojson::value(v.y);
            o["z"] = picojson::value(v.z);
            vs.emplace_back(o);
        }
        for (const auto& e : edges) {
            picojson::object o;
            o["vert1"] = picojson::value(static_cast<double>(e.first + 1));
            o["vert2"] = picojson::value(static_cast<double>(e.second + 1));
            es.emplace_back(o);
        }
        for (const auto& p : polygons) {
            picojson::array a;
            for (int k : p)
                a.emplace_back(static_cast<double>(k));
            ps.emplace_back(a);
            picojson::object n;  // the library does not need the normals
            n["x"] = picojson::value(1.0);
            n["y"] = picojson::value(0.0);
            n["z"] = picojson::value(0.0);
            ns.emplace_back(n);
        }
        auto pt = [](P3 p) {
            picojson::object o;
            o["x"] = picojson::value(p.x);
            o["y"] = picojson::value(p.y);
            return picojson::value(o);
        };
        picojson::object refline;
        refline["start"] = pt(begin);
        refline["end"] = pt(end);
        doc["angle"] = picojson::value(angle);
        doc["composites"] = picojson::value(picojson::array());
        doc["edges"] = picojson::value(es);
        doc["enddepth"] = picojson::value(startdepth + 0.5);
        doc["flipped"] = picojson::value(flipped);
        doc["height"] = picojson::value(3.0);
        doc["internal"] = picojson::value(false);
        doc["normals"] = picojson::value(ns);
        doc["offsetfromoutside"] = picojson::value(0.0);
        if (origo != nullptr)
            doc["origo"] = pt(*origo);
        doc["polygon2d"] = picojson::value(picojson::array());
        doc["polygons"] = picojson::value(ps);
        doc["refline"] = picojson::value(refline);
        doc["slantalpha"] = picojson::value(Pi / 2);
        doc["slantbeta"] = picojson::value(Pi / 2);
        doc["startdepth"] = picojson::value(startdepth);
        doc["thickness"] = picojson::value(0.3);
        doc["vertices"] = picojson::value(vs);
        doc["walltype"] = picojson::value(origo != nullptr ? 3.0 : 0.0);
        return picojson::value(doc).serialize();
    }

private:
    int Vertex(const P3& p)
    {
        for (size_t i = 0; i < vertices.size(); ++i)
            if (vertices[i].x == p.x && vertices[i].y == p.y && vertices[i].z == p.z)
                return static_cast<int>(i);
        vertices.push_back(p);
        return static_cast<int>(vertices.size()) - 1;
    }
    // The signed 1-based edge index of a -> b.
    int Edge(int a, int b)
    {
        for (size_t i = 0; i < edges.size(); ++i) {
            if (edges[i] == std::make_pair(a, b))
                return static_cast<int>(i) + 1;
            if (edges[i] == std::make_pair(b, a))
                return -static_cast<int>(i) - 1;
        }
        edges.emplace_back(a, b);
        return static_cast<int>(edges.size());
    }

    std::vector<P3> vertices;
    std::vector<std::pair<int, int>> edges;
    std::vector<std::vector<int>> polygons;
};

// Box faces from two corners, with an optional opening straight through
// between y0 and y1 (x from ox0 to ox1, z from oz0 to oz1).
std::vector<Face> Box(P3 a, P3 b, const double* opening = nullptr)
{
    auto rect = [](P3 p, P3 q, P3 r, P3 s) { return Ring3{p, q, r, s}; };
    const double x0 = a.x, y0 = a.y, z0 = a.z, x1 = b.x, y1 = b.y, z1 = b.z;
    std::vector<Face> faces = {
        {rect({x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0})},  // bottom
        {rect({x0, y0, z1}, {x0, y1, z1}, {x1, y1, z1}, {x1, y0, z1})},  // top
        {rect({x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1})},  // begin end
        {rect({x1, y0, z0}, {x1, y0, z1}, {x1, y1, z1}, {x1, y1, z0})},  // far end
    };
    Face front = {rect({x0, y0, z0}, {x0, y0, z1}, {x1, y0, z1}, {x1, y0, z0})};
    Face back = {rect({x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1})};
    if (opening != nullptr) {
        const double ox0 = opening[0], ox1 = opening[1], oz0 = opening[2], oz1 = opening[3];
        front.push_back(rect({ox0, y0, oz0}, {ox1, y0, oz0}, {ox1, y0, oz1}, {ox0, y0, oz1}));
        back.push_back(rect({ox0, y1, oz0}, {ox0, y1, oz1}, {ox1, y1, oz1}, {ox1, y1, oz0}));
        faces.push_back({rect({ox0, y0, oz0}, {ox0, y1, oz0}, {ox1, y1, oz0}, {ox1, y0, oz0})});  // sill
        faces.push_back({rect({ox0, y0, oz1}, {ox1, y0, oz1}, {ox1, y1, oz1}, {ox0, y1, oz1})});  // head
        faces.push_back({rect({ox0, y0, oz0}, {ox0, y0, oz1}, {ox0, y1, oz1}, {ox0, y1, oz0})});  // jambs
        faces.push_back({rect({ox1, y0, oz0}, {ox1, y1, oz0}, {ox1, y1, oz1}, {ox1, y0, oz1})});
    }
    faces.push_back(front);
    faces.push_back(back);
    return faces;
}

// Asks the library through its three functions; the job is ended.
std::string Ask(const std::string& request)
{
    int job = 0;
    EXPECT_EQ(VOMDIX_BeginJob(&job), VOMDIX_Ok);
    int length = -7;
    EXPECT_EQ(VOMDIX_GetWallPolygon(job, request.c_str(), nullptr, &length), VOMDIX_Ok);
    std::string reply;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1, 0);
        EXPECT_EQ(VOMDIX_GetWallPolygon(job, request.c_str(), buffer.data(), &length), VOMDIX_Ok);
        reply.assign(buffer.data());
    }
    EXPECT_EQ(VOMDIX_EndJob(job), VOMDIX_Ok);
    return reply;
}

// The reply's loops as (x, z) lists, per polygon.
using Loops = std::vector<std::vector<std::pair<double, double>>>;
std::vector<Loops> ReplyLoops(const std::string& reply)
{
    picojson::value v;
    EXPECT_EQ(picojson::parse(v, reply), "");
    std::vector<Loops> result;
    for (const picojson::value& p : v.get("polygons").get<picojson::array>()) {
        EXPECT_EQ(p.get("outerIndex").get<double>(), 0);
        Loops loops;
        for (const picojson::value& l : p.get("loops").get<picojson::array>()) {
            loops.emplace_back();
            for (const picojson::value& pt : l.get<picojson::array>())
                loops.back().emplace_back(pt.get("x").get<double>(), pt.get("z").get<double>());
        }
        result.push_back(loops);
    }
    return result;
}

class VomdixTest : public ::testing::Test {
protected:
    void SetUp() override { VOMDIX::ResetJobCounts(); }
    void TearDown() override
    {
        const VOMDIX::JobCounts c = VOMDIX::GetJobCounts();
        EXPECT_EQ(c.open, 0);
    }
};

// ------------------------------------------------------------ the face

// A straight wall of 4 x 3, 0.3 thick, with a window of 1 x 1 at 1.5 along
// and 1 high. Not flipped, the body lies to the right of the reference line
// (0,0) -> (4,0) and x runs toward -4; flipped, to its left and toward +4.
const double Window[] = {1.5, 2.5, 1, 2};

TEST_F(VomdixTest, StraightWallWithAWindow)
{
    struct Case {
        const char* name;
        bool flipped;
        const char* reply;
    } cases[] = {
        {"not flipped", false,
         R"({"polygons":[{"loops":[[{"x":0,"z":0},{"x":0,"z":3},{"x":-4,"z":3},{"x":-4,"z":0},{"x":0,"z":0}],)"
         R"([{"x":-1.5,"z":1},{"x":-2.5,"z":1},{"x":-2.5,"z":2},{"x":-1.5,"z":2},{"x":-1.5,"z":1}]],"outerIndex":0}]})"},
        {"flipped", true,
         R"({"polygons":[{"loops":[[{"x":0,"z":0},{"x":4,"z":0},{"x":4,"z":3},{"x":0,"z":3},{"x":0,"z":0}],)"
         R"([{"x":1.5,"z":1},{"x":1.5,"z":2},{"x":2.5,"z":2},{"x":2.5,"z":1},{"x":1.5,"z":1}]],"outerIndex":0}]})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Description d;
        const double y0 = c.flipped ? 0.3 : -0.3;
        d.Add(Box({0, std::min(0.0, y0), 0}, {4, std::max(0.0, y0), 3}, Window));
        EXPECT_EQ(Ask(d.Text(0.1, c.flipped, {0, 0, 0}, {4, 0, 0}, 0)), c.reply);
    }
}

// The depth runs from the outside face (the reference line's side here);
// a niche 0.1 deep from that face is a hole only for a layer within it, and
// a depth beyond the body is taken just inside its far face.
TEST_F(VomdixTest, DepthDecidesWhichOpeningsAreHoles)
{
    // The body as two boxes: the niche's depth and the rest, sharing the
    // plane y = -0.1; the niche cuts through the first one only.
    Description d;
    d.Add(Box({0, -0.1, 0}, {4, 0, 3}, Window));
    d.Add(Box({0, -0.3, 0}, {4, -0.1, 3}));
    struct Case {
        double depth;
        size_t loops;  // 2: the outline and the niche
    } cases[] = {{0.05, 2}, {0.2, 1}, {5.0, 1}, {-1.0, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth);
        const std::vector<Loops> faces = ReplyLoops(Ask(d.Text(c.depth, false, {0, 0, 0}, {4, 0, 0}, 0)));
        // Two boxes touching along a plane: at a depth within either one
        // the section meets only that box.
        ASSERT_EQ(faces.size(), 1u);
        EXPECT_EQ(faces[0].size(), c.loops);
    }
}

// An opening from the floor to the top parts the face in two polygons,
// given in the order they come along the wall.
TEST_F(VomdixTest, AFaceCutInTwoGivesTwoPolygons)
{
    Description d;
    d.Add(Box({0, -0.3, 0}, {1.5, 0, 3}));
    d.Add(Box({2.5, -0.3, 0}, {4, 0, 3}));
    const std::vector<Loops> faces = ReplyLoops(Ask(d.Text(0.1, false, {0, 0, 0}, {4, 0, 0}, 0)));
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(faces[0], (Loops{{{0, 0}, {0, 3}, {-1.5, 3}, {-1.5, 0}, {0, 0}}}));
    EXPECT_EQ(faces[1], (Loops{{{-2.5, 0}, {-2.5, 3}, {-4, 3}, {-4, 0}, {-2.5, 0}}}));
}

// A quarter circle of radius 5 about the origin, counter-clockwise from
// (5, 0) to (0, 5), body between radius 5 and 5.3 in 8 facets, with a window
// from 1 to 2 high through the middle half of the fourth facet: the face of
// a layer 0.1 inside is unrolled at radius 5.1.
TEST_F(VomdixTest, CurvedWallIsUnrolled)
{
    const int parts = 8;
    auto at = [](double r, double a, double z) { return P3{r * std::cos(a), r * std::sin(a), z}; };
    // A point of the window's side at t along the facet's chord, at radius
    // factor r / 5: the jambs run radially.
    const double w0 = Pi / 2 * 3 / parts, w1 = Pi / 2 * 4 / parts;
    auto chord = [&](double r, double t, double z) {
        const P3 a = at(r, w0, z), b = at(r, w1, z);
        return P3{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), z};
    };
    std::vector<Face> faces;
    Ring3 bottom, top;
    for (int i = 0; i < parts; ++i) {
        const double a0 = Pi / 2 * i / parts, a1 = Pi / 2 * (i + 1) / parts;
        Face inner = {{at(5, a0, 0), at(5, a1, 0), at(5, a1, 3), at(5, a0, 3)}};
        Face outer = {{at(5.3, a0, 0), at(5.3, a0, 3), at(5.3, a1, 3), at(5.3, a1, 0)}};
        if (i == 3) {
            inner.push_back({chord(5, 0.25, 1), chord(5, 0.75, 1), chord(5, 0.75, 2), chord(5, 0.25, 2)});
            outer.push_back({chord(5.3, 0.25, 1), chord(5.3, 0.25, 2), chord(5.3, 0.75, 2), chord(5.3, 0.75, 1)});
            for (double z : {1.0, 2.0})
                faces.push_back({{chord(5, 0.25, z), chord(5, 0.75, z), chord(5.3, 0.75, z), chord(5.3, 0.25, z)}});
            for (double t : {0.25, 0.75})
                faces.push_back({{chord(5, t, 1), chord(5, t, 2), chord(5.3, t, 2), chord(5.3, t, 1)}});
        }
        faces.push_back(inner);
        faces.push_back(outer);
    }
    for (int i = 0; i <= parts; ++i) {
        bottom.push_back(at(5, Pi / 2 * i / parts, 0));
        top.push_back(at(5.3, Pi / 2 * i / parts, 3));
    }
    for (int i = parts; i >= 0; --i) {
        bottom.push_back(at(5.3, Pi / 2 * i / parts, 0));
        top.push_back(at(5, Pi / 2 * i / parts, 3));
    }
    faces.push_back({bottom});
    faces.push_back({top});
    faces.push_back({{at(5, 0, 0), at(5, 0, 3), at(5.3, 0, 3), at(5.3, 0, 0)}});
    faces.push_back({{at(5, Pi / 2, 0), at(5.3, Pi / 2, 0), at(5.3, Pi / 2, 3), at(5, Pi / 2, 3)}});
    Description d;
    d.Add(faces);
    const P3 centre{0, 0, 0};
    const double length = 5.1 * Pi / 2;
    auto unrolled = [&](double t) {
        const P3 p = chord(5, t, 0);
        return 5.1 * std::atan2(p.y, p.x);
    };
    const double nearX = unrolled(0.25), farX = unrolled(0.75);
    using Ring = std::vector<std::pair<double, double>>;
    // The depth runs from the right-hand face, flipped or not: the outer
    // face (5.3) of the arc run counter-clockwise from (5,0), the inner one
    // (5.0) of the same arc run clockwise from (0,5). x runs along the wall
    // from its begin either way.
    struct Case {
        const char* name;
        bool flipped;
        bool clockwise;
        double depth;
        double nearX, farX;
    } cases[] = {
        {"counter-clockwise", false, false, 0.2, nearX, farX},
        {"counter-clockwise, flipped", true, false, 0.2, nearX, farX},
        {"clockwise", false, true, 0.1, length - farX, length - nearX},
        {"clockwise, flipped", true, true, 0.1, length - farX, length - nearX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Loops> reply = ReplyLoops(Ask(c.clockwise ? d.Text(c.depth, c.flipped, {0, 5, 0}, {5, 0, 0}, -Pi / 2, &centre)
                                                                    : d.Text(c.depth, c.flipped, {5, 0, 0}, {0, 5, 0}, Pi / 2, &centre)));
        const Loops expected = {Ring{{0, 0}, {length, 0}, {length, 3}, {0, 3}, {0, 0}},
                                Ring{{c.nearX, 1}, {c.nearX, 2}, {c.farX, 2}, {c.farX, 1}, {c.nearX, 1}}};
        ASSERT_EQ(reply.size(), 1u);
        ASSERT_EQ(reply[0].size(), expected.size());
        for (size_t r = 0; r < expected.size(); ++r) {
            ASSERT_EQ(reply[0][r].size(), expected[r].size()) << r;
            for (size_t i = 0; i < expected[r].size(); ++i) {
                EXPECT_NEAR(reply[0][r][i].first, expected[r][i].first, 1e-8) << r << " " << i;
                EXPECT_NEAR(reply[0][r][i].second, expected[r][i].second, 1e-8) << r << " " << i;
            }
        }
    }
}

// Descriptions the library cannot use answer no text at all.
TEST_F(VomdixTest, UnusableDescriptionsGiveNoReply)
{
    Description d;
    d.Add(Box({0, -0.3, 0}, {4, 0, 3}));
    const std::string good = d.Text(0.1, false, {0, 0, 0}, {4, 0, 0}, 0);
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string s = good;
        const size_t at = s.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? s : s.replace(at, from.size(), to);
    };
    const std::string cases[] = {
        "",
        "{}",
        "[1,2]",
        good + "x",
        std::string(100000, '[') + std::string(100000, ']'),
        replaced("\"vert1\":1", "\"vert1\":99"),
        replaced("\"vert1\":1", "\"vert1\":1.5"),
        replaced("\"flipped\":false", "\"flipped\":0"),
        replaced("\"startdepth\":0.1", "\"startdepth\":\"0.1\""),
        replaced("\"startdepth\":0.1", "\"startdepth\":1e400"),
        replaced("\"enddepth\":", "\"enddepth\":null,\"later\":"),
        replaced("\"end\":{\"x\":4,\"y\":0}", "\"end\":{\"x\":0,\"y\":0}"),
    };
    for (const std::string& request : cases) {
        SCOPED_TRACE(request.substr(0, 80));
        EXPECT_EQ(Ask(request), "");
    }
}

// ------------------------------------------------------------ jobs

TEST_F(VomdixTest, JobsAreCountedAndEndedOnce)
{
    int a = 0, b = 0;
    ASSERT_EQ(VOMDIX_BeginJob(&a), VOMDIX_Ok);
    ASSERT_EQ(VOMDIX_BeginJob(&b), VOMDIX_Ok);
    EXPECT_NE(a, b);
    EXPECT_EQ(VOMDIX_BeginJob(nullptr), VOMDIX_BadArguments);
    EXPECT_EQ(VOMDIX_EndJob(a), VOMDIX_Ok);
    EXPECT_EQ(VOMDIX_EndJob(a), VOMDIX_UnknownJob);
    EXPECT_EQ(VOMDIX_EndJob(123456789), VOMDIX_UnknownJob);
    VOMDIX::JobCounts c = VOMDIX::GetJobCounts();
    EXPECT_EQ(c.begun, 2);
    EXPECT_EQ(c.ended, 1);
    EXPECT_EQ(c.endedTwice, 1);
    EXPECT_EQ(c.endedUnknown, 1);
    EXPECT_EQ(c.open, 1);

    // An ended or unknown job answers no length.
    int length = 5;
    EXPECT_EQ(VOMDIX_GetWallPolygon(a, "{}", nullptr, &length), VOMDIX_UnknownJob);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(VOMDIX_GetWallPolygon(b, nullptr, nullptr, &length), VOMDIX_BadArguments);
    EXPECT_EQ(VOMDIX_GetWallPolygon(b, "{}", nullptr, nullptr), VOMDIX_BadArguments);
    EXPECT_EQ(VOMDIX_EndJob(b), VOMDIX_Ok);
    c = VOMDIX::GetJobCounts();
    EXPECT_EQ(c.ended, 2);
    EXPECT_EQ(c.open, 0);
}

// The fetch writes no more than the length it is given.
TEST_F(VomdixTest, FetchKeepsToTheGivenLength)
{
    Description d;
    d.Add(Box({0, -0.3, 0}, {4, 0, 3}));
    const std::string request = d.Text(0.1, false, {0, 0, 0}, {4, 0, 0}, 0);
    int job = 0;
    VOMDIX_BeginJob(&job);
    int length = 0;
    ASSERT_EQ(VOMDIX_GetWallPolygon(job, request.c_str(), nullptr, &length), VOMDIX_Ok);
    ASSERT_GT(length, 10);
    std::vector<char> buffer(static_cast<size_t>(length), '#');
    int shorter = 10;
    EXPECT_EQ(VOMDIX_GetWallPolygon(job, request.c_str(), buffer.data(), &shorter), VOMDIX_Ok);
    EXPECT_EQ(std::string(buffer.data(), 10), "{\"polygons");
    EXPECT_EQ(buffer[10], '#');
    VOMDIX_EndJob(job);
}

// ------------------------------------------------------------ exports and the scripted library

using BeginFn = int (*)(int*);
using PolygonFn = int (*)(int, const char*, char*, int*);
using EndFn = int (*)(int);

std::string TempPath(const char* name) { return std::string("/tmp/vomdix_test_") + std::to_string(getpid()) + "_" + name; }

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(VomdixTest, ScriptedLibraryAnswersFromItsFiles)
{
    void* lib = dlopen(VOMDIX_SCRIPTED_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    auto begin = reinterpret_cast<BeginFn>(dlsym(lib, "VOMDIX_BeginJob"));
    auto polygon = reinterpret_cast<PolygonFn>(dlsym(lib, "VOMDIX_GetWallPolygon"));
    auto end = reinterpret_cast<EndFn>(dlsym(lib, "VOMDIX_EndJob"));
    ASSERT_TRUE(begin && polygon && end);

    const std::string replyFile = TempPath("reply"), logFile = TempPath("log");
    WriteFile(replyFile, "{\"polygons\":[]}");
    std::remove(logFile.c_str());
    setenv("VOMDIX_REPLY_FILE", replyFile.c_str(), 1);
    setenv("VOMDIX_REQUEST_LOG", logFile.c_str(), 1);

    struct Case {
        const char* announced;  // VOMDIX_REPLY_LENGTH, or null
        int length;
        std::string fetched;
    } cases[] = {
        {nullptr, 15, "{\"polygons\":[]}"},
        {"-3", -3, ""},
        {"0", 0, ""},
        {"5", 5, "{\"pol"},
        {"2147483647", 2147483647, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.announced ? c.announced : "file size");
        if (c.announced)
            setenv("VOMDIX_REPLY_LENGTH", c.announced, 1);
        else
            unsetenv("VOMDIX_REPLY_LENGTH");
        int job = 0;
        ASSERT_EQ(begin(&job), VOMDIX_Ok);
        int length = 0;
        EXPECT_EQ(polygon(job, "{\"a\":1}", nullptr, &length), VOMDIX_Ok);
        EXPECT_EQ(length, c.length);
        if (length > 0 && length < 100) {
            std::vector<char> buffer(static_cast<size_t>(length) + 1, 0);
            EXPECT_EQ(polygon(job, "{\"a\":1}", buffer.data(), &length), VOMDIX_Ok);
            EXPECT_EQ(std::string(buffer.data()), c.fetched);
        }
        EXPECT_EQ(end(job), VOMDIX_Ok);
    }
    unsetenv("VOMDIX_REPLY_LENGTH");
    unsetenv("VOMDIX_REPLY_FILE");
    unsetenv("VOMDIX_REQUEST_LOG");
    // One line per call; the two that fetched logged twice.
    std::string expected;
    for (int i = 0; i < 7; ++i)
        expected += "{\"a\":1}\n";
    EXPECT_EQ(ReadFile(logFile), expected);
    // The scripted library keeps the same ledger.
    EXPECT_EQ(VOMDIX::GetJobCounts().ended, 5);
    std::remove(replyFile.c_str());
    std::remove(logFile.c_str());
    dlclose(lib);
}

}  // namespace
