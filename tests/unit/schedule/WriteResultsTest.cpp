// Writing a run's results: members, progress, layers and the list object,
// against a small fake host that keeps objects' parameters and layers.
#include "addon/schedule/ListObject.hpp"
#include "addon/schedule/ParamNames.hpp"
#include "addon/schedule/PlacementOutlines.hpp"
#include "addon/schedule/WriteResults.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/services/LibraryParts.hpp"
#include "addon/services/ResStrings.hpp"
#include "tests/unit/schedule/ScheduleTestSupport.hpp"
#include <cstring>
#include <algorithm>
#include <map>
#include <memory>

namespace {

constexpr Int32 ListLibInd = 77;

// The objects the fake host keeps: parameters as a builder makes them, a
// layer each; layers by index with their lock.
struct WriteHost {
    std::vector<std::string> log;
    std::map<UInt32, std::function<API_AddParType**()>> objects;  // by GUID number
    std::map<UInt32, Int16> layerOf;
    std::map<Int16, bool> locked;
    std::map<UInt32, API_AddParType**> written;  // the last parameters each object was changed with
    bool listPartFound = true;
    GSErrCode toolDefaults = NoError;
    GSErrCode pointInput = NoError;
    GSErrCode rpas = NoError;
    GSErrCode undoable = NoError;
    API_Coord3D click{3, 4, 9};
    UInt32 created = 0;

