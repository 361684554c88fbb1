// The tools' default settings. For objects: the object tool's part, sizes,
// layer and parameters as the settings dialog and ChangeToolDefaults left
// them, on the current story, unrotated; the memo holds the tool's
// parameters when it has some, else none (the caller takes the part's own).
// Other tools are not modelled yet.
#include "simhost/api/HostApi.hpp"
#include "simhost/core/SimHost.hpp"
#include "simhost/model/ParamHandles.hpp"
#include <cstring>

namespace SimHost {

GSErrCode HostApi::GetToolDefaults(API_Element* element, API_ElementMemo* memo)
{
    if (element == nullptr)
        return APIERR_BADPARS;
    const API_ElemTypeID type = element->header.typeID;
    const Int32 variation = element->header.variationID;
    if (type != API_ObjectID) {
        host.recorder.AddFault("the stand-in host does not model the defaults of element type " +
                               std::to_string(static_cast<Int32>(type)) + " yet");
        return APIERR_GENERAL;
    }
    const Model::ObjectTool& tool = host.model.objectTool;
    std::memset(static_cast<void*>(element), 0, sizeof *element);
    element->header.typeID = type;
    element->header.variationID = variation;
    element->header.layer = tool.layer;
    element->header.floorInd = host.model.currentStory;
    element->object.libInd = tool.libInd;
    element->object.xRatio = tool.a;
    element->object.yRatio = tool.b;
    if (memo != nullptr) {
        std::memset(static_cast<void*>(memo), 0, sizeof *memo);
        if (!tool.params.empty()) {
            memo->params = BuildParamHandle(tool.params);
            if (memo->params == nullptr)
                return APIERR_MEMFULL;
        }
    }
    return NoError;
}

}  // namespace SimHost
