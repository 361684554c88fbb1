#include "addon/walls/WallDescription.hpp"
#include "addon/host/HostRequests.hpp"
#include "addon/host/MemoMasks.hpp"
#include "addon/host/Owners.hpp"
#include "platform/geometry/Polygon2D.hpp"
#include "platform/gs/MathConstants.hpp"
#include <algorithm>
#include <cmath>
#include <picojson.h>

namespace {

using GS::Pi;

// JSON numbers; a value that is not finite spoils the whole description.
class NumberWriter {
public:
    picojson::value operator()(double v)
    {
        if (!std::isfinite(v)) {
            finite = false;
            return picojson::value(0.0);
        }
        return picojson::value(v);
    }
    bool finite = true;
};

picojson::value Point2(NumberWriter& num, double x, double y)
{
    picojson::object o;
    o["x"] = num(x);
    o["y"] = num(y);
    return picojson::value(o);
}

picojson::value Point3(NumberWriter& num, double x, double y, double z)
{
    picojson::object o;
    o["x"] = num(x);
    o["y"] = num(y);
    o["z"] = num(z);
    return picojson::value(o);
}

bool ReadComponent(API_3DTypeID kind, Int32 index, Int32 body, API_Component3D& c)
{
    std::memset(static_cast<void*>(&c), 0, sizeof c);
    c.head.typeID = kind;
    c.head.index = index;
    c.bodyIndex = body;
    return HostGet3DComponent(&c) == NoError;
}

template <typename T> size_t HandleCount(T** h)
{
    if (h == nullptr || *h == nullptr)
        return 0;
    const Int64 bytes = BMhGetSize(reinterpret_cast<GSConstHandle>(h));
    return bytes > 0 ? static_cast<size_t>(bytes) / sizeof(T) : 0;
}

// The body's vertices, edges, polygons and normals; false when any part of
// the body cannot be read.
bool WriteBody(Int32 body, const API_Coord& offset, picojson::object& doc, NumberWriter& num)
{
    API_Component3D c;
    if (!ReadComponent(API_BodyID, body, body, c))
        return false;
    const API_BodyType b = c.body;
    const double* m = b.tranmat;

    picojson::array vertices;
    for (Int32 i = 1; i <= b.nVert; ++i) {
        if (!ReadComponent(API_VertID, i, body, c))
            return false;
        const API_VertType v = c.vert;
        vertices.push_back(Point3(num, m[0] * v.x + m[1] * v.y + m[2] * v.z + m[3] + offset.x,
                                  m[4] * v.x + m[5] * v.y + m[6] * v.z + m[7] + offset.y,
                                  m[8] * v.x + m[9] * v.y + m[10] * v.z + m[11]));
    }

    picojson::array edges;
    for (Int32 i = 1; i <= b.nEdge; ++i) {
        if (!ReadComponent(API_EdgeID, i, body, c))
            return false;
        picojson::object e;
        e["vert1"] = num(c.edge.vert1);
        e["vert2"] = num(c.edge.vert2);
        edges.emplace_back(e);
    }

    picojson::array polygons, normals;
    for (Int32 i = 1; i <= b.nPgon; ++i) {
        if (!ReadComponent(API_PgonID, i, body, c))
            return false;
        const API_PgonType pg = c.pgon;
        if (pg.ivect == INT32_MIN || !ReadComponent(API_VectID, std::abs(pg.ivect), body, c))
            return false;
        const double sign = pg.ivect < 0 ? -1.0 : 1.0;
        const double x = sign * c.vect.x, y = sign * c.vect.y, z = sign * c.vect.z;
        const API_Coord3D n = NormalizeVector3(m[0] * x + m[1] * y + m[2] * z, m[4] * x + m[5] * y + m[6] * z,
                                               m[8] * x + m[9] * y + m[10] * z);
        normals.push_back(Point3(num, n.x, n.y, n.z));
        picojson::array entries;
        for (Int32 k = pg.fpedg; k <= pg.lpedg && k > 0; ++k) {
            if (!ReadComponent(API_PedgID, k, body, c))
                return false;
            entries.push_back(num(c.pedg.pedg));
        }
        polygons.emplace_back(entries);
    }
    doc["vertices"] = picojson::value(vertices);
    doc["edges"] = picojson::value(edges);
    doc["polygons"] = picojson::value(polygons);
    doc["normals"] = picojson::value(normals);
    return true;
}

}  // namespace

API_Coord3D NormalizeVector3(double x, double y, double z)
{
    const double length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 1e-12))
        return {1, 0, 0};
    return {x / length, y / length, z / length};
}

bool ArcCentreFromChord(const API_Coord& a, const API_Coord& b, double angle, API_Coord& centre)
{
    if (std::fabs(angle) < 1e-5) {
        centre = {0, 0};
        return false;
    }
    if (std::fabs(std::fabs(angle) - Pi) < 1e-5) {
        centre = {(a.x + b.x) / 2, (a.y + b.y) / 2};
        return true;
    }
    const double t = std::tan(angle / 2);
    centre = {(a.x + b.x - (b.y - a.y) / t) / 2, (a.y + b.y + (b.x - a.x) / t) / 2};
    return true;
}

