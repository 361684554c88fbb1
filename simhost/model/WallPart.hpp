// Walls of the stand-in host: the record fields the add-on reads, the
// openings placed in the wall, and the body and plan polygon built from
// them (WallBody.cpp).
#pragma once
#include "platform/api/APIdefs.hpp"
#include <map>
#include <memory>
#include <vector>

namespace SimHost {

struct WallPart;
struct WallBodyCache;

// A window or door placed in a wall: along the reference line from its
// begin (an arc length on a curved wall), sill above the wall's base.
struct WallOpening {
    double along = 0, sill = 0, width = 0, height = 0;
};

struct WallPart {
    // The record's wall fields; poly is filled from the plan polygon.
    API_WallType record = DefaultRecord();
    std::vector<WallOpening> openings;
    // How many bodies the host reports for the wall (each the same one).
    Int32 bodies = 1;
    // The walls this one is joined to at a corner (a joinWalls step).
    std::vector<API_Guid> joinedWith;

    // The wall's body as the host hands it out, built once for the wall's
    // geometry as it is and built anew when the record or the openings
    // have changed since (BuildWallBody for the mesh).
    const WallBodyCache& Body() const;

    // Shared by copies (the undo history's); never changed once built.
    mutable std::shared_ptr<const WallBodyCache> body;

    static API_WallType DefaultRecord()
    {
        API_WallType w{};
        w.thickness = 0.3;
        w.height = 3.0;
        w.slantAlpha = w.slantBeta = 1.5707963267948966;
        w.endC = {1, 0};
        return w;
    }
};

// A composite structure: its skins in order.
struct WallComposite {
    std::vector<API_CWallComponent> skins;
};

// A polyhedron as the host hands it out: indices from 1, polygon-edge
// entries signed edge indices, vectors outward normals.
struct WallMesh {
    struct Polygon {
        Int32 vector = 0;
        std::vector<Int32> edges;
    };
    std::vector<API_VertType> vertices;
    std::vector<API_EdgeType> edges;
    std::vector<API_VectType> vectors;
    std::vector<Polygon> polygons;
};

// The wall's body in model coordinates, like its plan; the host hands it
// out in the 3D world's, less the location offset.
WallMesh BuildWallBody(const WallPart& wall);

// A built body with what it was built from, and each polygon's first entry
// in the polygon-edge list numbered on through the polygons (from 1).
struct WallBodyCache {
    API_WallType record{};
    std::vector<WallOpening> openings;
    WallMesh mesh;
    std::vector<Int32> firstEdgeEntry;
    std::vector<Int32> edgeEntries;  // every polygon's, in order

    bool BuiltFrom(const WallPart& wall) const;
};

// The plan polygon in the memo's layout: coordinates from index 1, the
// first repeated at the end; ring ends from index 1 with entry 0 at 0;
// arcs by coordinate index.
struct WallPlanPolygon {
    std::vector<API_Coord> coords;
    std::vector<Int32> ends;
    std::vector<PolyArcRec> arcs;
};
WallPlanPolygon BuildWallPlanPolygon(const WallPart& wall);

// The outline the host gives for a straight wall joined at a corner to the
// `joined` walls (straight walls of some length; others are left out): at
// the end nearer each joined wall's reference line the wall reaches across
// the corner to the joined wall's far face, and the side facing the joined
// wall's body gets a further vertex where the joined wall's near face meets
// it. A wall joined at one end has five corners, at both ends six. A curved
// wall, or one of no length, keeps its own plan polygon.
WallPlanPolygon BuildJoinedWallPlanPolygon(const WallPart& wall, const std::vector<const WallPart*>& joined);

}  // namespace SimHost