    ~WriteHost()
    {
        for (auto& w : written)
            KillParams(w.second);
    }
};

WriteHost*& Current()
{
    static WriteHost* host = nullptr;
    return host;
}

// A copy of a parameter handle with its value handles.
API_AddParType** CopyParams(API_AddParType** source)
{
    const Int64 bytes = BMhGetSize(reinterpret_cast<GSConstHandle>(source));
    auto** h = reinterpret_cast<API_AddParType**>(BMhAllClear(bytes));
    std::memcpy(*h, *source, static_cast<size_t>(bytes));
    for (Int32 i = 0; i < GdlParams::Count(h); ++i) {
        API_AddParType& r = (*h)[i];
        if (GdlParams::IsArray(r) && r.value.array != nullptr) {
            GSHandle a = BMhAllClear(BMhGetSize(r.value.array));
            std::memcpy(*a, *r.value.array, static_cast<size_t>(BMhGetSize(r.value.array)));
            r.value.array = a;
        }
    }
    return h;
}

// The host's 8-bit texts of the add-on as UTF-8, so that tests compare
// them in both languages.
std::string Utf8(const char* text) { return GS::UniString(text, CC_Default).ToCStr(CC_UTF8).Get(); }
// The log lines of a report and of the list's point input. The cases'
// tables are built before any test runs, where the texts must not be loaded
// yet (a fresh process's first load is tested on its own), so the tables
// hold a placeholder that Resolve turns into the text when the case runs.
std::string Reported(RSStringId id) { return "REPORT @" + std::to_string(id.listId) + ":" + std::to_string(id.index); }
std::string Prompted() { return Reported(ResStr::Messages::ClickToPlaceList); }
std::string Resolve(const std::string& line)
{
    if (line.rfind("REPORT @", 0) != 0)
        return line;
    const size_t colon = line.find(':');
    const Int16 listId = static_cast<Int16>(std::stoi(line.substr(8, colon - 8)));
    const Int16 index = static_cast<Int16>(std::stoi(line.substr(colon + 1)));
    const std::string text = Utf8(GetResString(listId, index));
    if (listId == ResStr::Messages::ClickToPlaceList.listId && index == ResStr::Messages::ClickToPlaceList.index)
        return "IPOI " + text;
    return "REPORT " + text;
}

std::string Text8(const void* p) { return p != nullptr ? static_cast<const char*>(p) : ""; }

namespace Slots {
GSErrCode Interface(HostToken, API_RequestCode code, void* par1, void* par2, void* par3)
{
    WriteHost& h = *Current();
    if (code == RequestCode("IPWD"))
        h.log.push_back("IPWD");
    else if (code == RequestCode("SPRP"))
        h.log.push_back("SPRP " + Text8(par1) + " " + std::to_string(*static_cast<Int32*>(par2)) +
                        (par3 != nullptr && *static_cast<bool*>(par3) ? " warning" : ""));
    else if (code == RequestCode("SPRV"))
        h.log.push_back("SPRV " + std::to_string(*static_cast<Int32*>(par1)));
    else if (code == RequestCode("CPWD"))
        h.log.push_back("CPWD");
    else if (code == RequestCode("IPOI")) {
        auto* point = static_cast<API_GetPointType*>(par1);
        h.log.push_back("IPOI " + Utf8(point->prompt));
        if (h.pointInput != NoError)
            return h.pointInput;
        auto feedback = reinterpret_cast<PlacementFeedback>(par2);
        API_RubberLineInfo info;
        std::memset(static_cast<void*>(&info), 0, sizeof info);
        info.actCoord = h.click;
        feedback(&info);
        point->pos = h.click;
    } else if (code == RequestCode("DRLI"))
        h.log.push_back("DRLI");
    else
        return APIERR_BADPARS;
    return NoError;
}

GSErrCode Utility(HostToken, API_RequestCode code, void* par1, void*, void*)
{
    WriteHost& h = *Current();
    if (code != RequestCode("RPAS"))
        return APIERR_BADPARS;
    h.log.push_back("RPAS " + std::to_string(static_cast<API_Element*>(par1)->header.guid.time_low));
    return h.rpas;
}

GSErrCode GetElement(HostToken, API_Element* element)
{
    WriteHost& h = *Current();
    auto it = h.objects.find(element->header.guid.time_low);
    if (it == h.objects.end())
        return APIERR_BADID;
    element->header.layer = h.layerOf[element->header.guid.time_low];
    return NoError;
}

GSErrCode GetMemo(HostToken, API_Guid guid, API_ElementMemo* memo, UInt64)
{
    WriteHost& h = *Current();
    auto w = h.written.find(guid.time_low);
    if (w != h.written.end()) {
        memo->params = CopyParams(w->second);
        return NoError;
    }
    auto it = h.objects.find(guid.time_low);
    if (it == h.objects.end())
        return APIERR_BADID;
    memo->params = it->second();
    return NoError;
}

GSErrCode DisposeMemo(API_ElementMemo* memo)
{
    KillParams(memo->params);
    return NoError;
}

GSErrCode DisposeParamHandle(API_AddParType*** params)
{
    KillParams(*params);
    return NoError;
}

void Remember(WriteHost& h, UInt32 guid, const API_ElementMemo* memo)
{
    if (memo == nullptr || memo->params == nullptr)
        return;
    KillParams(h.written[guid]);
    h.written[guid] = CopyParams(memo->params);
}

GSErrCode ChangeElement(HostToken, API_Element* element, const API_Element*, const API_ElementMemo* memo, UInt64, bool)
{
    WriteHost& h = *Current();
    const UInt32 g = element->header.guid.time_low;
    const Int16 layer = h.layerOf[g];
    h.log.push_back("CHANGE " + std::to_string(g) + (h.locked[layer] ? " on a locked layer" : ""));
    if (h.locked[layer])
        return APIERR_GENERAL;
    Remember(h, g, memo);
    return NoError;
}

GSErrCode ChangeElementsByGuid(HostToken, const GS::Array<API_Guid>* guids, const API_Element*, const API_ElementMemo* memo, UInt64)
{
    WriteHost& h = *Current();
    const UInt32 g = (*guids)[0].time_low;
    h.log.push_back("CHANGE LIST " + std::to_string(g));
    Remember(h, g, memo);
    return NoError;
}

GSErrCode GetAttribute(HostToken, API_Attribute* attribute)
{
    WriteHost& h = *Current();
    attribute->header.flags = h.locked[static_cast<Int16>(attribute->header.index)] ? APILay_Locked : 0;
    return NoError;
}

GSErrCode ModifyAttribute(HostToken, API_Attribute* attribute)
{
    WriteHost& h = *Current();
    const bool lock = (attribute->header.flags & APILay_Locked) != 0;
    h.locked[static_cast<Int16>(attribute->header.index)] = lock;
    h.log.push_back(std::string(lock ? "LOCK " : "UNLOCK ") + std::to_string(attribute->header.index));
    return NoError;
}

GSErrCode SearchLibraryPart(HostToken, API_LibPart* part, bool)
{
    WriteHost& h = *Current();
    if (!h.listPartFound || std::strcmp(part->ownUnID, LibraryPartIds[static_cast<Int32>(LibraryPart::List)].uniqueId) != 0)
        return APIERR_BADID;
    part->index = ListLibInd;
    return NoError;
}

GSErrCode GetToolDefaults(HostToken, API_Element*, API_ElementMemo* memo)
{
    WriteHost& h = *Current();
    if (h.toolDefaults != NoError)
        return h.toolDefaults;
    ParamsBuilder b;
    b.Number("A", 1);
    memo->params = b.Build();
    return NoError;
}

API_AddParType** ListDefaults()
{
    ParamsBuilder b;
    b.Texts(ParamName::ListStrings, 1, 2, {"", ""})
        .Numbers(ParamName::IronType, 1, 4, {0, 0, 0, 0})
        .Numbers(ParamName::IronData, 1, 1, {0})
        .Numbers(ParamName::IronExtraData, 1, 1, {0})
        .Numbers(ParamName::IronListingData, 1, 1, {0})
        .Number(ParamName::DataInput, 0);
    return b.Build();
}

GSErrCode GetLibraryPartParams(HostToken, Int32 libInd, double*, double*, Int32*, API_AddParType*** params)
{
    if (libInd != ListLibInd)
        return APIERR_BADINDEX;
    *params = ListDefaults();
    return NoError;
}

GSErrCode CreateElement(HostToken, API_Element* element, API_ElementMemo* memo)
{
    WriteHost& h = *Current();
    h.created = 900;
    element->header.guid = GuidOf(h.created);
    h.objects[h.created] = ListDefaults;
    h.layerOf[h.created] = static_cast<Int16>(element->header.layer);
    char text[128];
    std::snprintf(text, sizeof text, "CREATE %d at %g %g angle %g layer %d", element->object.libInd, element->object.pos.x,
                  element->object.pos.y, element->object.angle, static_cast<int>(element->header.layer));
    h.log.push_back(text);
    Remember(h, h.created, memo);
    return NoError;
}

GSErrCode RunUndoableCommand(HostToken, const GS::UniString* name, const UndoableBody* body)
{
    WriteHost& h = *Current();
    h.log.push_back("UNDO " + std::string(name->ToCStr(CC_UTF8).Get()));
    if (h.undoable != NoError)
        return h.undoable;
    return (*body)();
}

Int32 Report(HostToken, const char* text, bool)
{
    Current()->log.push_back("REPORT " + Utf8(text));
    return 1;
}
}  // namespace Slots

class WriteResultsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        before = GS::LiveMemoryHandleCount();
        host = std::make_unique<WriteHost>();
        Current() = host.get();
        std::vector<void*> table(HostFunctionCount, nullptr);
        Set<HostSlot::Interface>(table, &Slots::Interface);
        Set<HostSlot::Utility>(table, &Slots::Utility);
        Set<HostSlot::GetElement>(table, &Slots::GetElement);
        Set<HostSlot::GetMemo>(table, &Slots::GetMemo);
        Set<HostSlot::DisposeMemo>(table, &Slots::DisposeMemo);
        Set<HostSlot::DisposeParamHandle>(table, &Slots::DisposeParamHandle);
        Set<HostSlot::ChangeElement>(table, &Slots::ChangeElement);
        Set<HostSlot::ChangeElementsByGuid>(table, &Slots::ChangeElementsByGuid);
        Set<HostSlot::GetAttribute>(table, &Slots::GetAttribute);
        Set<HostSlot::ModifyAttribute>(table, &Slots::ModifyAttribute);
        Set<HostSlot::SearchLibraryPart>(table, &Slots::SearchLibraryPart);
        Set<HostSlot::GetToolDefaults>(table, &Slots::GetToolDefaults);
        Set<HostSlot::GetLibraryPartParams>(table, &Slots::GetLibraryPartParams);
        Set<HostSlot::CreateElement>(table, &Slots::CreateElement);
        Set<HostSlot::RunUndoableCommand>(table, &Slots::RunUndoableCommand);
        Set<HostSlot::Report>(table, &Slots::Report);
        HostBinding::ReceiveTable(table.data());
    }
    void TearDown() override
    {
        HostBinding::Reset();
        Current() = nullptr;
        host.reset();
        EXPECT_EQ(GS::LiveMemoryHandleCount(), before) << "a memory handle leaked";
    }
    template <HostSlot S> static void Set(std::vector<void*>& table, HostSlotFn<S> fn)
    {
        table[static_cast<UInt32>(S)] = reinterpret_cast<void*>(fn);
    }

    // A bar object in the host, with three ironType rows and long texts.
    void AddBarObject(UInt32 guid, Int16 layer)
    {
        host->objects[guid] = [] {
            ParamsBuilder b;
            b.Numbers(ParamName::IronType, 3, 4, {0, 1, 2, 0, 5, 5, 5, 5, 6, 6, 6, 6})
                .Numbers(ParamName::IronData, 3, 2, {9, 9, 9, 9, 9, 9})
                .Text(ParamName::IronId, "old")
                .Text(ParamName::IronQuality, "old");
            return b.Build();
        };
        host->layerOf[guid] = layer;
    }
    void AddListObject(UInt32 guid, Int16 layer)
    {
        host->objects[guid] = Slots::ListDefaults;
        host->layerOf[guid] = layer;
    }

    const API_AddParType* Written(UInt32 guid, const char* name)
    {
        auto it = host->written.find(guid);
        if (it == host->written.end())
            return nullptr;
        for (Int32 i = 0; i < GdlParams::Count(it->second); ++i)
            if (std::strcmp((*it->second)[i].name, name) == 0)
                return &(*it->second)[i];
        return nullptr;
    }
    std::string WrittenText(UInt32 guid, const char* name)
    {
        const API_AddParType* r = Written(guid, name);
        return r == nullptr ? "(none)" : std::string(GdlParams::Text(*r).ToCStr(CC_UTF8).Get());
    }
    int Count(const std::string& prefix) const
    {
        int n = 0;
        for (const std::string& s : host->log)
            n += s.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
        return n;
    }
    bool Logged(const std::string& line) const
    {
        return std::find(host->log.begin(), host->log.end(), line) != host->log.end();
    }

    // Two listed bar groups "1" and "2" of one member each (objects 1 and 2).
    void TwoBarGroups(RunGroups& run)
    {
        IronProperties a = Bar({1.5, 2.5});
        a.ironType = Rows({{0, 1, 2, 0}, {0, 7, 7, 7}, {0, 8, 8, 8}});
        AddGroup(run, a, 1, "1");
        AddGroup(run, Bar({3}), 2, "2");
        AddBarObject(1, 1);
        AddBarObject(2, 1);
    }

    std::unique_ptr<WriteHost> host;
    Int64 before = 0;
};

