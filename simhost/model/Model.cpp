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

Model::Model() { layers[1] = Layer{"Default", false, false}; }

API_Guid Model::NewGuid()
{
    // Readable and unique within a run: 5A000000-0000-4000-8000-<counter>.
    ++guidCounter;
    API_Guid g{};
    g.time_low = 0x5A000000u | (guidCounter >> 16);
    g.time_mid = static_cast<UInt16>(guidCounter & 0xFFFF);
    g.time_hi_and_version = 0x4000;
    g.clock_seq_hi_and_reserved = 0x80;
    for (int i = 0; i < 4; ++i)
        g.node[5 - i] = static_cast<UInt8>(guidCounter >> (8 * i));
    return g;
}

Element& Model::Add(Element element)
{
    if (element.guid == APINULLGuid)
        element.guid = NewGuid();
    elements.push_back(std::move(element));
    return elements.back();
}

Element* Model::Find(const API_Guid& guid)
{
    for (auto& e : elements)
        if (e.guid == guid)
            return &e;
    return nullptr;
}

const Element* Model::Find(const API_Guid& guid) const { return const_cast<Model*>(this)->Find(guid); }

bool Model::Remove(const API_Guid& guid)
{
    auto it = std::find_if(elements.begin(), elements.end(), [&](const Element& e) { return e.guid == guid; });
    if (it == elements.end())
        return false;
    elements.erase(it);
    selection.erase(std::remove(selection.begin(), selection.end(), guid), selection.end());
    return true;
}

std::string GuidText(const API_Guid& guid)
{
    GS::Guid g;
    g.SetBytes(reinterpret_cast<const unsigned char*>(&guid));
    return g.ToUniString().ToUtf8();
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
