// Records, groups, parameter handles and a small fake host for the tests of
// the cutting list's records, readers and passes.
#pragma once
#include "addon/host/HostBinding.hpp"
#include "addon/schedule/PlacementManager.hpp"
#include "platform/gs/CH.hpp"
#include "platform/gs/Memory.hpp"
#include "platform/gs/UniString.hpp"
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// ---------------------------------------------------------------- records

using Row = std::vector<double>;

inline RowArray Rows(const std::vector<Row>& rows)
{
    RowArray a;
    for (const Row& r : rows)
        a.AppendRow(r.data(), static_cast<Int32>(r.size()));
    return a;
}

inline ListingColumns Listing(const std::vector<Row>& rows)
{
    ListingColumns l;
    l.Resize(static_cast<Int32>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size() && c < 5; ++c)
            l.At(static_cast<Int32>(r), static_cast<Int32>(c)) = rows[r][c];
    return l;
}

inline API_Guid GuidOf(UInt32 n)
{
    API_Guid g = APINULLGuid;
    g.time_low = n;
    return g;
}

// A straight bar of one row: form (0, 1, data count, 0), its data, one
// extra value and one listing row.
inline IronProperties Bar(const Row& data, double extra = 0.0, const char* quality = "B500B")
{
    IronProperties p;
    p.isBar = true;
    p.isListing = true;
    p.ironType = Rows({{0, 1, static_cast<double>(data.size()), 0}});
    p.ironData = Rows({data});
    p.ironExtraData = Rows({{extra}});
    p.listingColumns = Listing({{1, 0.012, 2, 3, 0.5}});
    p.quality = quality;
    return p;
}

// ------------------------------------------------------------------ groups

// Member GUIDs (by their number) of each group, with the group's ID.
struct GroupView {
    std::string id;
    std::vector<UInt32> members;
    bool operator==(const GroupView& o) const { return id == o.id && members == o.members; }
};

inline void PrintTo(const GroupView& g, std::ostream* os)
{
    *os << g.id << "[";
    for (UInt32 m : g.members)
        *os << m << " ";
    *os << "]";
}

template <typename Groups> std::vector<GroupView> View(const Groups& groups)
{
    std::vector<GroupView> v;
    for (Int32 i = 1; i <= groups.GetItemCount(); ++i) {
        GroupView g{groups[i]->id, {}};
        for (Int32 m = 1; m <= groups[i]->members.GetItemCount(); ++m)
            g.members.push_back(groups[i]->members[m]->guid.time_low);
        v.push_back(g);
    }
    return v;
}

inline std::vector<std::string> Ids(const IronGroups& groups)
{
    std::vector<std::string> ids;
    for (const IronArrayByProperty* g : groups)
        ids.push_back(g->id);
    return ids;
}

// Adds a group of one member (record number `n`) with that ID.
inline IronArrayByProperty* AddGroup(RunGroups& run, IronProperties record, UInt32 n, const std::string& id)
{
    record.guid = GuidOf(n);
    IronProperties* kept = run.Keep(std::make_unique<IronProperties>(record));
    auto* group = new IronArrayByProperty(*kept, id);
    group->members.Push(kept);
    run.groups.Push(group);
    return group;
}

// ------------------------------------------------------------- fake host

// What the fake host saw and how it answers. Requests are logged as
// "IPWD", "SPRP <title> <max>", "SPRV <value>", "CANC", "CPWD", "RPAS",
// "CABO", "CHNG dummy=<value>", "MEMO", "REPORT <text>".
struct FakeHost {
    std::vector<std::string> log;
    int cancelAtCheck = 0;  // the n-th 'CANC' answers "cancelled" (0: never)
    int checks = 0;
    GSErrCode rpasResult = NoError;
    GSErrCode caboResult = NoError;
    GSErrCode memoResult = NoError;
    API_Box3D box{1, 2, 3, 4, 5, 6};
    // Builds the parameters the host hands back when the memo is read again.
    std::function<API_AddParType**()> recomputedParams;

    int Count(const std::string& prefix) const
    {
        int n = 0;
        for (const std::string& s : log)
            n += s.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
        return n;
    }
};

inline FakeHost*& CurrentFakeHost()
{
    static FakeHost* host = nullptr;
    return host;
}

// Frees a parameter handle with the value handles of its arrays.
inline void KillParams(API_AddParType**& params)
{
    if (params == nullptr)
        return;
    const Int64 n = BMhGetSize(reinterpret_cast<GSConstHandle>(params)) / static_cast<Int64>(sizeof(API_AddParType));
    for (Int64 i = 0; i < n; ++i)
        if ((*params)[i].dim1 > 0 || (*params)[i].dim2 > 0)
            BMhKill(&(*params)[i].value.array);
    GSHandle h = reinterpret_cast<GSHandle>(params);
    BMhKill(&h);
    params = nullptr;
}