TEST_F(WriteResultsTest, MembersCarryTheirGroupsIdAndRowZero)
{
    RunGroups run;
    TwoBarGroups(run);
    AddListObject(50, 1);
    PlacementManager manager;
    manager.listGuid = GuidOf(50);
    manager.layer = 1;
    ASSERT_TRUE(WriteResultsUndoable(manager, run.groups, &run.complexGroups, nullptr));
    EXPECT_EQ(host->log.front(), std::string("UNDO ") + Utf8(GetResString(ResStr::AddOnName::Name)));

    EXPECT_EQ(WrittenText(1, ParamName::IronId), "1");
    EXPECT_EQ(WrittenText(2, ParamName::IronId), "2");
    EXPECT_EQ(WrittenText(1, ParamName::IronQuality), "B500B");
    const API_AddParType* type = Written(1, ParamName::IronType);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->dim1, 1);
    EXPECT_EQ(type->dim2, 4);
    EXPECT_EQ(BMhGetSize(type->value.array), static_cast<Int64>(4 * sizeof(double)));
    EXPECT_EQ(GdlParams::ArrayNumber(*type, 0, 1), 1);
    const API_AddParType* data = Written(1, ParamName::IronData);
    EXPECT_EQ(data->dim1, 1);
    EXPECT_EQ(data->dim2, 2);
    EXPECT_EQ(GdlParams::ArrayNumber(*data, 0, 0), 1.5);
    EXPECT_EQ(GdlParams::ArrayNumber(*data, 0, 1), 2.5);
    // The second object declares 1 value; its handle held 6 and now holds 1.
    EXPECT_EQ(Written(2, ParamName::IronData)->dim2, 1);

    // The known list changed in place, recomputed and marked; no lock touched.
    EXPECT_FALSE(manager.listAborted);
    EXPECT_EQ(Count("CHANGE LIST 50"), 3);
    EXPECT_EQ(Count("RPAS 50"), 1);
    EXPECT_EQ(GdlParams::Number(*Written(50, ParamName::DataInput)), 1);
    EXPECT_EQ(Count("LOCK"), 0);
    EXPECT_EQ(Count("UNLOCK"), 0);
}

