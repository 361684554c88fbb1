#include "addon/complex/BuildComplex.hpp"
#include "addon/complex/ComplexSteps.hpp"
#include "addon/complex/DetailDrawing.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostRequests.hpp"
#include "addon/host/Owners.hpp"
#include "addon/schedule/ElementCollector.hpp"
#include "addon/schedule/LayerUnlock.hpp"
#include "addon/schedule/ParamNames.hpp"
#include "addon/schedule/ReadReinforcement.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/services/ResStrings.hpp"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

template <typename F> void ForEachSubBar(const IronGroups& groups, F&& visit)
{
    for (Int32 g = 1; g <= groups.GetItemCount(); ++g)
        for (Int32 m = 1; m <= groups[g]->members.GetItemCount(); ++m)
            visit(*groups[g], *groups[g]->members[m]);
}

// The members changed, each group's key first made its own: a key shared
// with a member stays the record as it was read.
template <typename F> void ForEachSubBarMutable(IronGroups& groups, F&& visit)
{
    for (Int32 g = 1; g <= groups.GetItemCount(); ++g) {
        groups[g]->OwnKey();
        for (Int32 m = 1; m <= groups[g]->members.GetItemCount(); ++m)
            visit(*groups[g]->members[m]);
    }
}

// Truncated toward zero, never below 0, never beyond `limit`; NaN is 0.
Int32 CountOf(double value, Int32 limit)
{
    if (!(value > 0))
        return 0;
    return value >= static_cast<double>(limit) ? limit : static_cast<Int32>(value);
}

// The data row of a record: `columns` values, the first `own` of them from
// its row 0 and the rest 0.
void AppendDataRow(std::vector<double>& out, const IronProperties& record, Int32 columns)
{
    const Int32 own = DeclaredDataCount(record);
    for (Int32 c = 0; c < columns; ++c)
        out.push_back(c < own ? record.ironData.Get(0, c) : 0.0);
}

void AppendRow(std::vector<double>& out, const RowArray& rows, Int32 columns)
{
    for (Int32 c = 0; c < columns; ++c)
        out.push_back(rows.Get(0, c));
}

void AppendListing(std::vector<double>& out, const ListingColumns& listing)
{
    for (Int32 c = 0; c < ListingColumns::ColumnCount; ++c)
        out.push_back(listing.Get(0, c));
}

void Alert(RSStringId message)
{
    HostReport(GetResString(message), false);
}

}  // namespace

InfoStringSetter::InfoStringSetter(API_ElementMemo& memo, const GS::UniString& text) : memo(memo), own(text)
{
    if (memo.elemInfoString != nullptr)
        *memo.elemInfoString = text;
    else
        memo.elemInfoString = &own;
}

InfoStringSetter::~InfoStringSetter()
{
    if (memo.elemInfoString == &own)
        memo.elemInfoString = nullptr;
}

bool PrepareObject(Int32 libInd, Int16 layer, const API_Coord3D& point, API_Element& element, MemoOwner& memo,
                   bool partParamsRequired)
{
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    element.header.typeID = API_ObjectID;
    if (HostGetToolDefaults(&element, &memo.Get()) != NoError)
        return false;
    element.object.libInd = libInd;
    element.header.layer = layer;
    element.object.angle = 0.0;
    element.object.pos.x = point.x;
    element.object.pos.y = point.y;
    double a = 0.0;
    double b = 0.0;
    Int32 count = 0;
    API_AddParType** defaults = nullptr;
    if (HostGetLibraryPartParams(libInd, &a, &b, &count, &defaults) != NoError) {
        if (defaults != nullptr)
            HostDisposeParamHandle(&defaults);
        return !partParamsRequired;
    }
    if (memo->params != nullptr)
        HostDisposeParamHandle(&memo->params);
    memo->params = defaults;
    return true;
}

RSStringId MissingComplexPartMessage(ComplexElementKind kind)
{
    switch (kind) {
    case CrowningKind:
        return ResStr::Messages::MissingCrowning;
    case BeamKind:
        return ResStr::Messages::MissingBeam;
    case ColumnKind:
        break;
    }
    return ResStr::Messages::MissingColumn;
}

namespace {

GSErrCode CreateComplexObjectCommand(GSErrCode& error, API_Element& element, API_ElementMemo& memo)
{
    error = HostCreateElement(&element, &memo);
    return error;
}

}  // namespace

