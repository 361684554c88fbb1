#include "addon/schedule/ListObject.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/MemoMasks.hpp"
#include "addon/host/Owners.hpp"
#include "addon/schedule/ElementCollector.hpp"
#include "addon/schedule/LayerUnlock.hpp"
#include "addon/schedule/ParamNames.hpp"
#include "addon/schedule/PlacementOutlines.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/services/HostText.hpp"
#include "addon/services/LibraryParts.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/gs/CH.hpp"
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double NotListedForm = 90.0;
constexpr double FormTolerance = 1e-5;

// The sub-bars of a complex key, read without ever passing an array's end.
class SubBars {
public:
    explicit SubBars(const ComplexIronProperties& k) : key(k) {}

    Int32 Count() const { return std::max(key.listingRows, 0); }
    double Type(Int32 i, Int32 column) const { return At(key.ironType, static_cast<size_t>(i) * ListTypeColumns + static_cast<size_t>(column)); }
    double Extra(Int32 i, Int32 column) const
    {
        return At(key.ironExtraData, static_cast<size_t>(i) * ListExtraColumns + static_cast<size_t>(column));
    }
    double Data(size_t index) const { return At(key.ironData, index); }
    bool Listed(Int32 i) const { return !(std::fabs(Type(i, 0) - NotListedForm) <= FormTolerance); }
    // An absent ID or quality reads as an empty text.
    const std::string& Id(Int32 i) const { return Text(key.ironIds, i); }
    const std::string& Quality(Int32 i) const { return Text(key.qualityTexts, i); }
    double Listing(Int32 i, Int32 column) const { return key.listingColumns.Get(i, column); }
    // The widest data row over all sub-bars, listed or not.
    Int32 RowWidth() const
    {
        Int32 m = 0;
        for (Int32 j = 0; j < Count(); ++j)
            m = std::max(m, DataValueCount(Type(j, 2)));
        return m;
    }

private:
    static double At(const OptionalValues<double>& values, size_t index)
    {
        return values.present && index < values.values.size() ? values.values[index] : 0.0;
    }
    static const std::string& Text(const OptionalValues<std::string>& texts, Int32 i)
    {
        static const std::string none;
        return texts.present && static_cast<size_t>(i) < texts.values.size() ? texts.values[static_cast<size_t>(i)] : none;
    }
    const ComplexIronProperties& key;
};

// One list row: a row of an individual group's key, or a run of a complex
// key's sub-bars (its first and its listed sub-bars).
struct RowSource {
    const IronArrayByProperty* group = nullptr;
    Int32 row = 0;
    const ComplexIronArrayByProperty* complex = nullptr;
    std::vector<Int32> listedSubBars;  // the first one begins the run
};

bool GivesRows(const IronProperties& key) { return key.isListing && !key.isConcrete; }

// The rows of both kinds, in list order.
std::vector<RowSource> RowSources(const IronGroups& groups, const ComplexIronGroups* complexGroups)
{
    std::vector<RowSource> sources;
    for (const IronArrayByProperty* group : groups) {
        if (!GivesRows(group->Key()))
            continue;
        const Int32 rows = group->Key().isBar ? group->Key().listingColumns.RowCount() : 1;
        for (Int32 k = 0; k < rows; ++k) {
            RowSource s;
            s.group = group;
            s.row = k;
            sources.push_back(std::move(s));
        }
    }
    if (complexGroups == nullptr)
        return sources;
    for (const ComplexIronArrayByProperty* group : *complexGroups) {
        if (group->key == nullptr || !group->key->isListing)
            continue;
        const SubBars bars(*group->key);
        RowSource* run = nullptr;  // the run's row, null when its first is not listed
        for (Int32 i = 0; i < bars.Count(); ++i) {
            const bool continues = i > 0 && CHEqualCStrings(bars.Id(i).c_str(), bars.Id(i - 1).c_str());
            if (!continues) {
                run = nullptr;
                if (bars.Listed(i)) {
                    RowSource s;
                    s.complex = group;
                    sources.push_back(std::move(s));
                    run = &sources.back();
                }
            }
            if (run != nullptr && bars.Listed(i))
                run->listedSubBars.push_back(i);
            // `run` points into `sources`, which grows only when a run
            // begins, and then `run` is set afresh.
        }
    }
    return sources;
}

Int32 Width(const IronGroups& groups, const ComplexIronGroups* complexGroups)
{
    Int32 width = 0;
    for (const IronArrayByProperty* group : groups)
        if (GivesRows(group->Key()))
            width = std::max(width, DataValueCount(group->Key().ironType.Get(0, 2)));
    if (complexGroups != nullptr)
        for (const ComplexIronArrayByProperty* group : *complexGroups) {
            if (group->key == nullptr || !group->key->isListing)
                continue;
            const SubBars bars(*group->key);
            for (Int32 i = 0; i < bars.Count(); ++i)
                if (bars.Listed(i))
                    width = std::max(width, DataValueCount(bars.Type(i, 2)));
        }
    return width;
}