std::vector<WallComposite> CollectWallComposites(const API_Element& element)
{
    const API_WallType& wall = element.wall;
    if (wall.structureKind != 1)
        return {WallComposite{wall.thickness, 1}};
    API_Attribute attribute;
    std::memset(static_cast<void*>(&attribute), 0, sizeof attribute);
    attribute.header.typeID = API_CompWallID;
    attribute.header.index = wall.compositeIndex;
    if (HostGetAttribute(&attribute) != NoError)
        return {};
    AttributeDefsOwner defs;
    if (HostGetAttributeDefs(API_CompWallID, wall.compositeIndex, &defs.Get()) != NoError)
        return {};
    // As many skins as the attribute counts, and no more than the host's
    // handle holds.
    const size_t count = std::min(static_cast<size_t>(std::max<Int16>(attribute.compWall.nComps, 0)),
                                  HandleCount(defs->cwall_compItems));
    std::vector<WallComposite> skins;
    for (size_t i = 0; i < count; ++i) {
        const API_CWallComponent& skin = (*defs->cwall_compItems)[i];
        skins.push_back({skin.fillThick, skin.flagBits == 2 ? 1 : 0});
    }
    return skins;
}

GSErrCode FlattenWallPolygon2D(const API_Element& element, const API_Polygon& counts, std::vector<double>& out)
{
    if (element.header.typeID != API_WallID)
        return NotAWallError;
    MemoOwner memo;
    const GSErrCode err = HostGetMemo(element.header.guid, &memo.Get(), MemoPolygonAndArcs);
    if (err != NoError)
        return err;
    const size_t nCoords = HandleCount(memo->coords);
    const size_t nEnds = HandleCount(memo->pends);
    if (nCoords < 2 || nEnds < 2)
        return NoError;
    // The ring ends the record counts, as far as the handles hold them.
    const size_t rings = std::min(static_cast<size_t>(std::max(counts.nSubPolys, 0)), nEnds - 1);
    if (rings == 0)
        return NoError;
    const Int32 lastEnd = (*memo->pends)[rings];
    const size_t last = std::min(static_cast<size_t>(std::max(lastEnd, 0)), nCoords - 1);
    const size_t nArcs = std::min(static_cast<size_t>(std::max(counts.nArcs, 0)), HandleCount(memo->parcs));
    const API_Coord* c = *memo->coords;
    for (size_t i = 1; i <= last; ++i) {
        const PolyArcRec* arc = nullptr;
        for (size_t a = 0; a < nArcs && i + 1 < nCoords; ++a) {
            const PolyArcRec& r = (*memo->parcs)[a];
            if (r.begIndex == static_cast<Int32>(i) && r.endIndex == static_cast<Int32>(i + 1)) {
                arc = &r;
                break;
            }
        }
        Geometry::Coord centre{0, 0};
        const Geometry::Coord b{c[i].x, c[i].y}, e{c[i + (arc ? 1 : 0)].x, c[i + (arc ? 1 : 0)].y};
        // An arc record that makes no arc (no angle, or coinciding ends) is
        // the straight edge it stands for.
        if (arc != nullptr && Geometry::ArcGetOrigo(&b, &e, arc->arcAngle, &centre)) {
            out.insert(out.end(), {1, c[i].x, c[i].y, centre.x, centre.y,
                                   std::hypot(c[i].x - centre.x, c[i].y - centre.y), arc->arcAngle});
        } else {
            out.insert(out.end(), {0, c[i].x, c[i].y});
        }
    }
    return NoError;
}

std::string BuildWallDescriptionJson(double startdepth, double enddepth, API_Guid guid)
{
    const std::string none = "{}";
    API_Element element;
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    element.header.guid = guid;
    if (HostGetElement(&element) != NoError || element.header.typeID != API_WallID)
        return none;
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    element.header.guid = guid;
    if (HostGetElement(&element) != NoError)
        return none;
    const API_WallType& wall = element.wall;

    const bool curved = std::fabs(wall.angle) > 1e-6;
    const int wallType = curved ? 3 : (wall.slantCode == 1 || wall.slantCode == 2 ? wall.slantCode : 0);

    // A wall whose body cannot be read is no more readable than one of
    // several bodies.
    API_ElemInfo3D info;
    std::memset(static_cast<void*>(&info), 0, sizeof info);
    API_Coord offset{0, 0};
    const GSErrCode infoErr = HostGetElement3DInfo(&element.header, &info);
    HostRequest::GOFS(&offset);
    if (infoErr != NoError || info.fbody != info.lbody)
        return none;

    NumberWriter num;
    picojson::object doc;
    if (!WriteBody(info.fbody, offset, doc, num))
        return none;

    picojson::object refline;
    refline["start"] = Point2(num, wall.begC.x, wall.begC.y);
    refline["end"] = Point2(num, wall.endC.x, wall.endC.y);
    doc["refline"] = picojson::value(refline);
    doc["offsetfromoutside"] = num(wall.offsetFromOutside);
    doc["angle"] = num(wall.angle);
    doc["thickness"] = num(wall.thickness);
    doc["flipped"] = picojson::value(wall.flipped);
    doc["height"] = num(wall.height);
    doc["slantalpha"] = num(wall.slantAlpha);
    doc["slantbeta"] = num(wall.slantBeta);
    doc["walltype"] = num(wallType);
    if (wallType == 3) {
        API_Coord centre{0, 0};
        ArcCentreFromChord(wall.begC, wall.endC, wall.angle, centre);
        doc["origo"] = Point2(num, centre.x, centre.y);
    }

    picojson::array composites;
    for (const WallComposite& skin : CollectWallComposites(element)) {
        picojson::object o;
        o["core"] = num(skin.core);
        o["thickness"] = num(skin.thickness);
        composites.emplace_back(o);
    }
    doc["composites"] = picojson::value(composites);

    std::vector<double> flat;
    FlattenWallPolygon2D(element, wall.poly, flat);
    picojson::array polygon2d;
    for (double v : flat)
        polygon2d.push_back(num(v));
    doc["polygon2d"] = picojson::value(polygon2d);

    doc["startdepth"] = num(startdepth);
    doc["enddepth"] = num(enddepth);
    if (!num.finite)
        return none;
    return picojson::value(doc).serialize();
}
