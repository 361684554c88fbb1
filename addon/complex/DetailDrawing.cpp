#include "addon/complex/DetailDrawing.hpp"
#include "addon/complex/IronIdDialog.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostRequests.hpp"
#include "addon/host/MemoMasks.hpp"
#include "addon/host/Owners.hpp"
#include "addon/schedule/LayerUnlock.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/gs/Memory.hpp"
#include <cstring>
#include <memory>
#include <vector>

void SwitchBack(const API_DatabaseInfo& previous)
{
    if (HostRequest::CHWD(&previous) == NoError)
        return;
    API_DatabaseInfo plan;
    std::memset(static_cast<void*>(&plan), 0, sizeof plan);
    plan.typeID = APIWind_FloorPlanID;
    HostRequest::CHWD(&plan);
}

void SetDatabaseText(GS::uchar_t* field, size_t units, const std::string& text)
{
    const GS::UniString converted = FromHostText(text, static_cast<Int32>(units - 1));
    std::memset(field, 0, units * sizeof(GS::uchar_t));
    std::memcpy(field, converted.ToUStr(), converted.GetLength() * sizeof(GS::uchar_t));
}

GSErrCode AttachBarLink(API_Element& element, const BarLinkRecord& link)
{
    HandleOwner data(BMhAll(sizeof link));
    if (data.Get() == nullptr)
        return APIERR_MEMFULL;
    std::memcpy(*data.Get(), &link, sizeof link);
    API_ElementUserData userData;
    std::memset(static_cast<void*>(&userData), 0, sizeof userData);
    userData.dataVersion = BarLinkVersion;
    userData.platformSign = BarLinkPlatformSign;
    userData.dataHdl = data.Get();
    return HostSetUserData(&element.header, &userData);
}

GSErrCode CopyBarsToDetailCommand(Int32 w, GSHandle links, API_Element* elements, const API_Coord& origin,
                                  API_ElementMemo* memos, const API_DatabaseInfo& detail)
{
    BarLinkRecord* records = reinterpret_cast<BarLinkRecord*>(*links);
    for (Int32 i = 0; i < w; ++i) {
        API_Element& element = elements[i];
        const API_Guid bar = element.header.guid;
        records[i].barGuid = bar;
        // A bar that could not be read gives no copy: the drawing would
        // miss it, so the step fails and is taken back whole.
        if (element.header.typeID == API_ZombieElemID)
            return APIERR_GENERAL;
        element.object.pos.x -= origin.x;
        element.object.pos.y -= origin.y;
        element.header.groupGuid = APINULLGuid;
        // The copy stands on its bar's layer, and the bar takes its link:
        // a locked layer is opened for both and locked again before the
        // next bar, inside this step, so that undoing it finds the layer
        // locked as it was.
        LayerUnlock unlock(element.header.layer);
        if (unlock.Error() != NoError) {
            HostDisposeMemo(&memos[i]);
            return unlock.Error();
        }
        const GSErrCode created = HostCreateElement(&element, &memos[i]);
        HostDisposeMemo(&memos[i]);
        // A bar the host did not copy ends the step: the record still holds
        // the bar's own GUID, and a link naming the bar as its own copy would
        // hand the bar to whatever later updates or removes the copies.
        if (created != NoError)
            return created;
        records[i].copyGuid = element.header.guid;
        records[i].detailDatabaseId = detail.databaseUnId;
        GSErrCode err = AttachBarLink(element, records[i]);
        if (err != NoError)
            return err;
        // The bar gets its link in the same step as its copy, since the host
        // takes user data only inside an undoable step, and undoing the
        // copies then takes the links that name them along.
        API_Element barRecord;
        std::memset(static_cast<void*>(&barRecord), 0, sizeof barRecord);
        barRecord.header.typeID = element.header.typeID;
        barRecord.header.guid = bar;
        err = AttachBarLink(barRecord, records[i]);
        if (err != NoError)
            return err;
        err = unlock.Relock();
        if (err != NoError)
            return err;
    }
    return NoError;
}

GSErrCode CreateDetailDrawing(ComplexElementKind kind, const std::string& id, const GS::UniString& undoName,
                              const IronGroups& groups, const API_Coord& origin)
{
    API_DatabaseInfo detail;
    std::memset(static_cast<void*>(&detail), 0, sizeof detail);
    detail.typeID = APIWind_DetailID;
    const size_t units = sizeof detail.name / sizeof detail.name[0];
    SetDatabaseText(detail.name, units, DetailDrawingName(id, kind));
    SetDatabaseText(detail.ref, units, id);
    const GSErrCode made = HostRequest::NDAT(&detail);
    if (made != NoError)
        return made;
    // The window to come back to; when the host cannot name it, the floor
    // plan, so that the window never stays on the new drawing.
    API_DatabaseInfo previous;
    std::memset(static_cast<void*>(&previous), 0, sizeof previous);
    if (HostRequest::GDAT(&previous) != NoError) {
        std::memset(static_cast<void*>(&previous), 0, sizeof previous);
        previous.typeID = APIWind_FloorPlanID;
    }

    std::vector<const IronProperties*> bars;
    for (const IronArrayByProperty* group : groups)
        for (Int32 m = 1; m <= group->members.GetItemCount(); ++m)
            bars.push_back(group->members[m]);
    const Int32 w = static_cast<Int32>(bars.size());
    std::vector<API_Element> elements(bars.size());
    std::unique_ptr<MemoOwner[]> memos(new MemoOwner[bars.size()]);
    for (Int32 i = 0; i < w; ++i) {
        API_Element& element = elements[static_cast<size_t>(i)];
        std::memset(static_cast<void*>(&element), 0, sizeof element);
        element.header.guid = bars[static_cast<size_t>(i)]->guid;
        // A bar the host cannot give whole is marked as no element, so that
        // no copy is made from a half-read record.
        if (HostGetElement(&element) != NoError ||
            HostGetMemo(element.header.guid, &memos[static_cast<size_t>(i)].Get(), MemoAllButBit30) != NoError)
            element.header.typeID = API_ZombieElemID;
    }
    // Copies made while the window still showed the model would land in
    // the model: without the switch there are no copies.
    const GSErrCode switched = HostRequest::CHWD(&detail);
    if (switched != NoError)
        return switched;
    HandleOwner links(BMhAllClear(static_cast<Int64>(sizeof(BarLinkRecord)) * (w > 0 ? w : 1)));
    if (links.Get() != nullptr) {
        // The memos are handed over as one array; each owner still disposes
        // its own afterwards, which finds it empty.
        std::vector<API_ElementMemo> memoArray(bars.size());
        for (Int32 i = 0; i < w; ++i) {
            memoArray[static_cast<size_t>(i)] = memos[static_cast<size_t>(i)].Get();
            std::memset(static_cast<void*>(&memos[static_cast<size_t>(i)].Get()), 0, sizeof(API_ElementMemo));
        }
        const UndoableBody body = [&]() -> GSErrCode {
            return CallGuarded("CopyBarsToDetailCommand", APIERR_GENERAL, [&] {
                return CopyBarsToDetailCommand(w, links.Get(), elements.data(), origin, memoArray.data(), detail);
            });
        };
        const GSErrCode undoErr = HostRunUndoableCommand(&undoName, &body);
        // A step the host did not run leaves the memos to be disposed here.
        for (API_ElementMemo& memo : memoArray)
            HostDisposeMemo(&memo);
        SwitchBack(previous);
        return undoErr;
    }
    SwitchBack(previous);
    return APIERR_MEMFULL;
}
