#include "addon/walls/ObjectChange.hpp"
#include "addon/host/HostCalls.hpp"
#include <cmath>
#include <cstring>

namespace {

template <typename Field> void Mark(Field& field) { std::memset(static_cast<void*>(&field), 0xFF, sizeof field); }

}  // namespace

ObjectChange::ObjectChange(const API_Element& read)
{
    std::memcpy(static_cast<void*>(&object), &read, sizeof object);
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
}

bool ObjectChange::ReadParams()
{
    return HostGetMemo(object.header.guid, &memo.Get(), APIMemoMask_AddPars) == NoError && memo->params != nullptr;
}

void ObjectChange::SetStory(Int16 story)
{
    Mark(mask.header.floorInd);
    object.header.floorInd = story;
}

void ObjectChange::SetPosition(const API_Coord& position)
{
    if (!std::isfinite(position.x) || !std::isfinite(position.y)) {
        incomplete = true;
        return;
    }
    Mark(mask.object.pos);
    object.object.pos = position;
}

void ObjectChange::SetAngle(double angle)
{
    if (!std::isfinite(angle)) {
        incomplete = true;
        return;
    }
    Mark(mask.object.angle);
    object.object.angle = angle;
}

void ObjectChange::SetLevel(double level)
{
    if (!std::isfinite(level)) {
        incomplete = true;
        return;
    }
    Mark(mask.object.level);
    object.object.level = level;
}

GSErrCode ObjectChange::Commit()
{
    return HostChangeElement(&object, &mask, &memo.Get(), APIMemoMask_AddPars, true);
}
