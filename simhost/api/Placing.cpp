// Placing reinforcement into host elements: changing the object tool's
// defaults and its settings dialog, links between elements, element
// observers, the decomposition of roofs of several planes, the selection's
// post call and wall outlines.
#include "simhost/model/ElementRecords.hpp"
#include "simhost/api/HostApi.hpp"
#include "simhost/api/Requests.hpp"
#include "simhost/api/Walls.hpp"
#include "simhost/core/SimHost.hpp"
#include "simhost/model/ParamHandles.hpp"
#include "platform/gs/Memory.hpp"
#include <chrono>
#include <cstring>

namespace SimHost {

namespace {

// A part's default size: its "A" or "B" parameter, 1 without one.
double DefaultSize(const GdlParams& defaults, const char* name)
{
    const GdlParam* p = FindParam(defaults, name);
    return p != nullptr && p->kind == GdlParam::Kind::Number ? p->number : 1.0;
}

}  // namespace

// ---------------------------------------------------------------- the object tool
GSErrCode HostApi::ChangeToolDefaults(API_Element* element, const API_Element* mask, API_ElementMemo* memo)
{
    if (element == nullptr || element->header.typeID != API_ObjectID)
        return APIERR_BADPARS;
    Model::ObjectTool& tool = host.model.objectTool;
    GdlParams params;
    if (memo != nullptr && memo->params != nullptr) {
        std::string fault;
        if (!ReadParamHandle(memo->params, params, fault)) {
            host.recorder.AddFault("ChangeToolDefaults: " + fault);
            return APIERR_BADPARS;
        }
    }
    if (mask == nullptr || MaskSet(mask->object.libInd)) {
        if (element->object.libInd != 0 && host.libraries.PartOfIndex(element->object.libInd) == nullptr)
            return APIERR_BADINDEX;
        tool.libInd = element->object.libInd;
    }
    if (mask == nullptr || MaskSet(mask->object.xRatio))
        tool.a = element->object.xRatio;
    if (mask == nullptr || MaskSet(mask->object.yRatio))
        tool.b = element->object.yRatio;
    if (memo != nullptr && memo->params != nullptr)
        tool.params = params;
    return NoError;
}

GSErrCode RequestHandlers::SETD(const API_ToolBoxItem* tool)
{
    if (tool == nullptr || tool->typeID != API_ObjectID)
        return APIERR_BADPARS;
    std::deque<SettingsDialogAnswer>& answers = host.user.settingsDialogs;
    if (answers.empty() || answers.front().cancel) {
        if (!answers.empty())
            answers.pop_front();
        host.recorder.events.push_back("object settings dialog: cancelled");
        return APIERR_CANCEL;
    }
    const SettingsDialogAnswer answer = answers.front();
    answers.pop_front();
    Model::ObjectTool& defaults = host.model.objectTool;
    if (!answer.part.empty()) {
        const Int32 index = host.libraries.IndexOfPart(answer.part);
        const LibraryPartDef* part = host.libraries.PartOfIndex(index);
        if (part == nullptr) {
            host.recorder.events.push_back("object settings dialog: part " + answer.part + " is not loaded; cancelled");
            return APIERR_CANCEL;
        }
        if (index != defaults.libInd) {
            defaults.libInd = index;
            defaults.params = part->defaults;
            defaults.a = DefaultSize(part->defaults, "A");
            defaults.b = DefaultSize(part->defaults, "B");
        }
    }
    for (const GdlParam& typed : answer.params) {
        GdlParam* p = FindParam(defaults.params, typed.name);
        if (p != nullptr)
            *p = typed;
        else
            defaults.params.push_back(typed);
    }
    host.recorder.events.push_back("object settings dialog: OK with part " + std::to_string(defaults.libInd));
    return NoError;
}

// ---------------------------------------------------------------- links and observers
GSErrCode HostApi::LinkElements(API_Guid source, API_Guid target, Int32)
{
    if (host.model.Find(source) == nullptr || host.model.Find(target) == nullptr)
        return APIERR_BADID;
    const GSErrCode err = host.RequireUndoScope("link of " + GuidText(target) + " to " + GuidText(source));
    if (err != NoError)
        return err;
    host.model.links.Link(source, target);
    return NoError;
}

GSErrCode HostApi::GetLinkedElements(API_Guid source, GS::Array<API_Guid>* linked)
{
    if (linked == nullptr)
        return APIERR_BADPARS;
    if (host.model.Find(source) == nullptr)
        return APIERR_BADID;
    linked->Clear();
    if (const std::vector<API_Guid>* list = host.model.links.LinkedTo(source))
        for (const API_Guid& g : *list)
            if (host.model.Find(g) != nullptr)
                linked->Push(g);
    return NoError;
}

GSErrCode HostApi::AttachElementObserver(API_Guid guid, UInt32)
{
    if (host.model.Find(guid) == nullptr)
        return APIERR_BADID;
    ++host.model.links.observers[guid];
    return NoError;
}

// ---------------------------------------------------------------- roofs of several planes
GSErrCode HostApi::DecomposeElement(API_Guid guid, API_ElementDecomposerInterface* decomposer)
{
    if (decomposer == nullptr)
        return APIERR_BADPARS;
    const Element* e = host.model.Find(guid);
    if (e == nullptr)
        return APIERR_BADID;
    const RoofPart* roof = e->As<RoofPart>();
    if (roof == nullptr || roof->roofClass == 0)
        return APIERR_BADPARS;
    const Int16 story = e->story;
    const std::vector<RoofPlaneDef> planes = roof->planes;  // the add-on may add elements meanwhile
    for (const RoofPlaneDef& plane : planes) {
        API_Element record;
        std::memset(static_cast<void*>(&record), 0, sizeof record);
        record.header.typeID = API_RoofID;
        record.header.guid = guid;
        record.header.floorInd = story;
        record.roof.roofClass = 0;
        FillRoofPlane(plane, record.roof);
        API_ElementMemo memo;
        std::memset(static_cast<void*>(&memo), 0, sizeof memo);
        if (!FillPolygonMemo(plane.outline, memo))
            return APIERR_MEMFULL;
        {
            AddOnCallbackClock addOnTime(host.recorder);
            decomposer->ConvertPlane(guid, plane.partId, record, memo);
        }
        DisposeMemo(&memo);
    }
    return NoError;
}

// ---------------------------------------------------------------- the selection
GSErrCode HostApi::PostSelectionCall() { return NoError; }

// ---------------------------------------------------------------- wall outlines
// A free wall's outline is its plan polygon: four corners for a straight
// wall; a wall joined to others at corners reaches across them.
GSErrCode HostApi::GetWallOutline(API_Guid guid, API_ElemTypeID type, API_ElementOutline* outline)
{
    if (outline == nullptr || type != API_WallID)
        return APIERR_BADPARS;
    const Element* e = host.model.Find(guid);
    if (e == nullptr)
        return APIERR_BADID;
    const WallPart* wall = e->As<WallPart>();
    if (wall == nullptr)
        return APIERR_BADPARS;
    API_ElementMemo memo;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    std::vector<const WallPart*> joined;
    for (const API_Guid& other : wall->joinedWith)
        if (const Element* j = host.model.Find(other))
            joined.push_back(j->As<WallPart>());
    if (!HandOutWallPlanPolygon(*wall, memo, joined)) {
        DisposeMemo(&memo);
        return APIERR_MEMFULL;
    }
    outline->coords = memo.coords;
    outline->pends = memo.pends;
    outline->parcs = memo.parcs;
    return NoError;
}

GSErrCode HostApi::DisposeOutlineRecord(API_ElementOutline* outline)
{
    if (outline == nullptr)
        return APIERR_BADPARS;
    GSHandle h = reinterpret_cast<GSHandle>(outline->coords);
    BMhKill(&h);
    h = reinterpret_cast<GSHandle>(outline->pends);
    BMhKill(&h);
    h = reinterpret_cast<GSHandle>(outline->parcs);
    BMhKill(&h);
    outline->coords = nullptr;
    outline->pends = nullptr;
    outline->parcs = nullptr;
    return NoError;
}

}  // namespace SimHost
