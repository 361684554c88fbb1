// Walls' host calls: the 3D body of a wall, built once for each state of
// the wall's geometry and handed out piece by piece, the composite
// attributes and the plan polygon.
#include "simhost/api/Walls.hpp"
#include "simhost/api/HostApi.hpp"
#include "platform/gs/Memory.hpp"
#include <cmath>
#include <cstring>

namespace SimHost {

namespace {

template <typename T> T** Handle(const std::vector<T>& items)
{
    GSHandle h = BMhAllClear(static_cast<Int64>(items.size() * sizeof(T)));
    if (h != nullptr && !items.empty())
        std::memcpy(*h, items.data(), items.size() * sizeof(T));
    return reinterpret_cast<T**>(h);
}

template <typename T> void Kill(T**& h)
{
    GSHandle g = reinterpret_cast<GSHandle>(h);
    BMhKill(&g);
    h = nullptr;
}

// The wall with the body index and its body's number among the wall's.
const Element* WallOfBody(const Model& model, Int32 body)
{
    if (body < WallBodyStride)
        return nullptr;
    const Element* e = model.WallOfNumber(body / WallBodyStride);
    return e != nullptr && body % WallBodyStride < e->As<WallPart>()->bodies ? e : nullptr;
}

Int32 FirstBody(const Model& model, const API_Guid& guid) { return model.WallNumber(guid) * WallBodyStride; }

// The 3D world lies about the database's location offset: a point of the
// model is its 3D point plus the offset ('GOFS'). The body is built in model
// coordinates, like the plan, and handed out in the 3D world's.
API_VertType InThreeD(const Model& model, API_VertType v)
{
    v.x -= model.locationOffset.x;
    v.y -= model.locationOffset.y;
    return v;
}

bool InRange(Int32 i, size_t n)
{
    return i >= 1 && static_cast<size_t>(i) <= n;
}

}  // namespace

bool HandOutWallPlanPolygon(const WallPart& wall, API_ElementMemo& memo, const std::vector<const WallPart*>& joined)
{
    const WallPlanPolygon plan = joined.empty() ? BuildWallPlanPolygon(wall) : BuildJoinedWallPlanPolygon(wall, joined);
    memo.coords = Handle(plan.coords);
    memo.pends = Handle(plan.ends);
    memo.parcs = plan.arcs.empty() ? nullptr : Handle(plan.arcs);
    if (memo.coords == nullptr || memo.pends == nullptr || (!plan.arcs.empty() && memo.parcs == nullptr)) {
        Kill(memo.coords);
        Kill(memo.pends);
        Kill(memo.parcs);
        return false;
    }
    return true;
}

GSErrCode HostApi::GetElement3DInfo(const API_Elem_Head* head, API_ElemInfo3D* info)
{
    if (head == nullptr || info == nullptr)
        return APIERR_BADPARS;
    const Element* e = host.model.Find(head->guid);
    if (e == nullptr)
        return APIERR_BADID;
    const WallPart* wall = e->As<WallPart>();
    if (wall == nullptr || wall->bodies < 1)
        return APIERR_BADID;
    std::memset(static_cast<void*>(info), 0, sizeof *info);
    info->fbody = FirstBody(host.model, head->guid);
    info->lbody = info->fbody + wall->bodies - 1;
    const WallMesh& mesh = wall->Body().mesh;
    if (!mesh.vertices.empty()) {
        double* b = info->bounds;
        b[0] = b[1] = b[2] = HUGE_VAL;
        b[3] = b[4] = b[5] = -HUGE_VAL;
        for (const API_VertType& modelVertex : mesh.vertices) {
            const API_VertType v = InThreeD(host.model, modelVertex);
            b[0] = std::min(b[0], v.x), b[1] = std::min(b[1], v.y), b[2] = std::min(b[2], v.z);
            b[3] = std::max(b[3], v.x), b[4] = std::max(b[4], v.y), b[5] = std::max(b[5], v.z);
        }
    }
    return NoError;
}

GSErrCode HostApi::Get3DComponent(API_Component3D* c)
{
    if (c == nullptr)
        return APIERR_BADPARS;
    const Element* e = WallOfBody(host.model, c->bodyIndex);
    if (e == nullptr)
        return APIERR_BADINDEX;
    const WallBodyCache& body = e->As<WallPart>()->Body();
    const WallMesh& mesh = body.mesh;
    const Int32 i = c->head.index;
    switch (c->head.typeID) {
        case API_BodyID:
            if (i != c->bodyIndex)
                return APIERR_BADINDEX;
            c->body.nVert = static_cast<Int32>(mesh.vertices.size());
            c->body.nVect = static_cast<Int32>(mesh.vectors.size());
            c->body.nEdge = static_cast<Int32>(mesh.edges.size());
            c->body.nPgon = static_cast<Int32>(mesh.polygons.size());
            {
                // Vertices are in model coordinates already.
                const double identity[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
                std::memcpy(c->body.tranmat, identity, sizeof identity);
            }
            return NoError;
        case API_VertID:
            if (!InRange(i, mesh.vertices.size()))
                return APIERR_BADINDEX;
            c->vert = InThreeD(host.model, mesh.vertices[static_cast<size_t>(i - 1)]);
            return NoError;
        case API_EdgeID:
            if (!InRange(i, mesh.edges.size()))
                return APIERR_BADINDEX;
            c->edge = mesh.edges[static_cast<size_t>(i - 1)];
            return NoError;
        case API_VectID:
            if (!InRange(i, mesh.vectors.size()))
                return APIERR_BADINDEX;
            c->vect = mesh.vectors[static_cast<size_t>(i - 1)];
            return NoError;
        case API_PgonID: {
            if (!InRange(i, mesh.polygons.size()))
                return APIERR_BADINDEX;
            // Polygon-edge entries are numbered on through the polygons.
            const Int32 first = body.firstEdgeEntry[static_cast<size_t>(i - 1)];
            const WallMesh::Polygon& p = mesh.polygons[static_cast<size_t>(i - 1)];
            c->pgon.ivect = p.vector;
            c->pgon.fpedg = first;
            c->pgon.lpedg = first + static_cast<Int32>(p.edges.size()) - 1;
            return NoError;
        }
        case API_PedgID:
            if (!InRange(i, body.edgeEntries.size()))
                return APIERR_BADINDEX;
            c->pedg.pedg = body.edgeEntries[static_cast<size_t>(i - 1)];
            return NoError;
    }
    return APIERR_BADPARS;
}

GSErrCode GetWallCompositeAttribute(const Host& host, API_Attribute* a)
{
    if (a == nullptr)
        return APIERR_BADPARS;
    if (a->header.typeID != API_CompWallID)
        return APIERR_BADPARS;
    auto it = host.model.composites.find(a->header.index);
    if (it == host.model.composites.end())
        return APIERR_BADINDEX;
    a->compWall.nComps = static_cast<Int16>(it->second.skins.size());
    a->compWall.nLines = static_cast<Int16>(it->second.skins.size() + 1);
    a->compWall.totalThick = 0;
    for (const API_CWallComponent& s : it->second.skins)
        a->compWall.totalThick += s.fillThick;
    return NoError;
}

GSErrCode HostApi::GetAttributeDefs(API_AttrTypeID type, Int32 index, API_AttributeDefExt* defs)
{
    if (defs == nullptr || type != API_CompWallID)
        return APIERR_BADPARS;
    auto it = host.model.composites.find(index);
    if (it == host.model.composites.end())
        return APIERR_BADINDEX;
    defs->cwall_compItems = Handle(it->second.skins);
    return defs->cwall_compItems == nullptr ? APIERR_MEMFULL : NoError;
}

GSErrCode HostApi::DisposeAttributeDefs(API_AttributeDefExt* defs)
{
    if (defs == nullptr)
        return APIERR_BADPARS;
    Kill(defs->cwall_compItems);
    return NoError;
}

}  // namespace SimHost