TEST_F(WriteResultsTest, PrefixGoesIntoTheIdOnly)
{
    RunGroups run;
    TwoBarGroups(run);
    PlacementManager manager;
    manager.listAllowed = false;
    manager.silent = true;
    ASSERT_TRUE(WriteResultsUndoable(manager, run.groups, nullptr, "K1"));
    EXPECT_EQ(WrittenText(1, ParamName::IronId), "K1 - 1");
    EXPECT_EQ(WrittenText(2, ParamName::IronId), "K1 - 2");
    EXPECT_EQ(Count("SPRP"), 0);
    EXPECT_EQ(Count("CPWD"), 0);
    // No list known and none may be placed.
    EXPECT_TRUE(manager.listAborted);
    EXPECT_EQ(Count("IPOI"), 0);
}

TEST_F(WriteResultsTest, ALongQualityIsCutToTheInlineRecord)
{
    RunGroups run;
    IronProperties bar = Bar({1}, 0, "");
    bar.quality = std::string(600, 'q');
    AddGroup(run, bar, 1, "1");
    AddBarObject(1, 1);
    PlacementManager manager;
    manager.listAllowed = false;
    manager.silent = true;
    WriteResults(manager, run.groups, nullptr, nullptr);
    EXPECT_EQ(WrittenText(1, ParamName::IronQuality), std::string(255, 'q'));
}

