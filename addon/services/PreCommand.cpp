#include "addon/services/PreCommand.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/services/LibraryParts.hpp"
#include "addon/services/ResStrings.hpp"
#include "addon/services/AddOnGlobals.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostQueries.hpp"
#include "addon/host/HostRequests.hpp"
#include "addon/host/MemoMasks.hpp"
#include "addon/host/Owners.hpp"
#include <cmath>
#include <cstdio>

namespace {

constexpr Int32 ProgressWarningCount = 200;

// The parts searched, in order, with the message for a missing one.
struct PartCheck {
    LibraryPart part;
    RSStringId message;
};
constexpr PartCheck PartChecks[] = {
    {LibraryPart::Rebar, ResStr::Messages::MissingRebar},
    {LibraryPart::SingleRebar, ResStr::Messages::MissingSingleRebar},
    {LibraryPart::Stirrup, ResStr::Messages::MissingStirrup},
    {LibraryPart::Concrete, ResStr::Messages::MissingConcrete},
    {LibraryPart::Mesh, ResStr::Messages::MissingMesh},
    {LibraryPart::Column, ResStr::Messages::MissingColumn},
    {LibraryPart::Beam, ResStr::Messages::MissingBeam},
    {LibraryPart::Crowning, ResStr::Messages::MissingCrowning},
    {LibraryPart::List, ResStr::Messages::MissingList},
    {LibraryPart::FourthComplexObject, ResStr::Messages::MissingFourthComplexObject},
};
constexpr int VersionedPartCount = 9;  // all but the last carry a version range

bool SuspendGroupsToggle()
{
    GS::Array<API_Guid> none;
    return HostRequest::SUSP(&none) == NoError;
}

// The object's version range from its current parameters; the first
// record of each name in handle order decides. A record that holds no
// single number counts as missing.
struct VersionRange {
    double minimum = 9999;
    double maximum = -1;
};

VersionRange ReadVersionRange(API_AddParType** params)
{
    VersionRange range;
    GdlParams::ForEachNamedReverse(params, "minApiVersion",
                                   [&](API_AddParType& rec) { range.minimum = GdlParams::Number(rec, range.minimum); });
    GdlParams::ForEachNamedReverse(params, "maxApiVersion",
                                   [&](API_AddParType& rec) { range.maximum = GdlParams::Number(rec, range.maximum); });
    return range;
}

// The range's ends count as whole numbers, truncated toward zero. Compared
// as doubles, so that no value (a huge one, an infinity) wraps around on
// its way to an integer; NaN accepts nothing.
bool AcceptsThisVersion(const VersionRange& range)
{
    return std::trunc(range.minimum) <= AddOnVersion && std::trunc(range.maximum) >= AddOnVersion;
}

}  // namespace

void SuspendGroupsBracket::Before()
{
    bool on = false;
    HostRequest::ISSG(&on);
    toggledOn = !on && SuspendGroupsToggle();
}

void SuspendGroupsBracket::After()
{
    // Only a toggle that happened is undone: toggling after a failed first
    // toggle would switch the user's mode on for good.
    if (toggledOn)
        SuspendGroupsToggle();
    toggledOn = false;
}

GSErrCode CheckLibraryAndSelection()
{
    Int32 libIndices[VersionedPartCount] = {};
    for (int i = 0; i < static_cast<int>(sizeof PartChecks / sizeof PartChecks[0]); ++i) {
        Int32 index = 0;
        if (FindLibraryPart(PartChecks[i].part, &index) != NoError) {
            HostReport(GetResString(PartChecks[i].message), true);
            return APIERR_GENERAL;
        }
        if (i < VersionedPartCount)
            libIndices[i] = index;
    }

    GS::Array<API_Neig> selection;
    Int32 selectionKind = 0;
    GSErrCode err = ReadSelection(selection, selectionKind);
    if (err == APIERR_NOSEL)
        err = NoError;
    if (err != NoError)
        return err;
    if (selectionKind == 0)
        return NoError;

    ProgressWindowOwner progress(GetResString(ResStr::Texts::Preprocessing), 1);
    Int32 count = static_cast<Int32>(selection.GetSize());
    if (count <= ProgressWarningCount)
        progress.StartPhase(GetResString(ResStr::Texts::Preprocessing), count);
    else
        progress.StartPhase(GetResString(ResStr::Texts::TakesAFewMinutes), count, true);

    for (const API_Neig& item : selection) {
        progress.Advance(1);
        if (progress.Cancelled())
            return APIERR_GENERAL;
        API_ElemTypeID type = API_ZombieElemID;
        if (ElementTypeOf(item, type) != NoError)
            continue;  // an item whose type the host cannot tell is not the add-on's
        if (type != API_ObjectID)
            continue;
        API_Element element;
        if (ReadElement(item.guid, element) != NoError)
            continue;
        bool ours = false;
        for (Int32 index : libIndices)
            ours = ours || index == element.object.libInd;
        if (!ours)
            continue;
        UInt32 recalc = APIRecalcParams;
        GSErrCode recalcErr = HostRequest::RPAS(&element, &recalc);
        VersionRange range;
        {
            MemoOwner memo;
            if (HostGetMemo(item.guid, &memo.Get(), MemoAllButBit30) == NoError)
                range = ReadVersionRange(memo->params);
        }
        if (AcceptsThisVersion(range)) {
            if (recalcErr != NoError) {
                char text[1024];
                std::snprintf(text, sizeof text, "Error: %d", static_cast<int>(recalcErr));
                HostReport(text, true);
                return recalcErr;
            }
            continue;
        }
        HostReport(GetResString(ResStr::Messages::VersionMismatch), true);
        return APIERR_GENERAL;
    }
    return NoError;
}
