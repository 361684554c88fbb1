// The plain algorithms of the grouping and the passes, step by step as they
// are written down: linear searches, scans from 1 for a free number and full
// bubble sorts. Slow (cubic on a first run); kept only to check that the
// add-on's passes give exactly their groups, member order and IDs, and to
// measure against in bench/.
#pragma once
#include "addon/schedule/PlacementManager.hpp"
#include "platform/gs/CH.hpp"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace Literal {

// Trailing digits compared as 32-bit values: the same as the add-on's
// order for digit runs of up to nine digits.
inline int CompareIds(const std::string& a, const std::string& b)
{
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (!a.empty() && !b.empty() && digit(a.back()) && digit(b.back())) {
        size_t pa = a.size(), pb = b.size();
        while (pa > 0 && digit(a[pa - 1]))
            --pa;
        while (pb > 0 && digit(b[pb - 1]))
            --pb;
        if (CHEqualCStrings(a.substr(0, pa).c_str(), b.substr(0, pb).c_str()))
            return std::atoi(a.c_str() + pa) - std::atoi(b.c_str() + pb);
    }
    return CHCompareASCII(a.c_str(), b.c_str());
}

template <typename Groups> std::string NextFreeId(const Groups& groups)
{
    for (unsigned k = 1;; ++k) {
        char text[16];
        std::snprintf(text, sizeof text, "%u", k);
        bool used = false;
        for (Int32 i = 1; i <= groups.GetItemCount() && !used; ++i)
            used = groups[i]->id == text;
        if (!used)
            return text;
    }
}

inline void Join(RunGroups& run, std::unique_ptr<IronProperties> owned, const std::string& readId, bool silent)
{
    IronProperties* record = run.Keep(std::move(owned));
    for (Int32 g = 1; g <= run.groups.GetItemCount(); ++g) {
        IronArrayByProperty& group = *run.groups[g];
        if (IronPropertiesEqual(group.Key(), *record) && group.id == readId) {
            group.members.Push(record);
            if (record->isListing || silent) {
                group.OwnKey().isListing = true;
                for (Int32 l = 0; l < record->listingColumns.RowCount() && l < group.Key().listingColumns.RowCount(); ++l)
                    for (Int32 c : {0, 3, 4})
                        group.OwnKey().listingColumns.At(l, c) += record->listingColumns.Get(l, c);
            }
            return;
        }
    }
    if (!record->isListing && !silent)
        for (Int32 l = 0; l < record->listingColumns.RowCount(); ++l)
            for (Int32 c : {0, 3, 4})
                record->listingColumns.At(l, c) = 0;
    std::string id = record->isConcrete ? "0" : readId.empty() ? Literal::NextFreeId(run.groups) : readId;
    auto* group = new IronArrayByProperty(*record, id);
    group->members.Push(record);
    run.groups.Push(group);
}

inline void Join(RunGroups& run, std::unique_ptr<ComplexIronProperties> owned, const std::string& readId, bool silent)
{
    ComplexIronProperties* record = run.Keep(std::move(owned));
    for (Int32 g = 1; g <= run.complexGroups.GetItemCount(); ++g) {
        ComplexIronArrayByProperty& group = *run.complexGroups[g];
        if (ComplexIronPropertiesEqual(*group.key, *record) && group.id == readId) {
            group.members.Push(record);
            if (record->isListing || silent) {
                group.key->isListing = true;
                for (Int32 l = 0; l < record->listingColumns.RowCount() && l < group.key->listingColumns.RowCount(); ++l)
                    for (Int32 c : {0, 3, 4})
                        group.key->listingColumns.At(l, c) += record->listingColumns.Get(l, c);
            }
            return;
        }
    }
    if (!record->isListing && !silent)
        for (Int32 l = 0; l < record->listingColumns.RowCount(); ++l)
            for (Int32 c : {0, 3, 4})
                record->listingColumns.At(l, c) = 0;
    auto* group = new ComplexIronArrayByProperty;
    group->key = record;
    group->id = readId.empty() ? Literal::NextFreeId(run.complexGroups) : readId;
    group->members.Push(record);
    run.complexGroups.Push(group);
}

