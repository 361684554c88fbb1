// Layers as attributes, and the filters that honour them: the element
// filter and listing elements by type.
#include "simhost/api/HostApi.hpp"
#include "simhost/api/Walls.hpp"
#include "platform/gs/UniString.hpp"
#include <algorithm>
#include <cstring>

namespace SimHost {

namespace {

bool Passes(const Host& host, const Element& e, UInt32 filterBits)
{
    auto layer = host.model.layers.find(e.layer);
    const bool hidden = layer != host.model.layers.end() && layer->second.hidden;
    const bool locked = layer != host.model.layers.end() && layer->second.locked;
    if ((filterBits & APIFilt_OnVisLayer) != 0 && hidden)
        return false;
    if ((filterBits & APIFilt_IsEditable) != 0 && locked)
        return false;
    if ((filterBits & APIFilt_OnActFloor) != 0 && e.story != host.model.currentStory)
        return false;
    return true;
}

}  // namespace

GSErrCode HostApi::GetAttribute(API_Attribute* attribute)
{
    if (attribute == nullptr)
        return APIERR_BADPARS;
    if (attribute->header.typeID == API_CompWallID)
        return GetWallCompositeAttribute(host, attribute);
    if (attribute->header.typeID != API_LayerID)
        return APIERR_BADINDEX;
    auto it = host.model.layers.find(attribute->header.index);
    if (it == host.model.layers.end())
        return APIERR_BADINDEX;
    const Int32 index = attribute->header.index;
    std::memset(static_cast<void*>(attribute), 0, sizeof *attribute);
    attribute->header.typeID = API_LayerID;
    attribute->header.index = index;
    attribute->header.flags = (it->second.hidden ? APILay_Hidden : 0) | (it->second.locked ? APILay_Locked : 0);
    GS::UniString name(it->second.name.c_str(), CC_UTF8);
    std::memcpy(attribute->header.name, name.ToUStr(),
                std::min<size_t>(name.GetLength(), 255) * sizeof(GS::uchar_t));
    return NoError;
}

GSErrCode HostApi::ModifyAttribute(API_Attribute* attribute)
{
    if (attribute == nullptr)
        return APIERR_BADPARS;
    if (attribute->header.typeID != API_LayerID)
        return APIERR_BADINDEX;
    auto it = host.model.layers.find(attribute->header.index);
    if (it == host.model.layers.end())
        return APIERR_BADINDEX;
    it->second.hidden = (attribute->header.flags & APILay_Hidden) != 0;
    it->second.locked = (attribute->header.flags & APILay_Locked) != 0;
    host.recorder.events.push_back("layer " + std::to_string(attribute->header.index) + " changed: " +
                                   (it->second.hidden ? "hidden" : "shown") + ", " +
                                   (it->second.locked ? "locked" : "unlocked"));
    return NoError;
}

bool HostApi::ElementFilter(API_Guid guid, UInt32 filterBits, Int32, API_Guid)
{
    const Element* e = host.model.Find(guid);
    return e != nullptr && Passes(host, *e, filterBits);
}

GSErrCode HostApi::ListElementsByType(API_ElemTypeID type, GS::Array<API_Guid>* guids, UInt32 filterBits, Int32, API_Guid)
{
    if (guids == nullptr)
        return APIERR_BADPARS;
    guids->Clear();
    for (const Element& e : host.model.Elements())
        // Only the elements of the database the window shows.
        if (e.type == type && e.database == host.model.currentDatabase && Passes(host, e, filterBits))
            guids->Push(e.guid);
    return NoError;
}

}  // namespace SimHost
