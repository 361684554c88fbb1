#include "addon/schedule/ReadReinforcement.hpp"
#include "addon/services/ResStringIds.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/services/AddOnGlobals.hpp"
#include "addon/host/HostQueries.hpp"
#include "addon/schedule/ElementCollector.hpp"
#include "addon/schedule/ReadIronParams.hpp"
#include "addon/services/ComplexElementKind.hpp"
#include "addon/services/LibraryParts.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/dg/DGModal.hpp"
#include <cstring>
#include <unordered_map>

namespace {

constexpr Int16 YesButton = ResDlg::LockedLayers::Yes;
constexpr Int16 NoButton = ResDlg::LockedLayers::No;
static_assert(LockedLayersDialogId == ResDlg::LockedLayers::DialogId, "the dialog's resource id");

void Alert(const char* text) { HostReport(text, true); }

// The add-on's part of each library index, asked of the host once per index.
class PartCache {
public:
    // False for a part that is not the add-on's, and for one the host
    // cannot give (`readError` then holds its code; nothing is kept).
    bool Identify(Int32 libInd, LibraryPart& part, GSErrCode& readError)
    {
        readError = NoError;
        auto it = known.find(libInd);
        if (it == known.end()) {
            LibraryPart found = LibraryPart::Mesh;
            const bool ours = IdentifyLibraryPart(libInd, &found, &readError);
            if (readError != NoError)
                return false;
            it = known.emplace(libInd, ours ? static_cast<Int32>(found) : -1).first;
        }
        if (it->second < 0)
            return false;
        part = static_cast<LibraryPart>(it->second);
        return true;
    }

private:
    std::unordered_map<Int32, Int32> known;
};

bool IsComplex(LibraryPart part)
{
    return part == LibraryPart::Crowning || part == LibraryPart::Beam || part == LibraryPart::Column ||
           part == LibraryPart::FourthComplexObject || part == LibraryPart::Mesh;
}

// The complex part that the edit command of `kind` edits.
bool IsEditedKind(LibraryPart part, Int32 kind)
{
    return (part == LibraryPart::Crowning && kind == CrowningKind) || (part == LibraryPart::Beam && kind == BeamKind) ||
           (part == LibraryPart::Column && kind == ColumnKind) ||
           (part == LibraryPart::FourthComplexObject && kind == FourthComplexObjectKind);
}

Int32 CollectorSource(Int32 mode)
{
    if (mode == ReadAll)
        return ElementCollector::AllOfTypes;
    if (mode == ReadSelectedOrAll)
        return ElementCollector::SelectionOrAll;
    return ElementCollector::Selection;
}

}  // namespace

Int16 LockedLayersDialogCallback(Int16 message, Int16, Int16 item, void*)
{
    if (message == DG_MSG_CLICK && (item == YesButton || item == NoButton))
        return item;
    return 0;
}