TEST_F(WriteResultsTest, RewritingPhaseWarnsAbove200Groups)
{
    struct Case {
        Int32 individual;
        Int32 complex;
        const char* phase;
    } cases[] = {{150, 51, " 201 warning"}, {150, 50, " 200"}};
    for (const Case& c : cases) {
        host->log.clear();
        RunGroups run;
        for (Int32 i = 0; i < c.individual; ++i)
            run.groups.Push(new IronArrayByProperty(Bar({1}), std::to_string(i + 1)));
        for (Int32 i = 0; i < c.complex; ++i) {
            auto* g = new ComplexIronArrayByProperty;
            g->id = std::to_string(i + 1);
            run.complexGroups.Push(g);
        }
        {
            PlacementManager manager;
            manager.listAllowed = false;
            ProgressWindowOwner progress("Optimization", 10);
            manager.progress = &progress;
            WriteResults(manager, run.groups, &run.complexGroups, nullptr);
        }
        const std::string phase = std::string("SPRP ") + GetResString(ResStr::Texts::RewritingData) + c.phase;
        EXPECT_TRUE(Logged(phase)) << phase;
        EXPECT_TRUE(Logged("SPRV " + std::to_string(c.individual + c.complex - 1)));
        EXPECT_EQ(Count("CPWD"), 1) << "the window is closed once";
    }
}