// Has the list recompute and marks its data as given, as a new list gets
// them; false when it does not recompute.
bool RecomputeGivenList(API_Element& element, MemoOwner& memo)
{
    const UInt32 recalc = APIRecalcParams;
    if (HostRequest::RPAS(&element, &recalc) != NoError)
        return false;
    GS::Array<API_Guid> one;
    one.Push(element.header.guid);
    if (HostChangeElementsByGuid(&one, &element, &memo.Get(), APIMemoMask_All) != NoError)
        return false;
    HostDisposeMemo(&memo.Get());
    std::memset(static_cast<void*>(&memo.Get()), 0, sizeof(API_ElementMemo));
    // A memo the host cannot give again is not written back: an empty one
    // would take the list's data with it.
    if (HostGetMemo(element.header.guid, &memo.Get(), APIMemoMask_All) != NoError)
        return false;
    GdlParams::WriteNumber(memo->params, ParamName::DataInput, 1.0);
    return HostChangeElementsByGuid(&one, &element, &memo.Get(), APIMemoMask_All) == NoError;
}

GSErrCode CreateListObjectCommand(GSErrCode& error, API_Element& element, MemoOwner& memo)
{
    error = HostCreateElement(&element, &memo.Get());
    if (error == NoError && !RecomputeGivenList(element, memo))
        error = APIERR_GENERAL;
    HostDisposeMemo(&memo.Get());
    return error;
}

// The list after the complex object: its point, its object and its data,
// inside the run's step. The layer is opened for the creation and locked
// again inside the step, so that undoing it finds the layer locked as it
// was. NoError also when the user gives no point (no list). The list part's
// index is looked for after the click unless the caller has it.
GSErrCode PlaceComplexList(ComplexElementKind kind, const std::string& id, const IronGroups& groups, Int16 layer,
                           std::optional<Int32> knownListInd)
{
    const bool regenerate = true;
    HostRequest::RBLD(&regenerate);
    API_Coord3D point{0, 0, 0};
    // The user's cancel places no list; a point input that fails otherwise
    // fails the step.
    const GSErrCode input = CurrentComplexSteps().clickPoint(GetResString(ResStr::Messages::ClickToPlaceList),
                                                             PlacementOutline::List, point);
    if (input != NoError)
        return input == APIERR_CANCEL ? NoError : input;
    Int32 listInd = knownListInd.value_or(0);
    if (!knownListInd && FindLibraryPart(LibraryPart::List, &listInd) != NoError)
        return APIERR_GENERAL;
    API_Element element;
    MemoOwner memo;
    // Without the part's parameters the list would hold none of its data.
    if (!PrepareObject(listInd, layer, point, element, memo, true))
        return APIERR_GENERAL;
    FillComplexListParams(kind, id, groups, memo->params);
    LayerUnlock unlock(layer);
    if (unlock.Error() != NoError)
        return unlock.Error();
    GSErrCode error = NoError;
    CreateListObjectCommand(error, element, memo);
    if (error != NoError)
        return error;
    return unlock.Relock();
}


Int32 DeclaredDataCount(const IronProperties& record)
{
    return CountOf(record.ironType.Get(0, 2), record.ironData.RowLength(0));
}

void NormalizeBarPositions(const ObjectCreator&, IronGroups& groups)
{
    if (groups.GetItemCount() == 0 || groups[1]->members.GetItemCount() == 0)
        return;
    double minimum[3];
    std::copy(groups[1]->members[1]->position, groups[1]->members[1]->position + 3, minimum);
    ForEachSubBarMutable(groups, [&](IronProperties& bar) {
        for (int c = 0; c < 3; ++c)
            minimum[c] = std::min(minimum[c], bar.position[c]);
    });
    ForEachSubBarMutable(groups, [&](IronProperties& bar) {
        for (int c = 0; c < 3; ++c) {
            bar.position[c] -= minimum[c];
            bar.symbolBox[c] -= minimum[c];
            bar.symbolBox[c + 3] -= minimum[c];
        }
    });
}

Int32 SubBarCount(const IronGroups& groups)
{
    Int32 w = 0;
    for (Int32 g = 1; g <= groups.GetItemCount(); ++g)
        w += groups[g]->members.GetItemCount();
    return w;
}