void AddIndividualRow(ListRows& out, const IronArrayByProperty& group, Int32 k)
{
    const IronProperties& key = group.Key();
    out.strings.push_back(group.id);
    out.strings.push_back(key.quality);
    for (Int32 c = 0; c < ListTypeColumns; ++c)
        out.type.push_back(key.ironType.Get(k, c));
    const Int32 declared = DataValueCount(key.ironType.Get(0, 2));
    for (Int32 d = 0; d < out.width; ++d)
        out.data.push_back(d < declared ? key.ironData.Get(k, d) : 0.0);
    for (Int32 c = 0; c < ListExtraColumns; ++c)
        out.extra.push_back(key.ironExtraData.Get(k, c));
    for (Int32 c = 0; c < ListListingColumns; ++c)
        out.listing.push_back(key.listingColumns.Get(k, c));
}

void AddComplexRow(ListRows& out, const RowSource& source)
{
    const SubBars bars(*source.complex->key);
    const Int32 i = source.listedSubBars.front();
    out.strings.push_back(bars.Id(i));
    out.strings.push_back(bars.Quality(i));
    for (Int32 c = 0; c < ListTypeColumns; ++c)
        out.type.push_back(bars.Type(i, c));
    const Int32 m = bars.RowWidth();
    for (Int32 d = 0; d < out.width; ++d)
        out.data.push_back(d < m ? bars.Data(static_cast<size_t>(i) * static_cast<size_t>(m) + static_cast<size_t>(d)) : 0.0);
    for (Int32 c = 0; c < ListExtraColumns; ++c)
        out.extra.push_back(bars.Extra(i, c));
    double listing[ListListingColumns] = {};
    for (Int32 j : source.listedSubBars) {
        listing[0] += bars.Listing(j, 0);
        listing[1] = bars.Listing(j, 1);
        listing[2] = bars.Listing(j, 2);
        listing[3] += bars.Listing(j, 3);
        listing[4] += bars.Listing(j, 4);
    }
    out.listing.insert(out.listing.end(), listing, listing + ListListingColumns);
}

void Report(RSStringId text) { HostReport(GetResString(text), true); }

GS::UniString FromAnsi(const std::string& text) { return HostText::FromText(text, std::string::npos); }

// Puts the list's data into its parameters (every record of each name).
void FillListParams(API_AddParType** params, const ListRows& rows)
{
    std::vector<GS::UniString> texts;
    texts.reserve(rows.strings.size());
    for (const std::string& s : rows.strings)
        texts.push_back(FromAnsi(s));
    GdlParams::WriteTexts(params, ParamName::ListStrings, rows.rows, 2, texts.data());
    GdlParams::WriteNumbers(params, ParamName::IronType, rows.rows, ListTypeColumns, rows.type.data());
    GdlParams::WriteNumbers(params, ParamName::IronData, rows.rows, rows.width, rows.data.data());
    GdlParams::WriteNumbers(params, ParamName::IronExtraData, rows.rows, ListExtraColumns, rows.extra.data());
    GdlParams::WriteNumbers(params, ParamName::IronListingData, rows.rows, ListListingColumns, rows.listing.data());
}

GSErrCode ChangeList(const API_Element& element, const API_ElementMemo& memo)
{
    GS::Array<API_Guid> guids;
    guids.Push(element.header.guid);
    return HostChangeElementsByGuid(&guids, &element, &memo, MemoEveryBit);
}

// A new list: the object tool's defaults with the list part's parameters.
// False with `err` NoError when the defaults cannot be had (told); `err` is
// the code of a failed read of the part's parameters, without which the
// list would hold none of its data.
bool PrepareNewList(PlacementManager& manager, Int32 listLibInd, API_Element& element, MemoOwner& memo,
                    GSErrCode& err)
{
    err = NoError;
    element.header.typeID = API_ObjectID;
    if (HostGetToolDefaults(&element, &memo.Get()) != NoError) {
        Report(ResStr::Messages::DefaultParamsFailed);
        return false;
    }
    element.object.libInd = listLibInd;
    element.header.layer = manager.layer;
    element.object.angle = 0.0;
    ParamHandleOwner defaults;
    double a = 0.0;
    double b = 0.0;
    Int32 count = 0;
    err = HostGetLibraryPartParams(listLibInd, &a, &b, &count, defaults.Out());
    if (err != NoError)
        return false;
    if (defaults.Get() != nullptr) {
        if (memo->params != nullptr)
            HostDisposeParamHandle(&memo->params);
        memo->params = defaults.Release();
    }
    return true;
}