TEST_F(WriteResultsTest, LockedLayersAreLockedAgain)
{
    RunGroups run;
    TwoBarGroups(run);
    host->layerOf[2] = 3;
    host->locked[3] = true;
    AddListObject(50, 3);
    PlacementManager manager;
    manager.listGuid = GuidOf(50);
    manager.layer = 3;
    ASSERT_TRUE(WriteResultsUndoable(manager, run.groups, &run.complexGroups, nullptr));
    EXPECT_EQ(WrittenText(2, ParamName::IronId), "2");
    EXPECT_EQ(Count("CHANGE 2 on a locked layer"), 0);
    EXPECT_EQ(Count("UNLOCK 3"), 2);  // the member, then the list
    EXPECT_EQ(Count("LOCK 3"), 2);
    EXPECT_TRUE(host->locked[3]);
    EXPECT_EQ(Count("UNLOCK 1"), 0);
}

TEST_F(WriteResultsTest, ComplexMembersGetNewSubBarIds)
{
    RunGroups run;
    auto record = std::make_unique<ComplexIronProperties>();
    record->guid = GuidOf(7);
    record->isListing = true;
    record->listingRows = 3;
    record->ironType.Set({0, 1, 1, 0, 0, 1, 1, 0, 90, 1, 1, 0});
    record->ironData.Set({1, 2, 3});
    record->ironIds.Set({"AB-7", "X"});  // the third is absent
    record->qualityTexts.Set({"B500", "B500"});
    record->listingColumns.Resize(3);
    ComplexIronProperties* kept = run.Keep(std::move(record));
    auto* first = new ComplexIronArrayByProperty;
    first->id = "K1";
    run.complexGroups.Push(first);
    auto* group = new ComplexIronArrayByProperty;
    group->key = kept;
    group->id = "K2";
    group->members.Push(kept);
    run.complexGroups.Push(group);
    host->objects[7] = [] {
        ParamsBuilder b;
        b.Texts(ParamName::SubBarIds, 3, 1, {"AB-7", "X", ""}).Texts(ParamName::SubBarIds, 1, 1, {"?"}).Text(ParamName::IronId, "");
        return b.Build();
    };
    host->layerOf[7] = 1;
    AddListObject(50, 1);
    PlacementManager manager;
    manager.listGuid = GuidOf(50);
    manager.layer = 1;
    ASSERT_TRUE(WriteResultsUndoable(manager, run.groups, &run.complexGroups, nullptr));
    EXPECT_EQ(WrittenText(7, ParamName::IronId), "K2");
    EXPECT_EQ(kept->ironIds.values, (std::vector<std::string>{"K2B-7", "K2 - 2"}));
    // Every ironID record of the object holds the same new IDs.
    auto it = host->written.find(7);
    ASSERT_NE(it, host->written.end());
    int records = 0;
    GdlParams::ForEachNamed(it->second, ParamName::SubBarIds, [&](API_AddParType& r) {
        ++records;
        EXPECT_EQ(r.dim1, 3);
        EXPECT_EQ(GdlParams::ArrayText(r, 0, 0).ToCStr(CC_UTF8).Get(), std::string("K2B-7"));
        EXPECT_EQ(GdlParams::ArrayText(r, 2, 0).ToCStr(CC_UTF8).Get(), std::string("2 - 3"));
    });
    EXPECT_EQ(records, 2);
    // The list row shows the new ID of the run's first sub-bar.
    const API_AddParType* strings = Written(50, ParamName::ListStrings);
    ASSERT_NE(strings, nullptr);
    EXPECT_EQ(strings->dim1, 2);
    EXPECT_EQ(GdlParams::ArrayText(*strings, 0, 0).ToCStr(CC_UTF8).Get(), std::string("K2B-7"));
    EXPECT_EQ(GdlParams::ArrayText(*strings, 1, 0).ToCStr(CC_UTF8).Get(), std::string("K2 - 2"));
}