bool ReadReinforcementObjects(PlacementManager& manager, RunGroups& run, bool readComplex,
                              GS::VAArray<API_Guid>* selectedComplex, API_Guid* listGuid, Int32 mode, Int32 kind,
                              bool silent)
{
    manager.silent = silent;

    API_StoryInfo stories;
    std::memset(static_cast<void*>(&stories), 0, sizeof stories);
    if (HostRequest::GSTO(&stories) != NoError) {
        Alert(GetResString(ResStr::Messages::StoryInfoFailed));
        return false;
    }
    API_DatabaseInfo database;
    std::memset(static_cast<void*>(&database), 0, sizeof database);
    if (HostRequest::GDAT(&database) != NoError) {
        Alert(GetResString(ResStr::Messages::DatabaseFailed));
        return false;
    }
    if (database.typeID != APIWind_FloorPlanID && database.typeID != APIWind_DetailID) {
        Alert(GetResString(ResStr::Messages::OnlyFloorPlanOrDetail));
        return false;
    }

    GS::VAArray<API_ElemTypeID> types;
    types.Push(API_ObjectID);
    ElementCollector collector(types, CollectorSource(mode), ElementCollector::WithElement | ElementCollector::WithMemo);
    if (database.typeID == APIWind_FloorPlanID)
        collector.story = stories.actStory;
    collector.visibleLayerOnly = true;
    collector.CollectElements();
    // An element the host could not give is left out, and the run is then
    // not called done: the user is told how many were left out.
    manager.outcome.Skip(collector.unreadable);
    const Int32 count = collector.GetItemCount();
    if (count == 0)
        return false;

    ProgressWindowOwner* progress = silent ? nullptr : manager.progress;
    if (progress != nullptr)
        progress->StartPhase(GetResString(ResStr::Texts::ReadingElements), count);

    GS::Array<API_Neig> selection;
    Int32 selectionKind = 0;
    const bool selectionEmpty = ReadSelection(selection, selectionKind, false) == APIERR_NOSEL;

    bool first = true;
    bool locked = false;
    Int32 lists = 0;
    PartCache parts;
    IronGroupJoiner joiner(run, silent);
    std::unique_ptr<ComplexGroupJoiner> complexJoiner;
    if (readComplex)
        complexJoiner = std::make_unique<ComplexGroupJoiner>(run, silent);

    // The layer of the first object read decides for the run.
    auto takeLayer = [&](const API_Element& element) {
        if (first)
            manager.layer = element.header.layer;
        first = false;
    };

    for (Int32 t = 0; t < count; ++t) {
        if (progress != nullptr) {
            progress->SetValue(t);
            if (progress->Cancelled()) {
                progress->Close();
                return false;
            }
        }
        std::unique_ptr<ElementItemRecord> item = collector.GetElementItem(t);
        // A collected object the host does not give now cannot be told from
        // a listed bar: a result computed without it would be incomplete, so
        // the run ends here and says so once.
        if (item->readError != NoError) {
            manager.outcome.Fail(item->readError);
            if (progress != nullptr)
                progress->Close();
            return false;
        }
        const API_Element& element = item->element;
        const Int32 layer = element.header.layer;
        LibraryPart part = LibraryPart::Mesh;
        GSErrCode partError = NoError;
        if (!parts.Identify(element.object.libInd, part, partError)) {
            // An object whose part cannot be told may be a listed bar or the
            // list itself: the run ends as for an object it cannot read.
            if (partError != NoError) {
                manager.outcome.Fail(partError);
                if (progress != nullptr)
                    progress->Close();
                return false;
            }
            continue;
        }

        if (part == LibraryPart::List && listGuid != nullptr) {
            if (++lists > 1) {
                Alert(GetResString(selectionEmpty ? ResStr::Messages::OnlyOneCuttingList
                                                  : ResStr::Messages::SelectOneListObject));
                manager.listAllowed = false;
                return false;
            }
            *listGuid = item->guid;
        }

        if (selectedComplex != nullptr && IsEditedKind(part, kind)) {
            selectedComplex->Push(item->guid);
            if (IsLayerLocked(layer))
                return false;
        }

        if (readComplex && IsComplex(part)) {
            takeLayer(element);
            if (IsLayerLocked(layer))
                return false;
            auto record = std::make_unique<ComplexIronProperties>();
            std::string id;
            if (!ReadComplexIronParams(element, item->memo, id, *record))
                return false;
            complexJoiner->Join(std::move(record), id);
        }

        const bool isBar = part == LibraryPart::Rebar || part == LibraryPart::SingleRebar;
        const bool isStirrup = part == LibraryPart::Stirrup;
        const bool isConcrete = part == LibraryPart::Concrete;
        if (isBar || isStirrup || isConcrete) {
            takeLayer(element);
            if (IsLayerLocked(layer))
                locked = true;
            auto record = std::make_unique<IronProperties>();
            std::string id;
            if (!ReadIronParams(element, item->memo, isBar, isStirrup, isConcrete, kind, id, *record))
                return false;
            joiner.Join(std::move(record), id);
        }

        if (part == LibraryPart::List) {
            manager.listGuid = item->guid;
            if (IsLayerLocked(layer))
                locked = true;
        }
    }

    if (!locked && !(manager.layer >= 0 && IsLayerLocked(manager.layer)))
        return true;
    const Int16 answer = DGModalDialog(OwnResourceModule(), LockedLayersDialogId, OwnResourceModule(),
                                       LockedLayersDialogCallback, nullptr);
    if (answer == YesButton)
        return true;
    manager.listAllowed = false;
    return false;
}
