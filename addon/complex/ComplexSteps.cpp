#include "addon/complex/ComplexSteps.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/Owners.hpp"
#include "addon/schedule/ElementCollector.hpp"
#include "addon/schedule/ParamNames.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/services/ResStrings.hpp"
#include <cstring>
#include <vector>

namespace {
constexpr UInt64 EveryMemoPartButOne = 0x3FFFFFFFBFFFFFFFull;

// One member rewritten with its group's ID and data: the element's ID is
// the group's, its strIronID "%s - %s" of the prefix and the group's.
void WriteMember(const IronArrayByProperty& group, const IronProperties& member, const char* prefix)
{
    API_Element element;
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    element.header.typeID = API_ObjectID;
    element.header.guid = member.guid;
    HostGetElement(&element);
    MemoOwner memo;
    HostGetMemo(member.guid, &memo.Get(), EveryMemoPartButOne);
    GS::UniString groupId = FromHostText(group.id);
    if (memo->elemInfoString != nullptr)
        *memo->elemInfoString = groupId;

    const IronProperties& key = group.key;
    double type[4];
    for (Int32 c = 0; c < 4; ++c)
        type[c] = key.ironType.Get(0, c);
    GdlParams::WriteNumbers(memo->params, ParamName::IronType, 1, 4, type);
    const double declared = key.ironType.Get(0, 2);
    const Int32 count = declared > 0 ? (declared < key.ironData.RowLength(0) ? static_cast<Int32>(declared)
                                                                              : key.ironData.RowLength(0))
                                     : 0;
    std::vector<double> data;
    for (Int32 c = 0; c < count; ++c)
        data.push_back(key.ironData.Get(0, c));
    GdlParams::WriteNumbers(memo->params, ParamName::IronData, 1, count, data.data());
    const std::string id = prefix != nullptr ? JoinIds(prefix, group.id) : group.id;
    GdlParams::WriteText(memo->params, ParamName::IronId, FromHostText(id));
    GdlParams::WriteText(memo->params, ParamName::IronQuality, FromHostText(key.quality));

    const Int16 layer = static_cast<Int16>(element.header.layer);
    const bool locked = IsLayerLocked(layer);
    if (locked)
        UnlockLayer(layer);
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0xFF, sizeof mask);
    HostChangeElement(&element, &mask, &memo.Get(), EveryMemoPartButOne, true);
    if (locked)
        LockLayer(layer);
}

// The run's results: every member of every group, as one undoable step.
bool WriteBarResults(PlacementManager&, IronGroups& groups, const char* prefix)
{
    const GS::UniString name = GetResUniString(ResStr::AddOnName::Name);
    const UndoableBody body = [&]() -> GSErrCode {
        return CallGuarded("WriteResults", APIERR_GENERAL, [&] {
            for (const IronArrayByProperty* group : groups)
                for (Int32 m = 1; m <= group->members.GetItemCount(); ++m)
                    WriteMember(*group, *group->members[m], prefix);
            return NoError;
        });
    };
    HostRunUndoableCommand(&name, &body);
    return true;
}

// The host's point input is not reached from here yet: no point is given.
GSErrCode NoPointInput(const char*, PlacementOutline, API_Coord3D&)
{
    return APIERR_CANCEL;
}
}  // namespace

PlacementOutline KindOutline(ComplexElementKind kind)
{
    switch (kind) {
    case CrowningKind:
        return PlacementOutline::Crowning;
    case BeamKind:
        return PlacementOutline::Beam;
    case ColumnKind:
        break;
    }
    return PlacementOutline::Column;
}

ComplexSteps DefaultComplexSteps()
{
    ComplexSteps steps;
    steps.writeResults = WriteBarResults;
    steps.clickPoint = NoPointInput;
    return steps;
}

ComplexSteps& CurrentComplexSteps()
{
    static ComplexSteps steps = DefaultComplexSteps();
    return steps;
}
