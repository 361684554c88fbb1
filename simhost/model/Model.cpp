#include "simhost/model/Model.hpp"
#include "platform/gs/Guid.hpp"
#include <algorithm>
#include <cstring>

namespace SimHost {

const GdlParam* FindParam(const GdlParams& params, const std::string& name)
{
    for (const auto& p : params)
        if (p.name == name)
            return &p;
    return nullptr;
}

GdlParam* FindParam(GdlParams& params, const std::string& name)
{
    for (auto& p : params)
        if (p.name == name)
            return &p;
    return nullptr;
}

double NumberAt(const GdlParam* p, Int32 row, Int32 column, double fallback)
{
    if (p == nullptr || p->kind != GdlParam::Kind::Numbers || row >= p->dim1 || column >= p->dim2)
        return fallback;
    const size_t i = static_cast<size_t>(row) * static_cast<size_t>(p->dim2) + static_cast<size_t>(column);
    return i < p->numbers.size() ? p->numbers[i] : fallback;
}

ElementPart PartOfType(API_ElemTypeID type)
{
    switch (type) {
    case API_WallID: return WallPart{};
    case API_SlabID: return SlabPart{};
    case API_RoofID: return RoofPart{};
    case API_ObjectID: return ObjectPart{};
    case API_OpeningID: return OpeningPart{};
    default: return OtherPart{};
    }
}

Model::Model() { layers[1] = Layer{"Default", false, false}; }

API_Guid Model::NewGuid()
{
    // Readable and unique within a run: 5A000000-0000-4000-8000-<counter>.
    API_Guid g{};
    do {
        ++guidCounter;
        g.time_low = 0x5A000000u | (guidCounter >> 16);
        g.time_mid = static_cast<UInt16>(guidCounter & 0xFFFF);
        g.time_hi_and_version = 0x4000;
        g.clock_seq_hi_and_reserved = 0x80;
        for (int i = 0; i < 4; ++i)
            g.node[5 - i] = static_cast<UInt8>(guidCounter >> (8 * i));
    } while (byGuid.Contains(g));
    return g;
}

Element& Model::Add(API_ElemTypeID type, Int32 layer)
{
    Element e;
    e.type = type;
    e.layer = layer;
    e.part = PartOfType(type);
    return *Add(std::move(e));
}

Element* Model::Add(Element element)
{
    if (element.guid == APINULLGuid)
        element.guid = NewGuid();
    if (byGuid.Contains(element.guid))
        return nullptr;
    // An element built without its type's part gets it, so that every
    // element of a type carries the part its record code expects.
    if (std::holds_alternative<OtherPart>(element.part))
        element.part = PartOfType(element.type);
    elements.push_back(std::make_unique<Element>(std::move(element)));
    Element* added = elements.back().get();
    byGuid.Insert(added->guid, added);
    if (added->As<WallPart>() != nullptr)
        wallsNumbered = false;
    return added;
}

ModelState Model::Capture() const
{
    ModelState state;
    state.elements.reserve(elements.size());
    for (const auto& e : elements)
        state.elements.push_back(*e);
    state.layers = layers;
    state.selection = selection;
    state.links = links;
    state.details = databases.details;
    return state;
}

void Model::Restore(const ModelState& state)
{
    elements.clear();
    byGuid.Clear();
    wallsNumbered = false;
    for (const Element& e : state.elements) {
        elements.push_back(std::make_unique<Element>(e));
        byGuid.Insert(e.guid, elements.back().get());
    }
    layers = state.layers;
    selection = state.selection;
    links = state.links;
    databases.details = state.details;
    // A window on a drawing the step took back shows the floor plan again.
    if (!(currentDatabase == APINULLGuid) && databases.Find(currentDatabase) == nullptr)
        currentDatabase = APINULLGuid;
}

Element* Model::Find(const API_Guid& guid)
{
    Element* const* found = byGuid.Find(guid);
    return found != nullptr ? *found : nullptr;
}

const Element* Model::Find(const API_Guid& guid) const
{
    Element* const* found = byGuid.Find(guid);
    return found != nullptr ? *found : nullptr;
}

bool Model::Remove(const API_Guid& which)
{
    // A copy: `which` may be the GUID of the very element removed.
    const API_Guid guid = which;
    Element* const* found = byGuid.Find(guid);
    if (found == nullptr)
        return false;
    const Element* gone = *found;
    if (gone->As<WallPart>() != nullptr)
        wallsNumbered = false;
    byGuid.Erase(guid);
    elements.erase(std::find_if(elements.begin(), elements.end(), [&](const auto& e) { return e.get() == gone; }));
    selection.erase(std::remove(selection.begin(), selection.end(), guid), selection.end());
    return true;
}

void Model::NumberWalls() const
{
    if (wallsNumbered)
        return;
    walls.clear();
    wallNumbers.Clear();
    for (const auto& e : elements)
        if (e->As<WallPart>() != nullptr) {
            walls.push_back(e.get());
            wallNumbers.Insert(e->guid, Int32(walls.size()));
        }
    wallsNumbered = true;
}

const Element* Model::WallOfNumber(Int32 number) const
{
    NumberWalls();
    return number >= 1 && USize(number) <= walls.size() ? walls[USize(number) - 1] : nullptr;
}

Int32 Model::WallNumber(const API_Guid& guid) const
{
    NumberWalls();
    const Int32* found = wallNumbers.Find(guid);
    return found != nullptr ? *found : 0;
}

std::string GuidText(const API_Guid& guid)
{
    GS::Guid g;
    g.SetBytes(reinterpret_cast<const unsigned char*>(&guid));
    char text[36];
    g.ToChars(text);
    return std::string(text, sizeof text);
}

bool ParseGuid(const std::string& text, API_Guid& guid)
{
    GS::Guid g;
    if (!GS::Guid::Parse(text.c_str(), g))
        return false;
    std::memcpy(&guid, g.GetBytes(), 16);
    return true;
}

}  // namespace SimHost