inline double DummyValue(const API_ElementMemo* memo)
{
    if (memo == nullptr || memo->params == nullptr)
        return -1;
    const Int64 n = BMhGetSize(reinterpret_cast<GSConstHandle>(memo->params)) / static_cast<Int64>(sizeof(API_AddParType));
    for (Int64 i = 0; i < n; ++i)
        if (std::strcmp((*memo->params)[i].name, "dummy") == 0)
            return (*memo->params)[i].value.real;
    return -1;
}

namespace FakeSlots {
inline std::string Text8(const void* p) { return p != nullptr ? static_cast<const char*>(p) : ""; }

inline GSErrCode Interface(HostToken, API_RequestCode code, void* par1, void* par2, void*)
{
    FakeHost& h = *CurrentFakeHost();
    if (code == RequestCode("IPWD"))
        h.log.push_back("IPWD");
    else if (code == RequestCode("SPRP"))
        h.log.push_back("SPRP " + Text8(par1) + " " + std::to_string(*static_cast<Int32*>(par2)));
    else if (code == RequestCode("SPRV"))
        h.log.push_back("SPRV " + std::to_string(*static_cast<Int32*>(par1)));
    else if (code == RequestCode("CANC")) {
        h.log.push_back("CANC");
        return ++h.checks == h.cancelAtCheck ? 1 : 0;
    } else if (code == RequestCode("CPWD"))
        h.log.push_back("CPWD");
    else
        return APIERR_BADPARS;
    return NoError;
}

inline GSErrCode Utility(HostToken, API_RequestCode code, void* par1, void* par2, void*)
{
    FakeHost& h = *CurrentFakeHost();
    if (code != RequestCode("RPAS") || par1 == nullptr || par2 == nullptr || *static_cast<UInt32*>(par2) != APIRecalcParams)
        return APIERR_BADPARS;
    h.log.push_back("RPAS");
    return h.rpasResult;
}

inline GSErrCode Database(HostToken, API_RequestCode code, void* par1, void* par2, void*)
{
    FakeHost& h = *CurrentFakeHost();
    if (code != RequestCode("CABO") || par1 == nullptr || par2 == nullptr)
        return APIERR_BADPARS;
    h.log.push_back("CABO");
    if (h.caboResult == NoError)
        *static_cast<API_Box3D*>(par2) = h.box;
    return h.caboResult;
}

inline GSErrCode ChangeElementsByGuid(HostToken, const GS::Array<API_Guid>* guids, const API_Element*, const API_ElementMemo* memo,
                                      UInt64)
{
    if (guids == nullptr || guids->GetSize() != 1)
        return APIERR_BADPARS;
    char text[64];
    std::snprintf(text, sizeof text, "CHNG dummy=%g", DummyValue(memo));
    CurrentFakeHost()->log.push_back(text);
    return NoError;
}

inline GSErrCode GetMemo(HostToken, API_Guid, API_ElementMemo* memo, UInt64)
{
    FakeHost& h = *CurrentFakeHost();
    h.log.push_back("MEMO");
    if (h.memoResult != NoError)
        return h.memoResult;
    memo->params = h.recomputedParams ? h.recomputedParams() : nullptr;
    return NoError;
}

inline GSErrCode DisposeMemo(API_ElementMemo* memo)
{
    KillParams(memo->params);
    return NoError;
}

inline Int32 Report(HostToken, const char* text, bool)
{
    CurrentFakeHost()->log.push_back(std::string("REPORT ") + text);
    return 1;
}
}  // namespace FakeSlots

// Installs the fake host for the life of the fixture and checks that no
// memory handle is left behind.
class FakeHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        before = GS::LiveMemoryHandleCount();
        CurrentFakeHost() = &host;
        std::vector<void*> table(HostFunctionCount, nullptr);
        Set<HostSlot::Interface>(table, &FakeSlots::Interface);
        Set<HostSlot::Utility>(table, &FakeSlots::Utility);
        Set<HostSlot::Database>(table, &FakeSlots::Database);
        Set<HostSlot::ChangeElementsByGuid>(table, &FakeSlots::ChangeElementsByGuid);
        Set<HostSlot::GetMemo>(table, &FakeSlots::GetMemo);
        Set<HostSlot::DisposeMemo>(table, &FakeSlots::DisposeMemo);
        Set<HostSlot::Report>(table, &FakeSlots::Report);
        HostBinding::ReceiveTable(table.data());
    }
    void TearDown() override
    {
        HostBinding::Reset();
        CurrentFakeHost() = nullptr;
        EXPECT_EQ(GS::LiveMemoryHandleCount(), before) << "a memory handle leaked";
    }

    template <HostSlot S> static void Set(std::vector<void*>& table, HostSlotFn<S> fn)
    {
        table[static_cast<UInt32>(S)] = reinterpret_cast<void*>(fn);
    }

    FakeHost host;
    Int64 before = 0;
};

