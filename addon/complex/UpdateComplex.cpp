#include "addon/complex/UpdateComplex.hpp"
#include "addon/complex/BuildComplex.hpp"
#include "addon/complex/ComplexSteps.hpp"
#include "addon/complex/DetailDrawing.hpp"
#include "addon/complex/IronIdDialog.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostRequests.hpp"
#include "addon/host/MemoMasks.hpp"
#include "addon/host/Owners.hpp"
#include "addon/schedule/ElementCollector.hpp"
#include "addon/schedule/LayerUnlock.hpp"
#include "addon/schedule/ParamNames.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/services/ResStrings.hpp"
#include <cstring>
#include <memory>
#include <vector>

namespace {

API_DatabaseInfo ZeroedDatabase(Int32 type)
{
    API_DatabaseInfo info;
    std::memset(static_cast<void*>(&info), 0, sizeof info);
    info.typeID = type;
    return info;
}

constexpr size_t DatabaseTextUnits = sizeof(API_DatabaseInfoFields::ref) / sizeof(GS::uchar_t);

bool SameDatabaseText(const GS::uchar_t* field, const GS::uchar_t* other)
{
    for (size_t i = 0; i < DatabaseTextUnits; ++i) {
        if (field[i] != other[i])
            return false;
        if (field[i] == 0)
            return true;
    }
    return true;
}

// The element's detail drawing: the first whose reference ID is the ID as
// it is stored in a database record.
bool FindDetailDrawing(const std::string& id, API_DatabaseInfo& detail)
{
    API_DatabaseInfo wanted = ZeroedDatabase(APIWind_DetailID);
    SetDatabaseText(wanted.ref, DatabaseTextUnits, id);
    GS::Array<API_Guid> details;
    if (HostRequest::GDDI(&details) != NoError)
        return false;
    for (UInt32 i = 0; i < details.GetSize(); ++i) {
        API_DatabaseInfo info = ZeroedDatabase(APIWind_DetailID);
        info.databaseUnId = details[i];
        if (HostRequest::GDBI(&info) != NoError)
            continue;
        if (SameDatabaseText(info.ref, wanted.ref)) {
            detail = info;
            return true;
        }
    }
    return false;
}

// One bar of the element as the model holds it, and whether a copy in the
// detail drawing was found for it.
struct Member {
    API_Element element;
    MemoOwner memo;
    bool readable = false;  // the bar and its memo were read
    bool matched = false;
};

void ShiftToDetail(API_Element& element, const API_Coord& origin)
{
    element.object.pos.x -= origin.x;
    element.object.pos.y -= origin.y;
    // A copy in a detail drawing belongs to no group of the model.
    element.header.groupGuid = APINULLGuid;
}

bool IsCopiedPart(Int32 libInd)
{
    LibraryPart part = LibraryPart::Mesh;
    if (!IdentifyLibraryPart(libInd, &part))
        return false;
    return part == LibraryPart::Rebar || part == LibraryPart::SingleRebar || part == LibraryPart::Stirrup ||
           part == LibraryPart::Concrete;
}

// The link record on an object; false for an object without one (no user
// data, or too little of it to be a link).
bool ReadBarLink(API_Element& object, BarLinkRecord& link)
{
    API_ElementUserData userData;
    std::memset(static_cast<void*>(&userData), 0, sizeof userData);
    if (HostGetUserData(&object.header, &userData) != NoError)
        return false;
    HandleOwner data(userData.dataHdl);
    if (data.Get() == nullptr || BMhGetSize(data.Get()) < static_cast<Int64>(sizeof link))
        return false;
    std::memcpy(&link, *data.Get(), sizeof link);
    return true;
}

// Runs `write` with the layers `first` and `second` opened when locked,
// and locks them again right after it, inside the edit's step: a copy
// stands on its bar's layer, which may be locked. The code of the write,
// else of a layer that could not be opened or locked again.
template <class Write>
GSErrCode OnOpenLayers(Int32 first, Int32 second, const Write& write)
{
    LayerUnlock openFirst(first);
    if (openFirst.Error() != NoError)
        return openFirst.Error();
    // The same layer again finds it open and leaves it to the first.
    LayerUnlock openSecond(second);
    if (openSecond.Error() != NoError)
        return openSecond.Error();
    const GSErrCode err = write();
    const GSErrCode secondLocked = openSecond.Relock();
    const GSErrCode firstLocked = openFirst.Relock();
    if (err != NoError)
        return err;
    return secondLocked != NoError ? secondLocked : firstLocked;
}

// Overwrites, deletes or keeps each object of the detail drawing (the
// current window) by the bar its link names, then copies the bars that have
// none. The code of the first listing, deletion, change, copy or link that
// failed, for the edit's step to fail with.
GSErrCode MatchCopies(std::vector<std::unique_ptr<Member>>& members, const API_Coord& origin,
                      const API_DatabaseInfo& detail)
{
    GS::Array<API_Guid> objects;
    GSErrCode err = HostListElementsByType(API_ObjectID, &objects, 0, 0, APINULLGuid);
    if (err != NoError)
        return err;
    for (UInt32 o = 0; o < objects.GetSize(); ++o) {
        API_Element object;
        std::memset(static_cast<void*>(&object), 0, sizeof object);
        object.header.guid = objects[o];
        if (HostGetElement(&object) != NoError || !IsCopiedPart(object.object.libInd))
            continue;
        BarLinkRecord link;
        if (!ReadBarLink(object, link))
            continue;
        Member* match = nullptr;
        for (const std::unique_ptr<Member>& m : members)
            if (m->element.header.guid == link.barGuid) {
                match = m.get();
                break;
            }
        if (match == nullptr) {
            GS::Array<API_Guid> gone;
            gone.Push(objects[o]);
            err = OnOpenLayers(object.header.layer, object.header.layer, [&] { return HostDeleteElements(&gone); });
            if (err != NoError)
                return err;
            continue;
        }
        // The bar's record now names the copy, so that a second copy of the
        // same bar finds no member and goes.
        match->matched = true;
        // A bar the host could not give leaves its copy as it is: a zeroed
        // record written over it would destroy it.
        if (!match->readable)
            continue;
        match->element.header.guid = objects[o];
        ShiftToDetail(match->element, origin);
        API_Element mask;
        std::memset(static_cast<void*>(&mask), 0xFF, sizeof mask);
        err = OnOpenLayers(object.header.layer, match->element.header.layer, [&] {
            return HostChangeElement(&match->element, &mask, &match->memo.Get(), MemoAllButBit30, true);
        });
        if (err != NoError)
            return err;
    }
    for (const std::unique_ptr<Member>& m : members) {
        if (m->matched || !m->readable)
            continue;
        BarLinkRecord link;
        link.barGuid = m->element.header.guid;
        ShiftToDetail(m->element, origin);
        err = OnOpenLayers(m->element.header.layer, m->element.header.layer, [&] {
            GSErrCode made = HostCreateElement(&m->element, &m->memo.Get());
            HostDisposeMemo(&m->memo.Get());
            if (made != NoError)
                return made;
            link.copyGuid = m->element.header.guid;
            link.detailDatabaseId = detail.databaseUnId;
            return AttachBarLink(m->element, link);
        });
        if (err != NoError)
            return err;
    }
    return NoError;
}

// Brings the element's detail drawing up to date, making it when there is
// none. The code of the first thing that failed: the drawing, a bar that
// could not be read, the switch to the drawing, a copy.
GSErrCode UpdateDetailDrawing(ComplexElementKind kind, const IronGroups& groups, const std::string& id)
{
    API_DatabaseInfo detail = ZeroedDatabase(APIWind_DetailID);
    if (!FindDetailDrawing(id, detail)) {
        detail = ZeroedDatabase(APIWind_DetailID);
        SetDatabaseText(detail.name, DatabaseTextUnits, DetailDrawingName(id, kind));
        SetDatabaseText(detail.ref, DatabaseTextUnits, id);
        const GSErrCode made = HostRequest::NDAT(&detail);
        if (made != NoError)
            return made;
    }
    // The window to come back to; when the host cannot name it, the floor
    // plan, so that the window never stays on the detail drawing.
    API_DatabaseInfo previous = ZeroedDatabase(APIWind_FloorPlanID);
    if (HostRequest::GDAT(&previous) != NoError)
        previous = ZeroedDatabase(APIWind_FloorPlanID);

    std::vector<std::unique_ptr<Member>> members;
    for (const IronArrayByProperty* group : groups)
        for (Int32 m = 1; m <= group->members.GetItemCount(); ++m) {
            auto member = std::make_unique<Member>();
            std::memset(static_cast<void*>(&member->element), 0, sizeof member->element);
            member->element.header.guid = group->members[m]->guid;
            GSErrCode err = HostGetElement(&member->element);
            if (err == NoError)
                err = HostGetMemo(member->element.header.guid, &member->memo.Get(), MemoAllButBit30);
            // A bar that cannot be read would leave its copy out of date.
            if (err != NoError)
                return err;
            member->readable = true;
            members.push_back(std::move(member));
        }
    const API_Coord origin = PlanOrigin(groups);

    // Copies made while the window still showed the model would land in the
    // model: without the switch the copies stay as they are.
    const GSErrCode switched = HostRequest::CHWD(&detail);
    if (switched != NoError) {
        SwitchBack(previous);
        return switched;
    }
    const GSErrCode matched = MatchCopies(members, origin, detail);
    SwitchBack(previous);
    return matched;
}

// Rewrites one complex object with the element's parameters and notes its
// layer. An object the host cannot give is never written (its zeroed record
// would move it onto no layer with no part): the edit fails with the read's
// code, as it does with a change that fails.
GSErrCode RewriteComplexObject(ComplexElementKind kind, const API_Guid& guid, const IronGroups& groups,
                               const std::string& id, Int16& layer)
{
    API_Element element;
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    element.header.guid = guid;
    MemoOwner memo;
    GSErrCode err = HostGetElement(&element);
    if (err == NoError)
        err = HostGetMemo(guid, &memo.Get(), MemoAllButBit30);
    if (err != NoError)
        return err;
    layer = static_cast<Int16>(element.header.layer);
    InfoStringSetter info(memo.Get(), FromHostText(id));
    // Only the parameters the object has are written: the writers leave out
    // a name the object lacks.
    FillComplexObjectParams(kind, id, groups, memo->params);
    LayerUnlock unlock(layer);
    if (unlock.Error() != NoError)
        return unlock.Error();
    GS::Array<API_Guid> one;
    one.Push(guid);
    err = HostChangeElementsByGuid(&one, &element, &memo.Get(), MemoAllButBit30);
    const GSErrCode relock = unlock.Relock();
    return err != NoError ? err : relock;
}

// The selected list filled for the element on its own layer; the code of
// the read or write that failed.
GSErrCode FillGivenList(ComplexElementKind kind, const IronGroups& groups, const std::string& id,
                        const API_Guid& listGuid)
{
    API_Element element;
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    element.header.guid = listGuid;
    MemoOwner memo;
    GSErrCode err = HostGetElement(&element);
    if (err == NoError)
        err = HostGetMemo(listGuid, &memo.Get(), APIMemoMask_All);
    if (err != NoError)
        return err;
    FillComplexListParams(kind, id, groups, memo->params);
    LayerUnlock unlock(static_cast<Int16>(element.header.layer));
    if (unlock.Error() != NoError)
        return unlock.Error();
    GS::Array<API_Guid> one;
    one.Push(listGuid);
    err = HostChangeElementsByGuid(&one, &element, &memo.Get(), APIMemoMask_All);
    if (err != NoError)
        return err;
    if (!RecomputeGivenList(element, memo))
        return APIERR_GENERAL;
    return unlock.Relock();
}

}  // namespace

GSErrCode UpdateComplexElement(const ObjectModifier& modifier, const IronGroups& groups,
                               const GS::VAArray<API_Guid>& objects, const std::string& id, const API_Guid& listGuid,
                               bool withList)
{
    const ComplexElementKind kind = modifier.kind;
    Int32 libInd = 0;
    if (FindLibraryPart(KindPart(kind), &libInd) != NoError)
        return APIERR_GENERAL;
    Int16 layer = 1;
    for (Int32 i = 1; i <= objects.GetItemCount(); ++i) {
        const GSErrCode err = RewriteComplexObject(kind, objects[i], groups, id, layer);
        if (err != NoError)
            return err;
    }
    const GSErrCode drawn = UpdateDetailDrawing(kind, groups, id);
    if (drawn != NoError || !withList)
        return drawn;
    Int32 listInd = 0;
    if (FindLibraryPart(LibraryPart::List, &listInd) != NoError)
        return APIERR_GENERAL;
    if (listGuid != APINULLGuid)
        return FillGivenList(kind, groups, id, listGuid);
    return PlaceComplexList(kind, id, groups, layer, listInd);
}