API_Coord PlanOrigin(const IronGroups& groups)
{
    bool first = true;
    API_Coord origin{0, 0};
    ForEachSubBar(groups, [&](const IronArrayByProperty&, const IronProperties& bar) {
        origin.x = first ? bar.planBox[0] : std::min(origin.x, bar.planBox[0]);
        origin.y = first ? bar.planBox[1] : std::min(origin.y, bar.planBox[1]);
        first = false;
    });
    return origin;
}

void FillComplexObjectParams(ComplexElementKind kind, const std::string& id, const IronGroups& groups,
                             API_AddParType** params)
{
    const Int32 w = SubBarCount(groups);
    Int32 m = 0;
    for (const IronArrayByProperty* group : groups)
        m = std::max(m, DeclaredDataCount(group->Key()));

    std::vector<double> types, data, listing, extra, positions, rotations, mirrored;
    std::vector<GS::UniString> ids, qualities;
    double box[6] = {0, 0, 0, 0, 0, 0};
    bool first = true;
    ForEachSubBar(groups, [&](const IronArrayByProperty& group, const IronProperties& bar) {
        AppendRow(types, bar.ironType, 4);
        AppendDataRow(data, bar, m);
        AppendListing(listing, bar.listingColumns);
        AppendRow(extra, bar.ironExtraData, 10);
        positions.insert(positions.end(), bar.position, bar.position + 3);
        rotations.push_back(bar.rotation);
        mirrored.push_back(bar.mirrored ? -1.0 : 1.0);
        ids.push_back(FromHostText(JoinIds(id, group.id)));
        qualities.push_back(FromHostText(group.Key().quality));
        for (int c = 0; c < 3; ++c) {
            box[c] = first ? bar.symbolBox[c] : std::min(box[c], bar.symbolBox[c]);
            box[c + 3] = first ? bar.symbolBox[c + 3] : std::max(box[c + 3], bar.symbolBox[c + 3]);
        }
        first = false;
    });

    GdlParams::WriteText(params, ParamName::IronId, FromHostText(id));
    GdlParams::WriteNumbers(params, ParamName::IronType, w, 4, types.data());
    GdlParams::WriteNumber(params, ParamName::ApiGenerated, 1.0);
    GdlParams::WriteNumbers(params, ParamName::IronData, w, m, data.data());
    if (kind != CrowningKind)
        GdlParams::WriteNumbers(params, ParamName::IronListingData, w, ListingColumns::ColumnCount, listing.data());
    GdlParams::WriteNumbers(params, ParamName::IronExtraData, w, 10, extra.data());
    GdlParams::WriteNumbers(params, ParamName::SubBarPositions, w, 3, positions.data());
    GdlParams::WriteNumbers(params, ParamName::SubBarBox, 1, 6, box);
    GdlParams::WriteNumbers(params, ParamName::SubBarRotations, w, 1, rotations.data());
    GdlParams::WriteNumbers(params, ParamName::SubBarMirrored, w, 1, mirrored.data());
    GdlParams::WriteTexts(params, ParamName::SubBarIds, w, 1, ids.data());
    GdlParams::WriteTexts(params, ParamName::SubBarQualities, w, 1, qualities.data());
}

void FillComplexListParams(ComplexElementKind kind, const std::string& id, const IronGroups& groups,
                           API_AddParType** params)
{
    std::vector<const IronArrayByProperty*> rows;
    Int32 columns = 0;
    for (const IronArrayByProperty* group : groups)
        if (!group->Key().isConcrete) {
            rows.push_back(group);
            columns = std::max(columns, DeclaredDataCount(group->Key()));
        }
    const Int32 r = static_cast<Int32>(rows.size());
    std::vector<GS::UniString> strings;
    std::vector<double> types, data, extra, listing;
    for (const IronArrayByProperty* group : rows) {
        strings.push_back(FromHostText(JoinIds(id, group->id)));
        strings.push_back(FromHostText(group->Key().quality));
        AppendRow(types, group->Key().ironType, 4);
        AppendDataRow(data, group->Key(), columns);
        AppendRow(extra, group->Key().ironExtraData, 10);
        AppendListing(listing, group->Key().listingColumns);
    }
    GdlParams::WriteTexts(params, ParamName::ListStrings, r, 2, strings.data());
    GdlParams::WriteNumbers(params, ParamName::IronType, r, 4, types.data());
    GdlParams::WriteNumbers(params, ParamName::IronData, r, columns, data.data());
    GdlParams::WriteNumbers(params, ParamName::IronExtraData, r, 10, extra.data());
    GdlParams::WriteNumbers(params, ParamName::IronListingData, r, ListingColumns::ColumnCount, listing.data());
    GdlParams::WriteNumber(params, ParamName::ListType, KindListType(kind));
    GdlParams::WriteText(params, ParamName::ListName, FromHostText(id));
}

