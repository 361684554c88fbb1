// The state of one run over the placed reinforcement, the run's groups and
// records, and the passes that give the groups unique IDs, sort and merge
// them.
//
// The passes are built to cost about linearly in the number of groups (a
// first cutting list over a large building starts with a group per bar)
// while leaving exactly the groups, member order and IDs of the plain
// algorithms: hashes only narrow the candidates of an equality test, the
// first group in list order still wins, and ID sorting leaves the order a
// bubble sort by CompareIds leaves.
#pragma once
#include "addon/host/Owners.hpp"
#include "addon/schedule/IdOrder.hpp"
#include "addon/schedule/IronRecords.hpp"
#include "addon/services/CommandOutcome.hpp"
#include "platform/gs/FlatTable.hpp"
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

struct PlacementManager {
    API_Guid listGuid = APINULLGuid;  // the cutting-list object the reading found
    Int32 layer = -1;  // layer of the first object read (an attribute index)
    bool listAllowed = true;  // a new cutting-list object may be placed
    bool listAborted = false;  // the list object was not filled or placed
    bool silent = false;  // no progress, no cancel; listing sums over every member
    // The run's progress window; without one (or when silent) the passes
    // show no progress and the user cannot cancel.
    ProgressWindowOwner* progress = nullptr;
    // What the run could not read or write, told once at its end.
    CommandOutcome outcome;
};

// The groups of one run and every record read into them. The run owns them
// all: whatever path the run takes, each group, record and complex key is
// freed once, when this goes (a complex key is a member record).
class RunGroups {
public:
    RunGroups() = default;
    ~RunGroups();
    RunGroups(const RunGroups&) = delete;
    RunGroups& operator=(const RunGroups&) = delete;

    // Takes a record into the run's keeping and gives it back.
    IronProperties* Keep(std::unique_ptr<IronProperties> record);
    ComplexIronProperties* Keep(std::unique_ptr<ComplexIronProperties> record);

    IronGroups groups{50};
    ComplexIronGroups complexGroups{50};

private:
    std::vector<std::unique_ptr<IronProperties>> records;
    std::vector<std::unique_ptr<ComplexIronProperties>> complexRecords;
};

// ------------------------------------------------------------------ IDs

// The smallest number from 1 up whose decimal text is no group's ID.
std::string NextFreeId(const IronGroups& groups);
std::string NextFreeComplexId(const ComplexIronGroups& groups);

// Hands out the smallest free number again and again while the IDs in use
// only grow. Only an ID that is the plain decimal text of a number (no sign,
// no leading zero) can ever equal a number handed out, so only those are
// remembered: one bit per number, large numbers in a set of their own.
class FreeIdAllocator {
public:
    void Use(const std::string& id);
    std::string Next();
    // The same, as the number.
    UInt32 NextNumber();

private:
    bool IsUsed(UInt32 k) const { return k < small.size() ? small[k] : large.count(k) != 0; }
    static constexpr UInt32 SmallLimit = 1u << 20;
    std::vector<bool> small;  // numbers below SmallLimit
    std::unordered_set<UInt32> large;
    UInt32 next = 1;
};

// Sorts group indices from the largest down.
bool SortIndicesDescending(std::vector<Int32>& indices);

// ---------------------------------------------------------------- joining

// Groups by the hash of their ID and key, each bucket in list order; a
// bucket may hold groups of other IDs and keys.
class JoinIndex {
public:
    void Add(size_t key, Int32 group);
    // The first group of the bucket, 0 when it is empty; then the next.
    Int32 First(size_t key) const;
    Int32 Next(Int32 group) const { return static_cast<size_t>(group) < next.size() ? next[static_cast<size_t>(group)] : 0; }

private:
    struct Bucket {
        Int32 first = 0;
        Int32 last = 0;
    };
    struct KeyHash {
        UInt64 operator()(size_t key) const { return GS::MixBits(key); }
    };
    // A first run over a large building starts a group per bar, each in a
    // bucket of its own: a flat table keeps that to one probe per group.
    GS::FlatTable<size_t, Bucket, KeyHash> buckets;
    std::vector<Int32> next;  // by group: the next group of its bucket
};

// Gathers the records the reading pass makes into groups: a record joins the
// first group in list order whose key it equals and whose ID is its own,
// else it starts a group of its own. The list must change only through the
// joiner while it is in use.
class IronGroupJoiner {
public:
    IronGroupJoiner(RunGroups& run, bool silent);
    // Adds the record (kept by the run) under the ID read from its object.
    IronArrayByProperty* Join(std::unique_ptr<IronProperties> record, const std::string& readId);

private:
    RunGroups& run;
    bool silent;
    JoinIndex index;
    FreeIdAllocator ids;
    // By number handed out to a record without an ID: the group it started
    // (0 for none). Such a group is the first with its ID, since the number
    // was free; a later record that carries the ID tries it first, then the
    // index, which holds every other group. A first run over a large
    // building hands out a number to almost every bar.
    std::vector<Int32> numberedGroups;
};

class ComplexGroupJoiner {
public:
    ComplexGroupJoiner(RunGroups& run, bool silent);
    ComplexIronArrayByProperty* Join(std::unique_ptr<ComplexIronProperties> record, const std::string& readId);

private:
    RunGroups& run;
    bool silent;
    JoinIndex index;
    FreeIdAllocator ids;
};

// ----------------------------------------------------------------- passes
// Each returns true, or false when the user cancelled (the progress window
// is then closed already).

bool MakeIdsUnique(PlacementManager& manager, IronGroups& groups);
bool SortGroupsById(PlacementManager& manager, IronGroups& groups);
bool CompressGroups(PlacementManager& manager, IronGroups& groups);
bool MakeComplexIdsUnique(PlacementManager& manager, ComplexIronGroups& groups);
bool SortComplexGroupsById(PlacementManager& manager, ComplexIronGroups& groups);
bool CompressComplexGroups(PlacementManager& manager, ComplexIronGroups& groups);
// Silent passes of the complex-element commands.
bool SortGroupsByProperties(PlacementManager& manager, IronGroups& groups);
bool RenumberGroups(PlacementManager& manager, IronGroups& groups);
