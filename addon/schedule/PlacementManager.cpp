#include "addon/schedule/PlacementManager.hpp"
#include "addon/services/ResStrings.hpp"
#include <algorithm>
#include <cmath>
#include <utility>

// ------------------------------------------------------------------ the run

RunGroups::~RunGroups()
{
    for (IronArrayByProperty* group : groups)
        delete group;
    for (ComplexIronArrayByProperty* group : complexGroups)
        delete group;
}

IronProperties* RunGroups::Keep(std::unique_ptr<IronProperties> record)
{
    records.push_back(std::move(record));
    return records.back().get();
}

ComplexIronProperties* RunGroups::Keep(std::unique_ptr<ComplexIronProperties> record)
{
    complexRecords.push_back(std::move(record));
    return complexRecords.back().get();
}

// ------------------------------------------------------------------ IDs

namespace {

std::string Decimal(UInt32 k) { return std::to_string(k); }

// Whether `id` is the plain decimal text of a number (no sign, no leading
// zero, at most nine digits): only such an ID can equal a number handed out.
bool PlainNumber(const std::string& id, UInt32& k)
{
    constexpr size_t MaxDigits = 9;  // beyond any number of groups
    if (id.empty() || id.size() > MaxDigits || id[0] == '0')
        return false;
    k = 0;
    for (char c : id) {
        if (c < '0' || c > '9')
            return false;
        k = k * 10 + static_cast<UInt32>(c - '0');
    }
    return true;
}

template <typename Groups> std::string SmallestFreeId(const Groups& groups)
{
    FreeIdAllocator ids;
    for (const auto* group : groups)
        ids.Use(group->id);
    return ids.Next();
}

}  // namespace

void FreeIdAllocator::Use(const std::string& id)
{
    UInt32 k = 0;
    if (!PlainNumber(id, k))
        return;
    if (k >= SmallLimit) {
        large.insert(k);
        return;
    }
    if (k >= small.size())
        small.resize(std::min<size_t>(SmallLimit, std::max<size_t>(k + 1, small.size() * 2)), false);
    small[k] = true;
}

std::string FreeIdAllocator::Next() { return Decimal(NextNumber()); }

UInt32 FreeIdAllocator::NextNumber()
{
    while (IsUsed(next))
        ++next;
    Use(Decimal(next));
    return next;
}

std::string NextFreeId(const IronGroups& groups) { return SmallestFreeId(groups); }
std::string NextFreeComplexId(const ComplexIronGroups& groups) { return SmallestFreeId(groups); }

bool SortIndicesDescending(std::vector<Int32>& indices)
{
    std::sort(indices.begin(), indices.end(), [](Int32 a, Int32 b) { return a > b; });
    return true;
}

// ---------------------------------------------------------------- joining

void JoinIndex::Add(size_t key, Int32 group)
{
    if (static_cast<size_t>(group) >= next.size())
        next.resize(std::max<size_t>(static_cast<size_t>(group) + 1, next.size() * 2), 0);
    Bucket* bucket = buckets.Find(key);
    if (bucket == nullptr) {
        buckets.Insert(key, Bucket{group, group});
        return;
    }
    next[static_cast<size_t>(bucket->last)] = group;
    bucket->last = group;
}

Int32 JoinIndex::First(size_t key) const
{
    const Bucket* bucket = buckets.Find(key);
    return bucket == nullptr ? 0 : bucket->first;
}

namespace {

size_t JoinKey(const std::string& id, size_t keyHash) { return std::hash<std::string>()(id) * 31 + keyHash; }

// The first group (in list order) with that ID whose key the record equals;
// 0 when there is none.
template <typename Groups, typename Equal>
Int32 FirstEqual(const Groups& groups, const JoinIndex& index, size_t joinKey, const std::string& id, Equal equal)
{
    for (Int32 at = index.First(joinKey); at != 0; at = index.Next(at))
        if (groups[at]->id == id && equal(*groups[at]))
            return at;
    return 0;
}

}  // namespace