TEST_F(WriteResultsTest, AMemberThatCannotBeReadIsNeverWritten)
{
    RunGroups run;
    TwoBarGroups(run);
    // A third member the host does not give.
    auto stray = std::make_unique<IronProperties>();
    stray->guid = GuidOf(77);
    run.groups[2]->members.Push(run.Keep(std::move(stray)));
    PlacementManager manager;
    EXPECT_FALSE(WriteResultsUndoable(manager, run.groups, &run.complexGroups, nullptr));
    EXPECT_TRUE(manager.outcome.Failed());
    EXPECT_EQ(Count("CHANGE 77"), 0) << "a zeroed record is never written back";
    EXPECT_EQ(Count("CHANGE LIST"), 0) << "the list is not filled over an incomplete run";
}

TEST_F(WriteResultsTest, ARefusedStepIsNoSuccess)
{
    RunGroups run;
    TwoBarGroups(run);
    host->undoable = APIERR_GENERAL;
    PlacementManager manager;
    EXPECT_FALSE(WriteResultsUndoable(manager, run.groups, &run.complexGroups, nullptr));
    EXPECT_EQ(Count("CHANGE"), 0);
}

// ------------------------------------------------------------ the list

struct ListCase {
    const char* name;
    std::function<void(WriteHost&, PlacementManager&, RunGroups&)> arrange;
    std::vector<std::string> expectedLog;  // lines that must appear, in order
    bool aborted;
    std::vector<std::string> absent;  // lines that must not appear
    bool fails = false;  // the step fails with an error code
};

class ListObjectTest : public WriteResultsTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ListObjectTest, Cases)
{
    RunGroups run;
    PlacementManager manager;
    manager.layer = 4;
    AddGroup(run, Bar({1, 2}), 1, "1");
    GetParam().arrange(*host, manager, run);
    const GSErrCode result = WriteListObject(manager, run.groups, &run.complexGroups);
    EXPECT_EQ(result != NoError, GetParam().fails);
    size_t at = 0;
    for (const std::string& expected : GetParam().expectedLog) {
        const std::string line = Resolve(expected);
        auto it = std::find(host->log.begin() + static_cast<std::ptrdiff_t>(at), host->log.end(), line);
        ASSERT_NE(it, host->log.end()) << "missing in order: " << line;
        at = static_cast<size_t>(it - host->log.begin()) + 1;
    }
    for (const std::string& line : GetParam().absent)
        EXPECT_EQ(Count(line), 0) << line;
    EXPECT_EQ(manager.listAborted, GetParam().aborted);
    EXPECT_FALSE(host->locked[4] && Count("UNLOCK 4") != Count("LOCK 4")) << "the run's layer is locked again";
}