template <typename Groups> void MakeIdsUnique(Groups& groups)
{
    const Int32 count = groups.GetItemCount();
    for (Int32 a = 1; a <= count - 1; ++a)
        for (Int32 i = a + 1; i <= count; ++i)
            if (groups[i]->id == groups[a]->id)
                groups[i]->id = Literal::NextFreeId(groups);
}

template <typename Groups> void SortById(Groups& groups)
{
    const Int32 count = groups.GetItemCount();
    for (Int32 b = 1; b <= count; ++b)
        for (Int32 i = 2; i <= count - b + 1; ++i)
            if (Literal::CompareIds(groups[i - 1]->id, groups[i]->id) > 0)
                std::swap(groups[i - 1], groups[i]);
}

inline void SortIndicesDescending(std::vector<Int32>& list)
{
    for (size_t j = 0; j < list.size(); ++j)
        for (size_t k = 1; k < list.size(); ++k)
            if (list[k - 1] < list[k])
                std::swap(list[k - 1], list[k]);
}

template <typename Groups, typename Equal, typename Sum> void Compress(Groups& groups, Equal equal, Sum sum)
{
    std::vector<Int32> merged;
    auto isMerged = [&](Int32 x) { return std::find(merged.begin(), merged.end(), x) != merged.end(); };
    const Int32 count = groups.GetItemCount();
    for (Int32 b = 1; b <= count - 1; ++b) {
        if (isMerged(b))
            continue;
        for (Int32 i = b + 1; i <= count; ++i) {
            if (isMerged(i) || !equal(*groups[b], *groups[i]))
                continue;
            for (Int32 m = 1; m <= groups[i]->members.GetItemCount(); ++m)
                groups[b]->members.Push(groups[i]->members[m]);
            sum(*groups[b], *groups[i]);
            merged.push_back(i);
        }
    }
    Literal::SortIndicesDescending(merged);
    for (Int32 index : merged) {
        delete groups[index];
        groups.Delete(index);
    }
}

inline void CompressGroups(IronGroups& groups)
{
    Compress(
        groups, [](const IronArrayByProperty& b, const IronArrayByProperty& i) { return IronPropertiesEqual(b.Key(), i.Key()); },
        [](IronArrayByProperty& b, const IronArrayByProperty& i) {
            for (Int32 l = 0; l < i.Key().listingColumns.RowCount() && l < b.Key().listingColumns.RowCount(); ++l)
                for (Int32 c : {0, 3, 4})
                    b.OwnKey().listingColumns.At(l, c) += i.Key().listingColumns.Get(l, c);
        });
}

inline void CompressComplexGroups(ComplexIronGroups& groups)
{
    Compress(
        groups, [](const ComplexIronArrayByProperty& b, const ComplexIronArrayByProperty& i) { return b.key == i.key; },
        [](ComplexIronArrayByProperty&, const ComplexIronArrayByProperty&) {});
}

// The ID passes of a Cutting List run, in their order: unique IDs, sorted,
// merged and sorted again, for bars and then for complex elements.
inline void RunPassChain(RunGroups& run)
{
    MakeIdsUnique(run.groups);
    SortById(run.groups);
    CompressGroups(run.groups);
    SortById(run.groups);
    MakeIdsUnique(run.complexGroups);
    SortById(run.complexGroups);
    CompressComplexGroups(run.complexGroups);
    SortById(run.complexGroups);
}

inline void SortGroupsByProperties(IronGroups& groups)
{
    const Int32 count = groups.GetItemCount();
    for (Int32 j = 1; j <= count; ++j)
        for (Int32 l = 1; l <= count - j; ++l) {
            const IronProperties& a = groups[l]->Key();
            const IronProperties& b = groups[l + 1]->Key();
            const Int32 n = static_cast<Int32>(a.ironType.Get(0, 2));
            bool decided = false, exchange = false;
            for (Int32 c = 0; c < n && !decided; ++c)
                if (std::fabs(a.ironData.Get(0, c) - b.ironData.Get(0, c)) >= 1e-5) {
                    decided = true;
                    exchange = a.ironData.Get(0, c) > b.ironData.Get(0, c);
                }
            if (!decided)
                exchange = a.ironExtraData.Get(0, 0) - b.ironExtraData.Get(0, 0) > 1e-5;
            if (exchange)
                std::swap(groups[l], groups[l + 1]);
        }
}

}  // namespace Literal
