// A small host for the wall code: walls and other elements by the first
// word of their GUID, each wall with one or more bodies, a composite and a
// plan polygon; the location offset. Installed as the add-on's host table
// while it lives.
#pragma once
#include "addon/host/HostBinding.hpp"
#include "addon/host/HostCalls.hpp"
#include "platform/gs/Memory.hpp"
#include <cstring>
#include <map>
#include <vector>

struct FakeBody {
    std::vector<API_VertType> vertices;
    std::vector<API_EdgeType> edges;
    struct Polygon {
        Int32 vector;  // signed vector index
        std::vector<Int32> edges;
    };
    std::vector<Polygon> polygons;
    std::vector<API_VectType> vectors;
    double matrix[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
};

struct FakeElement {
    API_Element element;
    FakeBody body;
    Int32 bodies = 1;
    bool bodyReadable = true;
    bool compositeReadable = true;
    Int16 skinCount = 0;
    std::vector<API_CWallComponent> skins;
    bool memoReadable = true;
    std::vector<API_Coord> coords;  // entry 0 unused
    std::vector<Int32> ends;        // entry 0 is 0
    std::vector<PolyArcRec> arcs;
};

inline API_Guid FakeGuid(UInt32 id)
{
    API_Guid g = APINULLGuid;
    g.time_low = id;
    return g;
}

class FakeWallHost {
public:
    FakeWallHost()
    {
        current = this;
        std::vector<void*> table(HostFunctionCount, nullptr);
        Set<HostSlot::GetElement>(table, &GetElement);
        Set<HostSlot::GetElement3DInfo>(table, &Get3DInfo);
        Set<HostSlot::Get3DComponent>(table, &GetComponent);
        Set<HostSlot::GetAttribute>(table, &GetAttribute);
        Set<HostSlot::GetAttributeDefs>(table, &GetAttributeDefs);
        Set<HostSlot::DisposeAttributeDefs>(table, &DisposeAttributeDefs);
        Set<HostSlot::GetMemo>(table, &GetMemo);
        Set<HostSlot::DisposeMemo>(table, &DisposeMemo);
        Set<HostSlot::Database>(table, &Database);
        HostBinding::ReceiveTable(table.data());
    }
    ~FakeWallHost()
    {
        HostBinding::Reset();
        current = nullptr;
    }
    FakeWallHost(const FakeWallHost&) = delete;
    FakeWallHost& operator=(const FakeWallHost&) = delete;

    // A zeroed element of the type; filled in by the test.
    FakeElement& Add(UInt32 id, API_ElemTypeID type)
    {
        FakeElement& e = elements[id];
        e = FakeElement();
        std::memset(static_cast<void*>(&e.element), 0, sizeof e.element);
        e.element.header.typeID = type;
        e.element.header.guid = FakeGuid(id);
        return e;
    }

    std::map<UInt32, FakeElement> elements;
    API_Coord offset{0, 0};
    int disposedDefs = 0;
    int getElementCalls = 0;
    int failGetElementCall = 0;  // this call of HostGetElement fails (counted from 1; 0: none)

private:
    static inline FakeWallHost* current = nullptr;

    template <HostSlot S> static void Set(std::vector<void*>& table, HostSlotFn<S> fn)
    {
        table[static_cast<UInt32>(S)] = reinterpret_cast<void*>(fn);
    }
    static FakeElement* Find(const API_Guid& g)
    {
        auto it = current->elements.find(g.time_low);
        return it == current->elements.end() || it->second.element.header.guid != g ? nullptr : &it->second;
    }
    template <typename T> static T** Handle(const std::vector<T>& items)
    {
        GSHandle h = BMhAllClear(static_cast<Int64>(items.size() * sizeof(T)));
        if (!items.empty())
            std::memcpy(*h, items.data(), items.size() * sizeof(T));
        return reinterpret_cast<T**>(h);
    }
    template <typename T> static void Kill(T**& h)
    {
        GSHandle g = reinterpret_cast<GSHandle>(h);
        BMhKill(&g);
        h = nullptr;
    }