IronGroupJoiner::IronGroupJoiner(RunGroups& r, bool s) : run(r), silent(s)
{
    for (Int32 i = 1; i <= run.groups.GetItemCount(); ++i) {
        index.Add(JoinKey(run.groups[i]->id, IronPropertiesHash(run.groups[i]->Key())), i);
        ids.Use(run.groups[i]->id);
    }
}

IronArrayByProperty* IronGroupJoiner::Join(std::unique_ptr<IronProperties> owned, const std::string& readId)
{
    IronProperties* record = run.Keep(std::move(owned));
    const size_t hash = IronPropertiesHash(*record);
    auto equal = [&](const IronArrayByProperty& g) { return IronPropertiesEqual(g.Key(), *record); };
    Int32 found = 0;
    UInt32 number = 0;
    if (PlainNumber(readId, number) && number < numberedGroups.size()) {
        found = numberedGroups[number];
        if (found > 0 && !equal(*run.groups[found]))
            found = 0;
    }
    if (found == 0)
        found = FirstEqual(run.groups, index, JoinKey(readId, hash), readId, equal);
    if (found > 0) {
        IronArrayByProperty* group = run.groups[found];
        group->members.Push(record);
        if (record->isListing || silent) {
            IronProperties& key = group->OwnKey();
            key.isListing = true;
            key.listingColumns.AddSums(record->listingColumns);
        }
        return group;
    }

    if (!record->isListing && !silent)
        record->listingColumns.ZeroSums();
    UInt32 handedOut = 0;
    std::string id;
    if (record->isConcrete) {
        id = "0";
    } else if (readId.empty()) {
        handedOut = ids.NextNumber();
        id = Decimal(handedOut);
    } else {
        id = readId;
    }
    ids.Use(id);
    // The record stays as read, so the group shares it until its key changes.
    auto group = std::make_unique<IronArrayByProperty>(*record, id, IronArrayByProperty::KeyHeld::Shared);
    group->members.Push(record);
    IronArrayByProperty* added = group.get();
    const Int32 at = run.groups.Push(group.get());
    group.release();  // the list holds it now
    if (handedOut > 0) {
        if (handedOut >= numberedGroups.size())
            numberedGroups.resize(std::max<size_t>(handedOut + 1, numberedGroups.size() * 2), 0);
        numberedGroups[handedOut] = at;
    } else {
        index.Add(JoinKey(id, hash), at);
    }
    return added;
}

ComplexGroupJoiner::ComplexGroupJoiner(RunGroups& r, bool s) : run(r), silent(s)
{
    for (Int32 i = 1; i <= run.complexGroups.GetItemCount(); ++i) {
        const ComplexIronArrayByProperty& g = *run.complexGroups[i];
        if (g.key != nullptr)
            index.Add(JoinKey(g.id, ComplexIronPropertiesHash(*g.key)), i);
        ids.Use(g.id);
    }
}

ComplexIronArrayByProperty* ComplexGroupJoiner::Join(std::unique_ptr<ComplexIronProperties> owned, const std::string& readId)
{
    ComplexIronProperties* record = run.Keep(std::move(owned));
    const size_t hash = ComplexIronPropertiesHash(*record);
    const Int32 found = FirstEqual(run.complexGroups, index, JoinKey(readId, hash), readId,
                                   [&](const ComplexIronArrayByProperty& g) { return ComplexIronPropertiesEqual(*g.key, *record); });
    if (found > 0) {
        ComplexIronArrayByProperty* group = run.complexGroups[found];
        group->members.Push(record);
        if (record->isListing || silent) {
            group->key->isListing = true;
            group->key->listingColumns.AddSums(record->listingColumns);
        }
        return group;
    }

    if (!record->isListing && !silent)
        record->listingColumns.ZeroSums();
    auto group = std::make_unique<ComplexIronArrayByProperty>();
    group->key = record;
    group->id = readId.empty() ? ids.Next() : readId;
    ids.Use(group->id);
    group->members.Push(record);
    ComplexIronArrayByProperty* added = group.get();
    const Int32 at = run.complexGroups.Push(group.get());
    group.release();
    index.Add(JoinKey(added->id, hash), at);
    return added;
}