// ------------------------------------------------------ parameter handles

// Builds a parameter handle as the host lays it out.
class ParamsBuilder {
public:
    ParamsBuilder& Number(const char* name, double value)
    {
        API_AddParType& r = Add(name, APIParT_RealNum);
        r.value.real = value;
        return *this;
    }
    ParamsBuilder& Text(const char* name, const std::string& utf8)
    {
        API_AddParType& r = Add(name, APIParT_CString);
        GS::UniString u(utf8.c_str(), CC_UTF8);
        std::memcpy(r.value.uStr, u.ToUStr(), std::min<size_t>(u.GetLength(), 255) * sizeof(GS::uchar_t));
        return *this;
    }
    // rows x columns numbers; `held` values in the handle (all when -1).
    ParamsBuilder& Numbers(const char* name, Int32 rows, Int32 columns, const std::vector<double>& values, Int64 held = -1)
    {
        API_AddParType& r = Add(name, APIParT_RealNum);
        r.dim1 = rows;
        r.dim2 = columns;
        const Int64 n = held < 0 ? static_cast<Int64>(values.size()) : held;
        r.value.array = BMhAllClear(n * static_cast<Int64>(sizeof(double)));
        std::memcpy(*r.value.array, values.data(), static_cast<size_t>(std::min<Int64>(n, static_cast<Int64>(values.size()))) * sizeof(double));
        return *this;
    }
    ParamsBuilder& Texts(const char* name, Int32 rows, Int32 columns, const std::vector<std::string>& texts)
    {
        API_AddParType& r = Add(name, APIParT_CString);
        r.dim1 = rows;
        r.dim2 = columns;
        std::vector<GS::uchar_t> joined;
        for (const std::string& t : texts) {
            GS::UniString u(t.c_str(), CC_UTF8);
            joined.insert(joined.end(), u.ToUStr(), u.ToUStr() + u.GetLength());
            joined.push_back(0);
        }
        r.value.array = BMhAllClear(static_cast<Int64>(joined.size() * sizeof(GS::uchar_t)));
        std::memcpy(*r.value.array, joined.data(), joined.size() * sizeof(GS::uchar_t));
        return *this;
    }

    // A new handle; the caller frees it (KillParams, or the host's memo
    // disposal).
    API_AddParType** Build() const
    {
        auto** h = reinterpret_cast<API_AddParType**>(BMhAllClear(static_cast<Int64>(records.size() * sizeof(API_AddParType))));
        for (size_t i = 0; i < records.size(); ++i) {
            (*h)[i] = records[i];
            if (records[i].dim1 > 0 || records[i].dim2 > 0) {
                const Int64 bytes = BMhGetSize(records[i].value.array);
                (*h)[i].value.array = BMhAllClear(bytes);
                std::memcpy(*(*h)[i].value.array, *records[i].value.array, static_cast<size_t>(bytes));
            }
        }
        return h;
    }

    ParamsBuilder() = default;
    ParamsBuilder(const ParamsBuilder&) = delete;
    ParamsBuilder& operator=(const ParamsBuilder&) = delete;
    ~ParamsBuilder()
    {
        for (API_AddParType& r : records)
            if (r.dim1 > 0 || r.dim2 > 0)
                BMhKill(&r.value.array);
    }

private:
    API_AddParType& Add(const char* name, API_AddParID type)
    {
        API_AddParType r;
        std::memset(static_cast<void*>(&r), 0, sizeof r);
        r.typeID = type;
        std::strncpy(r.name, name, sizeof r.name - 1);
        records.push_back(r);
        return records.back();
    }
    std::vector<API_AddParType> records;
};

// A memo holding parameters, disposed as the host disposes memos.
struct ParamsMemo {
    explicit ParamsMemo(API_AddParType** params)
    {
        std::memset(static_cast<void*>(&memo), 0, sizeof memo);
        memo.params = params;
    }
    ~ParamsMemo() { KillParams(memo.params); }
    ParamsMemo(const ParamsMemo&) = delete;
    ParamsMemo& operator=(const ParamsMemo&) = delete;
    API_ElementMemo memo;
};

// An object's element record.
inline API_Element ObjectElement(UInt32 n, double x = 0, double y = 0, double level = 0, double angle = 0, bool mirrored = false)
{
    API_Element e;
    std::memset(static_cast<void*>(&e), 0, sizeof e);
    e.header.typeID = API_ObjectID;
    e.header.guid = GuidOf(n);
    e.object.pos = {x, y};
    e.object.level = level;
    e.object.angle = angle;
    e.object.reflected = mirrored;
    return e;
}