    static GSErrCode GetElement(HostToken, API_Element* element)
    {
        if (++current->getElementCalls == current->failGetElementCall)
            return APIERR_GENERAL;
        FakeElement* e = Find(element->header.guid);
        if (e == nullptr)
            return APIERR_BADID;
        *element = e->element;
        return NoError;
    }
    // Bodies are numbered 100 per element: element 3 has bodies 300, 301 ...
    static GSErrCode Get3DInfo(HostToken, const API_Elem_Head* head, API_ElemInfo3D* info)
    {
        FakeElement* e = Find(head->guid);
        if (e == nullptr || !e->bodyReadable)
            return APIERR_BADID;
        info->fbody = static_cast<Int32>(head->guid.time_low) * 100;
        info->lbody = info->fbody + e->bodies - 1;
        return NoError;
    }
    static GSErrCode GetComponent(HostToken, API_Component3D* c)
    {
        auto it = current->elements.find(static_cast<UInt32>(c->bodyIndex / 100));
        if (it == current->elements.end())
            return APIERR_BADINDEX;
        const FakeBody& b = it->second.body;
        const Int32 i = c->head.index;
        auto in = [i](size_t n) { return i >= 1 && static_cast<size_t>(i) <= n; };
        switch (c->head.typeID) {
            case API_BodyID:
                if (i != c->bodyIndex)
                    return APIERR_BADINDEX;
                c->body.nVert = static_cast<Int32>(b.vertices.size());
                c->body.nVect = static_cast<Int32>(b.vectors.size());
                c->body.nEdge = static_cast<Int32>(b.edges.size());
                c->body.nPgon = static_cast<Int32>(b.polygons.size());
                std::memcpy(c->body.tranmat, b.matrix, sizeof b.matrix);
                return NoError;
            case API_VertID:
                if (!in(b.vertices.size()))
                    return APIERR_BADINDEX;
                c->vert = b.vertices[static_cast<size_t>(i - 1)];
                return NoError;
            case API_EdgeID:
                if (!in(b.edges.size()))
                    return APIERR_BADINDEX;
                c->edge = b.edges[static_cast<size_t>(i - 1)];
                return NoError;
            case API_VectID:
                if (!in(b.vectors.size()))
                    return APIERR_BADINDEX;
                c->vect = b.vectors[static_cast<size_t>(i - 1)];
                return NoError;
            case API_PgonID: {
                if (!in(b.polygons.size()))
                    return APIERR_BADINDEX;
                // Polygon-edge entries are numbered on through the polygons.
                Int32 first = 1;
                for (Int32 k = 1; k < i; ++k)
                    first += static_cast<Int32>(b.polygons[static_cast<size_t>(k - 1)].edges.size());
                const FakeBody::Polygon& p = b.polygons[static_cast<size_t>(i - 1)];
                c->pgon.ivect = p.vector;
                c->pgon.fpedg = first;
                c->pgon.lpedg = first + static_cast<Int32>(p.edges.size()) - 1;
                return NoError;
            }
            case API_PedgID: {
                Int32 k = i;
                for (const FakeBody::Polygon& p : b.polygons) {
                    if (k >= 1 && static_cast<size_t>(k) <= p.edges.size()) {
                        c->pedg.pedg = p.edges[static_cast<size_t>(k - 1)];
                        return NoError;
                    }
                    k -= static_cast<Int32>(p.edges.size());
                }
                return APIERR_BADINDEX;
            }
        }
        return APIERR_BADPARS;
    }
    static FakeElement* Composite(Int32 index)
    {
        for (auto& e : current->elements)
            if (e.second.element.header.typeID == API_WallID && e.second.element.wall.compositeIndex == index &&
                e.second.compositeReadable)
                return &e.second;
        return nullptr;
    }
    static GSErrCode GetAttribute(HostToken, API_Attribute* a)
    {
        FakeElement* e = a->header.typeID == API_CompWallID ? Composite(a->header.index) : nullptr;
        if (e == nullptr)
            return APIERR_BADINDEX;
        a->compWall.nComps = e->skinCount;
        return NoError;
    }
    static GSErrCode GetAttributeDefs(HostToken, API_AttrTypeID type, Int32 index, API_AttributeDefExt* defs)
    {
        FakeElement* e = type == API_CompWallID ? Composite(index) : nullptr;
        if (e == nullptr)
            return APIERR_BADINDEX;
        defs->cwall_compItems = Handle(e->skins);
        return NoError;
    }
    static GSErrCode DisposeAttributeDefs(API_AttributeDefExt* defs)
    {
        ++current->disposedDefs;
        Kill(defs->cwall_compItems);
        return NoError;
    }
    static GSErrCode GetMemo(HostToken, API_Guid guid, API_ElementMemo* memo, UInt64)
    {
        FakeElement* e = Find(guid);
        if (e == nullptr || !e->memoReadable)
            return APIERR_BADID;
        if (!e->coords.empty())
            memo->coords = Handle(e->coords);
        if (!e->ends.empty())
            memo->pends = Handle(e->ends);
        if (!e->arcs.empty())
            memo->parcs = Handle(e->arcs);
        return NoError;
    }
    static GSErrCode DisposeMemo(API_ElementMemo* memo)
    {
        Kill(memo->coords);
        Kill(memo->pends);
        Kill(memo->parcs);
        return NoError;
    }
    static GSErrCode Database(HostToken, API_RequestCode code, void* par1, void*, void*)
    {
        if (code != RequestCode("GOFS") || par1 == nullptr)
            return APIERR_BADPARS;
        *static_cast<API_Coord*>(par1) = current->offset;
        return NoError;
    }
};
