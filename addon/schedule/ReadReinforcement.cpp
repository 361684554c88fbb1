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
bool IsEditedKind(LibraryPart part, ComplexElementKind kind)
{
    return (part == LibraryPart::Crowning && kind == CrowningKind) || (part == LibraryPart::Beam && kind == BeamKind) ||
           (part == LibraryPart::Column && kind == ColumnKind) ||
           (part == LibraryPart::FourthComplexObject && kind == FourthComplexObjectKind);
}

Int32 CollectorSource(ReadMode mode)
{
    if (mode == ReadAll)
        return ElementCollector::AllOfTypes;
    if (mode == ReadSelectedOrAll)
        return ElementCollector::SelectionOrAll;
    return ElementCollector::Selection;
}

// The view the run reads: its database, and its story when it is a floor
// plan. False, with the message, when the host cannot tell them or the
// view is neither a floor plan nor a detail.
bool ReadView(API_DatabaseInfo& database, API_StoryInfo& stories)
{
    std::memset(static_cast<void*>(&stories), 0, sizeof stories);
    if (HostRequest::GSTO(&stories) != NoError) {
        Alert(GetResString(ResStr::Messages::StoryInfoFailed));
        return false;
    }
    std::memset(static_cast<void*>(&database), 0, sizeof database);
    if (HostRequest::GDAT(&database) != NoError) {
        Alert(GetResString(ResStr::Messages::DatabaseFailed));
        return false;
    }
    if (database.typeID != APIWind_FloorPlanID && database.typeID != APIWind_DetailID) {
        Alert(GetResString(ResStr::Messages::OnlyFloorPlanOrDetail));
        return false;
    }
    return true;
}

// One reading of the collected objects into the run's groups.
class ObjectReader {
public:
    ObjectReader(PlacementManager& manager, RunGroups& run, const ReadOptions& options,
                 GS::VAArray<API_Guid>* selectedComplex, API_Guid* listGuid)
        : manager(manager), options(options), selectedComplex(selectedComplex), listGuid(listGuid),
          joiner(run, options.silent)
    {
        if (options.readComplex)
            complexJoiner = std::make_unique<ComplexGroupJoiner>(run, options.silent);
    }

    // False when the run must stop.
    bool ReadAll(const ElementCollector& collector)
    {
        const Int32 count = collector.GetItemCount();
        ProgressWindowOwner* progress = options.silent ? nullptr : manager.progress;
        if (progress != nullptr)
            progress->StartPhase(GetResString(ResStr::Texts::ReadingElements), count);
        // Whether the user had selected nothing, for the message of a
        // second list.
        GS::Array<API_Neig> selection;
        Int32 selectionKind = 0;
        selectionEmpty = ReadSelection(selection, selectionKind, false) == APIERR_NOSEL;
        for (Int32 t = 0; t < count; ++t) {
            if (progress != nullptr) {
                progress->SetValue(t);
                if (progress->Cancelled()) {
                    progress->Close();
                    return false;
                }
            }
            const Outcome outcome = ReadOne(*collector.GetElementItem(t));
            if (outcome == Outcome::Failed && progress != nullptr)
                progress->Close();
            if (outcome != Outcome::Read)
                return false;
        }
        return true;
    }

    // Whether an object read lies on a locked layer, for the question.
    bool locked = false;

private:
    // `Failed`: the host could not give what the run needs, `Stopped`: the
    // objects refuse the run.
    enum class Outcome { Read, Failed, Stopped };

    Outcome ReadOne(ElementItemRecord& item)
    {
        // A collected object the host does not give now cannot be told from
        // a listed bar: a result computed without it would be incomplete, so
        // the run ends here and says so once.
        if (item.readError != NoError) {
            manager.outcome.Fail(item.readError);
            return Outcome::Failed;
        }
        LibraryPart part = LibraryPart::Mesh;
        GSErrCode partError = NoError;
        if (!parts.Identify(item.element.object.libInd, part, partError)) {
            // An object whose part cannot be told may be a listed bar or the
            // list itself: the run ends as for an object it cannot read.
            if (partError != NoError) {
                manager.outcome.Fail(partError);
                return Outcome::Failed;
            }
            return Outcome::Read;
        }
        if (!TakeListObject(part, item) || !PickEdited(part, item) || !ReadComplexObject(part, item) ||
            !ReadIronObject(part, item))
            return Outcome::Stopped;
        if (part == LibraryPart::List) {
            manager.listGuid = item.guid;
            if (IsLayerLocked(item.element.header.layer))
                locked = true;
        }
        return Outcome::Read;
    }

