// The tools' default settings. For objects: a record on the default layer
// and the current story, unrotated, and a memo without parameters (the
// caller takes the part's own). Other tools are not modelled yet.
#include "simhost/api/HostApi.hpp"
#include <cstring>

namespace SimHost {

GSErrCode HostApi::GetToolDefaults(API_Element* element, API_ElementMemo* memo)
{
    if (element == nullptr)
        return APIERR_BADPARS;
    const API_ElemTypeID type = element->header.typeID;
    if (type != API_ObjectID) {
        host.recorder.AddFault("the stand-in host does not model the defaults of element type " +
                               std::to_string(static_cast<Int32>(type)) + " yet");
        return APIERR_GENERAL;
    }
    std::memset(static_cast<void*>(element), 0, sizeof *element);
    element->header.typeID = type;
    element->header.layer = 1;
    element->header.floorInd = host.model.currentStory;
    element->object.xRatio = 1.0;
    element->object.yRatio = 1.0;
    if (memo != nullptr)
        std::memset(static_cast<void*>(memo), 0, sizeof *memo);
    return NoError;
}

}  // namespace SimHost