// ----------------------------------------------------------------- passes

namespace {

// One pass's phase in the run's progress window.
class PassProgress {
public:
    PassProgress(const PlacementManager& manager, RSStringId title, Int32 maximum)
        : window(manager.silent ? nullptr : manager.progress)
    {
        if (window != nullptr)
            window->StartPhase(GetResString(title), maximum);
    }
    // Shows the step and asks whether the user cancelled; on cancel the
    // window is closed and the pass ends with false.
    bool Step(Int32 value)
    {
        if (window == nullptr)
            return true;
        window->SetValue(value);
        if (!window->Cancelled())
            return true;
        window->Close();
        return false;
    }

private:
    ProgressWindowOwner* window;
};

constexpr RSStringId TitleMergingIds = ResStr::Texts::MergingIdsIndividual;
constexpr RSStringId TitleSorting = ResStr::Texts::SortingIndividual;
constexpr RSStringId TitleCompressing = ResStr::Texts::CompressingIndividual;
constexpr RSStringId TitleSortingComplex = ResStr::Texts::SortingComplex;
constexpr RSStringId TitleCompressingComplex = ResStr::Texts::CompressingComplex;

// By ID: its latest group so far. An ID that is the plain text of a small
// number, as the numbers handed out to objects without an ID are, goes by
// its value; any other by its text.
class LatestGroups {
public:
    explicit LatestGroups(Int32 groupCount) : numberLimit(2 * static_cast<UInt32>(std::max(groupCount, 0)) + 16) {}

