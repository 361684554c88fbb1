#include "addon/complex/ComplexChecks.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostQueries.hpp"
#include "addon/host/Owners.hpp"
#include "addon/schedule/ParamNames.hpp"
#include "addon/services/GdlParams.hpp"
#include <cmath>
#include <cstring>
#include <limits>

namespace {
constexpr double FlagThreshold = 1e-5;
constexpr double PositionTolerance = 0.1;

void Alert(RSStringId message)
{
    HostReport(GetResString(message), false);
}
}  // namespace

std::optional<LibraryPart> ComplexMemberPart(const ComplexPartIndexes& parts, Int32 libInd)
{
    if (libInd == parts.rebar)
        return LibraryPart::Rebar;
    if (libInd == parts.stirrup)
        return LibraryPart::Stirrup;
    if (libInd == parts.concrete)
        return LibraryPart::Concrete;
    if (parts.mesh != 0 && libInd == parts.mesh)
        return LibraryPart::Mesh;
    return std::nullopt;
}

std::optional<PositionRule> RequiredPosition(ComplexElementKind kind, LibraryPart part)
{
    const bool vertical = kind == CrowningKind || kind == ColumnKind;
    switch (part) {
    case LibraryPart::Rebar:
        return vertical ? PositionRule{2, ResStr::Messages::OnlyVerticalRebars}
                        : PositionRule{1, ResStr::Messages::OnlyHorizontalRebars};
    case LibraryPart::Stirrup:
        return vertical ? PositionRule{1, ResStr::Messages::StirrupHorizontal}
                        : PositionRule{2, ResStr::Messages::StirrupVertical};
    case LibraryPart::Concrete:
        if (kind == CrowningKind)
            return PositionRule{2, ResStr::Messages::OnlyVerticalConcrete};
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<RSStringId> CheckObjectParams(ComplexElementKind kind, std::optional<LibraryPart> part,
                                            API_AddParType** params, SelectionTally& tally, ComplexRun run)
{
    // An object of another part is refused whether or not its parameters
    // could be read: it can never be a member of the element. An edit run
    // takes complex objects, lists and single bars along with the bars, but
    // never a mesh.
    const bool member = part == LibraryPart::Rebar || part == LibraryPart::Stirrup || part == LibraryPart::Concrete;
    if (run == ComplexRun::Edit) {
        if (part == LibraryPart::Mesh)
            return ResStr::Messages::NoMeshHighlighted;
        if (!member)
            return std::nullopt;
    } else if (!member) {
        return ResStr::Messages::OnlyBarsStirrupsConcrete;
    }
    const std::optional<PositionRule> rule = RequiredPosition(kind, *part);
    const Int32 count = GdlParams::Count(params);
    for (Int32 i = 0; i < count; ++i) {
        const API_AddParType& rec = *GdlParams::Record(params, i);
        if (std::strcmp(rec.name, ParamName::OnlyOneBar) == 0) {
            if (GdlParams::Number(rec) > FlagThreshold)
                ++tally.singular;
        } else if (std::strcmp(rec.name, ParamName::IronType) == 0) {
            if (kind == CrowningKind && *part == LibraryPart::Rebar &&
                std::fabs(GdlParams::ArrayNumber(rec, 0, 1) - 1.0) > FlagThreshold)
                tally.polygonal = true;
        } else if (std::strcmp(rec.name, ParamName::Position) == 0 && rule.has_value()) {
            // A position that is no number is not the required one.
            const double value = GdlParams::Number(rec, std::numeric_limits<double>::quiet_NaN());
            if (!(std::fabs(value - rule->required) <= PositionTolerance))
                return rule->message;
        }
    }
    return std::nullopt;
}

std::optional<RSStringId> CheckTotals(ComplexElementKind kind, const SelectionTally& tally)
{
    if (tally.items > 0) {
        if (tally.polygonal)
            return ResStr::Messages::NoPolygonalCrownRebars;
        if (tally.singular != tally.rebars)
            return ResStr::Messages::OnlySingularRebars;
    }
    if (kind != CrowningKind && (tally.rebars < 4 || tally.stirrups == 0))
        return ResStr::Messages::SelectRebarsAndStirrup;
    if (kind == CrowningKind && tally.rebars == 0 && tally.stirrups == 0)
        return ResStr::Messages::SelectRebarOrStirrup;
    return std::nullopt;
}

namespace {
bool FindParts(ComplexPartIndexes& parts, ComplexRun run)
{
    struct Lookup {
        LibraryPart part;
        Int32* index;
        RSStringId message;
    };
    const Lookup lookups[] = {
        {LibraryPart::Rebar, &parts.rebar, ResStr::Messages::MissingRebar},
        {LibraryPart::Stirrup, &parts.stirrup, ResStr::Messages::MissingStirrup},
        {LibraryPart::Concrete, &parts.concrete, ResStr::Messages::MissingConcrete},
        {LibraryPart::Mesh, &parts.mesh, ResStr::Messages::MissingMesh},
    };
    for (const Lookup& l : lookups) {
        if (l.part == LibraryPart::Mesh && run != ComplexRun::Edit)
            continue;
        if (FindLibraryPart(l.part, l.index) != NoError) {
            Alert(l.message);
            return false;
        }
    }
    return true;
}
}  // namespace

SelectionCheck CheckSelectionForKind(ComplexElementKind kind, ComplexRun run)
{
    ComplexPartIndexes parts;
    if (!FindParts(parts, run))
        return SelectionCheck::Refused;

    GS::Array<API_Neig> items;
    Int32 selectionKind = 0;
    const GSErrCode err = ReadSelection(items, selectionKind, true);
    if (err == APIERR_NOSEL)
        items.Clear();
    else if (err != NoError)
        return SelectionCheck::Failed;

    SelectionTally tally;
    tally.items = static_cast<Int32>(items.GetSize());
    for (UInt32 i = 0; i < items.GetSize(); ++i) {
        API_ElemTypeID type = API_ZombieElemID;
        if (ElementTypeOf(items[i], type) != NoError || type != API_ObjectID)
            continue;
        if (!HostElementFilter(items[i].guid, APIFilt_OnVisLayer, 0, APINULLGuid))
            continue;
        API_Element element;
        if (ReadElement(items[i].guid, element) != NoError)
            continue;
        const std::optional<LibraryPart> part = ComplexMemberPart(parts, element.object.libInd);
        if (part == LibraryPart::Rebar)
            ++tally.rebars;
        else if (part == LibraryPart::Stirrup)
            ++tally.stirrups;
        MemoOwner memo;
        // A memo the host cannot give leaves no records to walk.
        API_AddParType** params = nullptr;
        if (HostGetMemo(element.header.guid, &memo.Get(), APIMemoMask_AddPars) == NoError)
            params = memo->params;
        if (const std::optional<RSStringId> refusal = CheckObjectParams(kind, part, params, tally, run)) {
            Alert(*refusal);
            return SelectionCheck::Refused;
        }
    }
    if (const std::optional<RSStringId> refusal = CheckTotals(kind, tally)) {
        Alert(*refusal);
        return SelectionCheck::Refused;
    }
    return SelectionCheck::Passed;
}