bool ReadNumberedSelection(ComplexElementKind kind, PlacementManager& manager, RunGroups& run,
                           GS::VAArray<API_Guid>* selectedComplex, API_Guid* listGuid)
{
    manager.listGuid = APINULLGuid;
    manager.layer = -1;
    manager.listAllowed = false;
    manager.listAborted = false;
    manager.silent = true;
    ReadOptions reading;
    reading.mode = ReadSelected;
    reading.editedKind = kind;
    reading.silent = true;
    if (!ReadReinforcementObjects(manager, run, reading, selectedComplex, listGuid))
        return false;
    // The passes' results are not looked at: they are silent and cannot be
    // cancelled here.
    MakeIdsUnique(manager, run.groups);
    SortGroupsById(manager, run.groups);
    CompressGroups(manager, run.groups);
    SortGroupsByProperties(manager, run.groups);
    RenumberGroups(manager, run.groups);
    return true;
}

bool BuildComplexElement(const ObjectCreator& creator, const std::string& id, Int16 layer, bool withList,
                         const API_Coord3D& point)
{
    PlacementManager manager;
    RunGroups run;
    if (!ReadNumberedSelection(creator.kind, manager, run, nullptr, nullptr)) {
        manager.outcome.Tell();
        return false;
    }
    Int32 libInd = 0;
    if (FindLibraryPart(KindPart(creator.kind), &libInd) != NoError) {
        Alert(MissingComplexPartMessage(creator.kind));
        return false;
    }
    if (withList) {
        Int32 listInd = 0;
        if (FindLibraryPart(LibraryPart::List, &listInd) != NoError) {
            Alert(ResStr::Messages::MissingList);
            return false;
        }
    }
    API_Element element;
    MemoOwner memo;
    if (!PrepareObject(libInd, layer, point, element, memo, true)) {
        Alert(ResStr::Messages::DefaultParamsFailed);
        return false;
    }
    // One step for the whole element: the bars' IDs, the element, its
    // detail drawing with the copies and links, and its list. A part that
    // fails takes every other part back with it, so that the model never
    // keeps a beam without its list or copies, or bars without IDs.
    const GS::UniString undoName = KindUndoName(creator.kind);
    CommandOutcome& outcome = manager.outcome;
    RunUndoableStep(
        outcome,
        [&]() -> GSErrCode {
            if (!CurrentComplexSteps().writeResults(manager, run.groups, id.c_str()))
                return outcome.Fail();
            NormalizeBarPositions(creator, run.groups);
            const API_Coord origin = PlanOrigin(run.groups);
            {
                InfoStringSetter info(memo.Get(), FromHostText(id));
                FillComplexObjectParams(creator.kind, id, run.groups, memo->params);
                // A locked layer the user chose is opened for the creation
                // and locked again inside the same step: the element goes
                // where the user asked, and undoing the step finds the layer
                // locked as it was.
                LayerUnlock unlock(layer);
                if (unlock.Error() != NoError)
                    return outcome.Fail(unlock.Error());
                GSErrCode error = NoError;
                if (CreateComplexObjectCommand(error, element, memo.Get()) != NoError)
                    return outcome.Fail(error);
                if (!outcome.Check(unlock.Relock()))
                    return outcome.BodyResult();
            }
            if (!outcome.Check(CreateDetailDrawing(creator.kind, id, undoName, run.groups, origin)))
                return outcome.BodyResult();
            if (withList &&
                !outcome.Check(PlaceComplexList(creator.kind, id, run.groups, static_cast<Int16>(element.header.layer), std::nullopt)))
                return outcome.BodyResult();
            return NoError;
        },
        &undoName);
    HostDisposeMemo(&memo.Get());
    return outcome.Tell();
}