    // The latest group of `id` before `group` (0 when there is none);
    // `group` is then its latest.
    Int32 Replace(const std::string& id, Int32 group)
    {
        UInt32 k = 0;
        if (PlainNumber(id, k) && k < numberLimit) {
            if (k >= byNumber.size())
                byNumber.resize(std::min<size_t>(numberLimit, std::max<size_t>(k + 1, byNumber.size() * 2)), 0);
            return std::exchange(byNumber[k], group);
        }
        const auto inserted = byText.emplace(id, group);
        return inserted.second ? 0 : std::exchange(inserted.first->second, group);
    }

private:
    UInt32 numberLimit;
    std::vector<Int32> byNumber;
    std::unordered_map<std::string, Int32> byText;
};

template <typename Groups> bool MakeUnique(PlacementManager& manager, Groups& groups, RSStringId title)
{
    const Int32 count = groups.GetItemCount();
    PassProgress progress(manager, title, count);

    // Group a keeps its ID and every later group with the same ID gets a new
    // number, free at that moment. A new number is free among all groups, so
    // it is never met again: only the first group with an ID renames, and
    // its later namesakes are exactly those that had its ID from the start.
    FreeIdAllocator ids;
    std::vector<bool> first(static_cast<size_t>(count) + 1, false);
    std::vector<Int32> nextNamesake(static_cast<size_t>(count) + 1, 0);
    {
        LatestGroups last(count);
        for (Int32 i = 1; i <= count; ++i) {
            ids.Use(groups[i]->id);
            const Int32 previous = last.Replace(groups[i]->id, i);
            if (previous == 0)
                first[static_cast<size_t>(i)] = true;
            else
                nextNamesake[static_cast<size_t>(previous)] = i;
        }
    }
    for (Int32 a = 1; a <= count - 1; ++a) {
        if (!progress.Step(a))
            return false;
        if (!first[static_cast<size_t>(a)])
            continue;
        for (Int32 i = nextNamesake[static_cast<size_t>(a)]; i != 0; i = nextNamesake[static_cast<size_t>(i)])
            groups[i]->id = ids.Next();
    }
    return true;
}

template <typename Groups> bool SortById(PlacementManager& manager, Groups& groups, RSStringId title)
{
    const Int32 count = groups.GetItemCount();
    PassProgress progress(manager, title, count);
    std::vector<const std::string*> ids;
    ids.reserve(static_cast<size_t>(count));
    for (Int32 i = 1; i <= count; ++i)
        ids.push_back(&groups[i]->id);
    std::vector<Int32> order;
    const bool done = BubbleOrderByIds(ids, order, [&](Int32 pass) { return progress.Step(pass); });
    // A cancelled sort leaves the list as it was.
    if (!done)
        return false;
    Groups sorted(static_cast<UInt32>(std::max<Int32>(count, 50)));
    for (Int32 at : order)
        sorted.Push(groups[at + 1]);
    groups = std::move(sorted);
    return true;
}

// Drops the merged groups from the list, keeping the order of the others.
template <typename Groups> void DeleteMerged(Groups& groups, std::vector<Int32>& merged)
{
    if (merged.empty())
        return;
    SortIndicesDescending(merged);
    std::vector<bool> gone(static_cast<size_t>(groups.GetItemCount()) + 1, false);
    for (Int32 index : merged)
        gone[static_cast<size_t>(index)] = true;
    // The new list first: should it fail, the groups are all still listed.
    Groups kept(static_cast<UInt32>(std::max<Int32>(groups.GetItemCount() - static_cast<Int32>(merged.size()), 50)));
    for (Int32 i = 1; i <= groups.GetItemCount(); ++i)
        if (!gone[static_cast<size_t>(i)])
            kept.Push(groups[i]);
    for (Int32 index : merged)
        delete groups[index];
    groups = std::move(kept);
    merged.clear();
}

// The merging loop: group b takes every later group i that is not merged
// yet and that `equal`(b, i) accepts, in list order. Only groups of one
// bucket can be equal; a cancel still drops the groups merged so far, so
// that no member is ever in two groups.
template <typename Groups, typename Bucket, typename Equal, typename Absorb>
bool Compress(PlacementManager& manager, Groups& groups, RSStringId title, Bucket bucketOf, Equal equal, Absorb absorb)
{
    const Int32 count = groups.GetItemCount();
    PassProgress progress(manager, title, count);
    std::unordered_map<size_t, std::vector<Int32>> buckets;
    std::vector<size_t> bucketOfGroup(static_cast<size_t>(count) + 1, 0);
    for (Int32 i = 1; i <= count; ++i) {
        bucketOfGroup[static_cast<size_t>(i)] = bucketOf(*groups[i]);
        buckets[bucketOfGroup[static_cast<size_t>(i)]].push_back(i);
    }
    std::vector<bool> isMerged(static_cast<size_t>(count) + 1, false);
    std::vector<Int32> merged;
    for (Int32 b = 1; b <= count - 1; ++b) {
        if (!progress.Step(b)) {
            DeleteMerged(groups, merged);
            return false;
        }
        if (isMerged[static_cast<size_t>(b)])
            continue;
        std::vector<Int32>& bucket = buckets[bucketOfGroup[static_cast<size_t>(b)]];
        bool mergedAny = false;
        for (auto it = std::upper_bound(bucket.begin(), bucket.end(), b); it != bucket.end(); ++it) {
            const Int32 i = *it;
            if (isMerged[static_cast<size_t>(i)] || !equal(*groups[b], *groups[i]))
                continue;
            absorb(*groups[b], *groups[i]);
            isMerged[static_cast<size_t>(i)] = true;
            merged.push_back(i);
            mergedAny = true;
        }
        // Later groups of the bucket need not see the merged ones again.
        if (mergedAny)
            bucket.erase(std::remove_if(bucket.begin(), bucket.end(), [&](Int32 i) { return isMerged[static_cast<size_t>(i)]; }),
                         bucket.end());
    }
    DeleteMerged(groups, merged);
    return true;
}

template <typename Group> void AppendMembers(Group& into, const Group& from)
{
    for (auto* member : from.members)
        into.members.Push(member);
}

}  // namespace