    // The one cutting-list object, when the caller asks for it.
    bool TakeListObject(LibraryPart part, const ElementItemRecord& item)
    {
        if (part != LibraryPart::List || listGuid == nullptr)
            return true;
        if (++lists > 1) {
            Alert(GetResString(selectionEmpty ? ResStr::Messages::OnlyOneCuttingList
                                              : ResStr::Messages::SelectOneListObject));
            manager.listAllowed = false;
            return false;
        }
        *listGuid = item.guid;
        return true;
    }

    // A complex object of the edited kind; one on a locked layer ends the
    // edit.
    bool PickEdited(LibraryPart part, const ElementItemRecord& item)
    {
        if (selectedComplex == nullptr || !options.editedKind || !IsEditedKind(part, *options.editedKind))
            return true;
        selectedComplex->Push(item.guid);
        return !IsLayerLocked(item.element.header.layer);
    }

    bool ReadComplexObject(LibraryPart part, ElementItemRecord& item)
    {
        if (!options.readComplex || !IsComplex(part))
            return true;
        TakeLayer(item.element);
        if (IsLayerLocked(item.element.header.layer))
            return false;
        auto record = std::make_unique<ComplexIronProperties>();
        std::string id;
        if (!ReadComplexIronParams(item.element, item.memo, id, *record))
            return false;
        complexJoiner->Join(std::move(record), id);
        return true;
    }

    // A bar, stirrup or concrete block; one on a locked layer is read, and
    // the user is asked at the end.
    bool ReadIronObject(LibraryPart part, ElementItemRecord& item)
    {
        IronReadOptions iron;
        iron.isBar = part == LibraryPart::Rebar || part == LibraryPart::SingleRebar;
        iron.isStirrup = part == LibraryPart::Stirrup;
        iron.isConcrete = part == LibraryPart::Concrete;
        iron.editedKind = options.editedKind;
        if (!iron.isBar && !iron.isStirrup && !iron.isConcrete)
            return true;
        TakeLayer(item.element);
        if (IsLayerLocked(item.element.header.layer))
            locked = true;
        auto record = std::make_unique<IronProperties>();
        std::string id;
        if (!ReadIronParams(item.element, item.memo, iron, id, *record))
            return false;
        joiner.Join(std::move(record), id);
        return true;
    }

    // The layer of the first object read decides for the run.
    void TakeLayer(const API_Element& element)
    {
        if (first)
            manager.layer = element.header.layer;
        first = false;
    }

    PlacementManager& manager;
    const ReadOptions& options;
    GS::VAArray<API_Guid>* selectedComplex;
    API_Guid* listGuid;
    PartCache parts;
    IronGroupJoiner joiner;
    std::unique_ptr<ComplexGroupJoiner> complexJoiner;
    Int32 lists = 0;
    bool first = true;
    bool selectionEmpty = false;
};

// A run that read an object on a locked layer, or whose layer is locked,
// goes on only when the user says so.
bool LockedLayersAllowed(PlacementManager& manager, bool locked)
{
    if (!locked && !(manager.layer >= 0 && IsLayerLocked(manager.layer)))
        return true;
    const Int16 answer = DGModalDialog(OwnResourceModule(), LockedLayersDialogId, OwnResourceModule(),
                                       LockedLayersDialogCallback, nullptr);
    if (answer == YesButton)
        return true;
    manager.listAllowed = false;
    return false;
}

}  // namespace

Int16 LockedLayersDialogCallback(Int16 message, Int16, Int16 item, void*)
{
    if (message == DG_MSG_CLICK && (item == YesButton || item == NoButton))
        return item;
    return 0;
}

bool ReadReinforcementObjects(PlacementManager& manager, RunGroups& run, const ReadOptions& options,
                              GS::VAArray<API_Guid>* selectedComplex, API_Guid* listGuid)
{
    manager.silent = options.silent;
    API_DatabaseInfo database;
    API_StoryInfo stories;
    if (!ReadView(database, stories))
        return false;

    GS::VAArray<API_ElemTypeID> types;
    types.Push(API_ObjectID);
    ElementCollector collector(types, CollectorSource(options.mode),
                               ElementCollector::WithElement | ElementCollector::WithMemo);
    if (database.typeID == APIWind_FloorPlanID)
        collector.story = stories.actStory;
    collector.visibleLayerOnly = true;
    collector.CollectElements();
    // An element the host could not give is left out, and the run is then
    // not called done: the user is told how many were left out.
    manager.outcome.Skip(collector.unreadable);
    if (collector.GetItemCount() == 0)
        return false;

    ObjectReader reader(manager, run, options, selectedComplex, listGuid);
    return reader.ReadAll(collector) && LockedLayersAllowed(manager, reader.locked);
}