// The user clicks where the new list goes; false when the user gave no
// point. `created` is the host's answer to the creation, or its code for a
// point input that failed for another cause than the user's cancel.
bool PlaceNewList(API_Element& element, MemoOwner& memo, GSErrCode& created)
{
    API_GetPointType point;
    std::memset(static_cast<void*>(&point), 0, sizeof point);
    std::strncpy(point.prompt, GetResString(ResStr::Messages::ClickToPlaceList), sizeof point.prompt - 1);
    const GSErrCode input = RequestPoint(point, ListPlacementFeedback);
    if (input != NoError) {
        created = input == APIERR_CANCEL ? NoError : input;
        return created != NoError;
    }
    element.object.pos.x = point.pos.x;
    element.object.pos.y = point.pos.y;
    created = HostCreateElement(&element, &memo.Get());
    return true;
}

}  // namespace

Int32 DataValueCount(double declared)
{
    if (!(declared >= 1.0))
        return 0;  // NaN included
    if (declared >= static_cast<double>(MaxListDataValues))
        return MaxListDataValues;
    return static_cast<Int32>(declared);
}

Int32 CountListRows(const IronGroups& groups, const ComplexIronGroups* complexGroups)
{
    return static_cast<Int32>(RowSources(groups, complexGroups).size());
}

ListRows BuildListRows(const IronGroups& groups, const ComplexIronGroups* complexGroups)
{
    const std::vector<RowSource> sources = RowSources(groups, complexGroups);
    ListRows out;
    out.rows = static_cast<Int32>(sources.size());
    out.width = Width(groups, complexGroups);
    for (const RowSource& s : sources) {
        if (s.group != nullptr)
            AddIndividualRow(out, *s.group, s.row);
        else
            AddComplexRow(out, s);
    }
    return out;
}

GSErrCode WriteListObject(PlacementManager& manager, const IronGroups& groups, const ComplexIronGroups* complexGroups)
{
    Int32 listLibInd = 0;
    if (FindLibraryPart(LibraryPart::List, &listLibInd) != NoError) {
        Report(ResStr::Messages::MissingList);
        manager.listAborted = true;
        return NoError;
    }

    API_Element element;
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    MemoOwner memo;
    const bool known = manager.listGuid != APINULLGuid;
    if (known) {
        // A list the host cannot give is never written back: its zeroed
        // record and empty memo would wipe it.
        element.header.guid = manager.listGuid;
        GSErrCode err = HostGetElement(&element);
        if (err == NoError)
            err = HostGetMemo(manager.listGuid, &memo.Get(), MemoAllButBit30);
        if (err != NoError)
            return err;
    } else {
        GSErrCode err = NoError;
        if (!PrepareNewList(manager, listLibInd, element, memo, err)) {
            manager.listAborted = true;
            return err;
        }
    }

    const ListRows rows = BuildListRows(groups, complexGroups);
    if (manager.listAllowed && rows.rows == 0) {
        // When elements were left alone, they may be all there was to
        // list: the run's one message at its end says how many, and a
        // second one here would call them non-listable.
        if (manager.outcome.Skipped() == 0)
            Report(ResStr::Messages::NothingListable);
        manager.listAborted = true;
        return NoError;
    }
    if (rows.width == 0) {
        // The list is not filled: the run is not done, and says so.
        Report(ResStr::Messages::InvalidRebarData);
        manager.listAborted = true;
        return NoError;
    }
    FillListParams(memo->params, rows);

    // A known list is opened on its own layer (which may be another locked
    // layer than the run's); a new one goes onto the run's layer.
    LayerUnlock unlock(known ? element.header.layer : manager.layer);
    if (unlock.Error() != NoError)
        return unlock.Error();
    if (known && manager.listAllowed) {
        const GSErrCode err = ChangeList(element, memo.Get());
        if (err != NoError)
            return err;
    } else if (!known && manager.listAllowed) {
        manager.listAborted = true;  // a new list: the command ends without its final message
        GSErrCode created = NoError;
        if (!PlaceNewList(element, memo, created))
            return NoError;
        if (created != NoError)
            return created;
    } else if (!known) {
        manager.listAborted = true;
        return NoError;
    }

    API_Element recompute = element;
    UInt32 flag = APIRecalcParams;
    GSErrCode err = HostRequest::RPAS(&recompute, &flag);
    if (err == NoError)
        err = ChangeList(element, memo.Get());
    if (err == NoError) {
        HostDisposeMemo(&memo.Get());
        std::memset(static_cast<void*>(&memo.Get()), 0, sizeof(API_ElementMemo));
        err = HostGetMemo(element.header.guid, &memo.Get(), MemoAllButBit30);
    }
    if (err == NoError) {
        GdlParams::WriteNumber(memo->params, ParamName::DataInput, 1.0);
        err = ChangeList(element, memo.Get());
    }
    if (err != NoError)
        return err;
    return unlock.Relock();
}