bool MakeIdsUnique(PlacementManager& manager, IronGroups& groups) { return MakeUnique(manager, groups, TitleMergingIds); }
bool MakeComplexIdsUnique(PlacementManager& manager, ComplexIronGroups& groups)
{
    return MakeUnique(manager, groups, TitleSortingComplex);
}

bool SortGroupsById(PlacementManager& manager, IronGroups& groups) { return SortById(manager, groups, TitleSorting); }
bool SortComplexGroupsById(PlacementManager& manager, ComplexIronGroups& groups)
{
    return SortById(manager, groups, TitleSortingComplex);
}

bool CompressGroups(PlacementManager& manager, IronGroups& groups)
{
    return Compress(
        manager, groups, TitleCompressing, [](const IronArrayByProperty& g) { return IronPropertiesHash(g.Key()); },
        [](const IronArrayByProperty& b, const IronArrayByProperty& i) { return IronPropertiesEqual(b.Key(), i.Key()); },
        [](IronArrayByProperty& b, const IronArrayByProperty& i) {
            AppendMembers(b, i);
            b.OwnKey().listingColumns.AddSums(i.Key().listingColumns);
        });
}

// Complex groups are merged only when they share their key record. The
// reading gives every complex group a key of its own, so the list stays as
// it is: a complex element's ID is the name its user gave it, from which its
// sub-bars' IDs are written, and two equal elements named apart stay apart.
bool CompressComplexGroups(PlacementManager& manager, ComplexIronGroups& groups)
{
    return Compress(
        manager, groups, TitleCompressingComplex,
        [](const ComplexIronArrayByProperty& g) { return std::hash<const void*>()(g.key); },
        [](const ComplexIronArrayByProperty& b, const ComplexIronArrayByProperty& i) { return b.key == i.key; },
        // The shared key already holds the sums; adding it to itself would
        // count them twice.
        [](ComplexIronArrayByProperty& b, const ComplexIronArrayByProperty& i) { AppendMembers(b, i); });
}

bool SortGroupsByProperties(PlacementManager&, IronGroups& groups)
{
    constexpr double Tolerance = 1e-5;
    // Whether the group at l goes after the one at l + 1, on row 0 of their
    // keys: the data values the earlier key's form counts, then the first
    // extra value. A value a row lacks counts as 0, as the writers pad.
    auto after = [&](const IronProperties& l, const IronProperties& next) {
        const double t = l.ironType.Get(0, 2);
        const Int32 available = std::max(l.ironData.RowLength(0), next.ironData.RowLength(0));
        const Int32 n = !(t > 0.0) ? 0 : t >= static_cast<double>(available) ? available : static_cast<Int32>(t);
        for (Int32 c = 0; c < n; ++c) {
            const double x = l.ironData.Get(0, c);
            const double y = next.ironData.Get(0, c);
            if (std::fabs(x - y) >= Tolerance)
                return x > y;
        }
        return l.ironExtraData.Get(0, 0) - next.ironExtraData.Get(0, 0) > Tolerance;
    };
    const Int32 count = groups.GetItemCount();
    for (Int32 pass = 1; pass <= count; ++pass) {
        bool exchanged = false;
        for (Int32 l = 1; l <= count - pass; ++l) {
            if (after(groups[l]->Key(), groups[l + 1]->Key())) {
                std::swap(groups[l], groups[l + 1]);
                exchanged = true;
            }
        }
        if (!exchanged)
            break;
    }
    return true;
}

bool RenumberGroups(PlacementManager&, IronGroups& groups)
{
    UInt32 concrete = 0;
    for (Int32 i = 1; i <= groups.GetItemCount(); ++i) {
        if (groups[i]->Key().isConcrete) {
            ++concrete;
            groups[i]->id = "0";
        } else {
            groups[i]->id = Decimal(static_cast<UInt32>(i) - concrete);
        }
    }
    return true;
}