void KnownList(WriteHost& h, PlacementManager& m, RunGroups&)
{
    h.objects[50] = Slots::ListDefaults;
    h.layerOf[50] = 4;
    m.listGuid = GuidOf(50);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListObjectTest,
    ::testing::Values(
        ListCase{"NoListPart", [](WriteHost& h, PlacementManager&, RunGroups&) { h.listPartFound = false; },
                 {Reported(ResStr::Messages::MissingList)}, true, {"IPOI", "CHANGE"}},
        ListCase{"NoToolDefaults", [](WriteHost& h, PlacementManager&, RunGroups&) { h.toolDefaults = APIERR_GENERAL; },
                 {Reported(ResStr::Messages::DefaultParamsFailed)}, true, {"IPOI"}},
        ListCase{"NothingListable",
                 [](WriteHost& h, PlacementManager& m, RunGroups& run) {
                     KnownList(h, m, run);
                     run.groups[1]->OwnKey().isListing = false;
                 },
                 {Reported(ResStr::Messages::NothingListable)}, true, {"CHANGE LIST"}},
        ListCase{"NoDataValues",
                 [](WriteHost& h, PlacementManager& m, RunGroups& run) {
                     KnownList(h, m, run);
                     h.locked[4] = true;
                     run.groups[1]->OwnKey().ironType = Rows({{0, 1, 0, 0}});
                 },
                 {Reported(ResStr::Messages::InvalidRebarData)}, true, {"CHANGE LIST", "RPAS", "UNLOCK 4"}},
        ListCase{"KnownListUpdated", KnownList,
                 {"CHANGE LIST 50", "RPAS 50", "CHANGE LIST 50", "CHANGE LIST 50"}, false, {"IPOI", "CREATE"}},
        ListCase{"NewListPlacedByClick",
                 [](WriteHost& h, PlacementManager&, RunGroups&) { h.locked[4] = true; },
                 {"UNLOCK 4", Prompted(), "DRLI", "CREATE 77 at 3 4 angle 0 layer 4", "RPAS 900",
                  "CHANGE LIST 900", "CHANGE LIST 900", "LOCK 4"},
                 true, {"REPORT"}},
        ListCase{"PlacementCancelled",
                 [](WriteHost& h, PlacementManager&, RunGroups&) {
                     h.pointInput = APIERR_CANCEL;
                     h.locked[4] = true;
                 },
                 {"UNLOCK 4", Prompted(), "LOCK 4"}, true, {"CREATE", "RPAS"}},
        ListCase{"RecomputeFails",
                 [](WriteHost& h, PlacementManager& m, RunGroups& run) {
                     KnownList(h, m, run);
                     h.rpas = APIERR_GENERAL;
                 },
                 {"CHANGE LIST 50", "RPAS 50"}, false, {}, true},
        ListCase{"KnownListCannotBeRead",
                 [](WriteHost&, PlacementManager& m, RunGroups&) { m.listGuid = GuidOf(51); },
                 {}, false, {"CHANGE LIST", "RPAS", "CHANGE"}, true},
        ListCase{"ComplexChainsWithoutAList",
                 [](WriteHost&, PlacementManager& m, RunGroups&) { m.listAllowed = false; }, {}, true,
                 {"IPOI", "CREATE", "RPAS"}}),
    [](const ::testing::TestParamInfo<ListCase>& info) { return std::string(info.param.name); });

TEST_F(WriteResultsTest, NewListHoldsTheRowsAndIsMarked)
{
    RunGroups run;
    AddGroup(run, Bar({1, 2}), 1, "1");
    PlacementManager manager;
    manager.layer = 2;
    WriteListObject(manager, run.groups, &run.complexGroups);
    EXPECT_EQ(Count("DRLI"), 11);
    const API_AddParType* data = Written(900, ParamName::IronData);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->dim1, 1);
    EXPECT_EQ(data->dim2, 2);
    EXPECT_EQ(GdlParams::ArrayNumber(*data, 0, 1), 2);
    EXPECT_EQ(GdlParams::Number(*Written(900, ParamName::DataInput)), 1);
    EXPECT_EQ(Written(900, ParamName::IronExtraData)->dim2, 10);
    EXPECT_EQ(Written(900, ParamName::IronListingData)->dim2, 5);
}

}  // namespace
