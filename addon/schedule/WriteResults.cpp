#include "addon/schedule/WriteResults.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/MemoMasks.hpp"
#include "addon/host/Owners.hpp"
#include "addon/schedule/LayerUnlock.hpp"
#include "addon/schedule/ListObject.hpp"
#include "addon/schedule/ParamNames.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/services/HostText.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/gs/CH.hpp"
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr Int32 TextBufferSize = 1024;  // formatted texts: at most 1023 bytes
constexpr Int32 IdTruncateLimit = 1000;
constexpr USize InlineTextUnits = 255;  // an inline value and its terminator fill 256 units

GS::UniString FromAnsi(const std::string& text) { return HostText::FromText(text, std::string::npos); }

// An inline text: at most 255 units, never ending in half of a surrogate
// pair (a character outside the basic plane is kept whole or left out).
GS::UniString InlineText(const std::string& text) { return HostText::FromText(text, InlineTextUnits); }

// Every field set in a change of a whole element record.
const API_Element& WholeRecordMask()
{
    static const API_Element mask = [] {
        API_Element m;
        std::memset(static_cast<void*>(&m), 0xFF, sizeof m);
        return m;
    }();
    return mask;
}

// The object's element record and memo as the host gives them. A member
// the host cannot give is never written: its zeroed record would put the
// bar at the origin on no layer with no part. The run's result would then
// be incomplete, so the step fails (`readError`) and is taken back whole.
struct MemberObject {
    explicit MemberObject(const API_Guid& guid)
    {
        std::memset(static_cast<void*>(&element), 0, sizeof element);
        element.header.typeID = API_ObjectID;
        element.header.guid = guid;
        readError = HostGetElement(&element);
        if (readError == NoError)
            readError = HostGetMemo(guid, &memo.Get(), MemoAllButBit30);
    }

    void SetInfoString(const GS::UniString& text)
    {
        if (memo->elemInfoString != nullptr)
            *memo->elemInfoString = text;
    }

    // Writes the object back, its layer unlocked for the change when it is
    // locked; the first failure of the unlock, the change or the lock again.
    GSErrCode Write()
    {
        LayerUnlock unlock(element.header.layer);
        if (unlock.Error() != NoError)
            return unlock.Error();
        const GSErrCode err = HostChangeElement(&element, &WholeRecordMask(), &memo.Get(), MemoAllButBit30, true);
        const GSErrCode relock = unlock.Relock();
        return err != NoError ? err : relock;
    }

    API_Element element;
    MemoOwner memo;
    GSErrCode readError = NoError;
};

// What every member of an individual group gets, made once for the group.
struct IndividualValues {
    IndividualValues(const IronArrayByProperty& group, const char* idPrefix)
        : infoString(FromAnsi(group.id)), memberId(InlineText(MemberId(idPrefix, group.id))),
          quality(InlineText(group.Key().quality))
    {
        const IronProperties& key = group.Key();
        for (Int32 c = 0; c < ListTypeColumns; ++c)
            type[c] = key.ironType.Get(0, c);
        // The handle is sized to exactly the w values, also when the
        // object's own handle held fewer.
        data.resize(static_cast<size_t>(DataValueCount(key.ironType.Get(0, 2))));
        for (size_t d = 0; d < data.size(); ++d)
            data[d] = key.ironData.Get(0, static_cast<Int32>(d));
    }

    GS::UniString infoString;
    GS::UniString memberId;
    GS::UniString quality;
    double type[ListTypeColumns];
    std::vector<double> data;
};

GSErrCode WriteIndividualMember(const IndividualValues& values, const IronProperties& member)
{
    MemberObject object(member.guid);
    if (object.readError != NoError)
        return object.readError;
    object.SetInfoString(values.infoString);
    // One walk over the records finds the four names written below.
    const GdlParams::NameIndex params(object.memo->params);
    GdlParams::WriteNumbers(params, ParamName::IronType, 1, ListTypeColumns, values.type);
    GdlParams::WriteNumbers(params, ParamName::IronData, 1, static_cast<Int32>(values.data.size()), values.data.data());
    GdlParams::WriteText(params, ParamName::IronId, values.memberId);
    GdlParams::WriteText(params, ParamName::IronQuality, values.quality);
    return object.Write();
}

GSErrCode WriteComplexMember(const ComplexIronArrayByProperty& group, Int32 position, ComplexIronProperties& member)
{
    MemberObject object(member.guid);
    if (object.readError != NoError)
        return object.readError;
    object.SetInfoString(FromAnsi(group.id));
    API_AddParType** params = object.memo->params;
    GdlParams::WriteText(params, ParamName::IronId, InlineText(group.id));

    // The new IDs are made once per member and go into every ironID record;
    // the record keeps them, so that the list rows show them.
    const Int32 count = std::max(member.listingRows, 0);
    std::vector<GS::UniString> ids;
    ids.reserve(static_cast<size_t>(count));
    for (Int32 i = 0; i < count; ++i) {
        const bool present = member.ironIds.present && static_cast<size_t>(i) < member.ironIds.values.size();
        std::string id = NewSubBarId(present ? &member.ironIds.values[static_cast<size_t>(i)] : nullptr, group.id,
                                     position, i + 1);
        ids.push_back(FromAnsi(id));
        if (present)
            member.ironIds.values[static_cast<size_t>(i)] = std::move(id);
    }
    GdlParams::WriteTexts(params, ParamName::SubBarIds, count, 1, ids.data());
    return object.Write();
}

}  // namespace

std::string MemberId(const char* idPrefix, const std::string& groupId)
{
    if (idPrefix == nullptr)
        return HostText::Join(std::string(), groupId, TextBufferSize - 1);
    // The prefix gives way, never the group's suffix: cut together to the
    // field, every bar of a long ID would end alike while the element and
    // its list still tell the groups apart. The field counts UTF-16 units.
    const std::string suffix = HostText::Join(" - ", groupId, TextBufferSize - 1);
    const USize suffixUnits = HostText::FromText(suffix).GetLength();
    GS::UniString prefix = HostText::FromText(idPrefix);
    if (prefix.GetLength() + suffixUnits > InlineTextUnits && suffixUnits < InlineTextUnits)
        prefix = HostText::FromText(idPrefix, InlineTextUnits - suffixUnits);
    return HostText::Join(HostText::ToText(prefix), suffix, TextBufferSize - 1);
}

std::string NewSubBarId(const std::string* oldId, const std::string& groupId, Int32 position, Int32 r)
{
    char buffer[TextBufferSize];
    if (oldId == nullptr) {
        std::snprintf(buffer, sizeof buffer, "%d - %d", position, r);
        return buffer;
    }
    // The old ID's part from one before its last dash on (" - 3") follows
    // the group's ID; the old ID counts in characters, whichever way it is
    // kept.
    const std::u16string cut = HostText::FromText(*oldId, IdTruncateLimit - 1).Units();
    const size_t dash = cut.rfind(u'-');
    if (dash != std::u16string::npos && dash >= 2)
        return HostText::Join(groupId, HostText::ToText(GS::UniString(cut.substr(dash - 1))), TextBufferSize - 1);
    std::snprintf(buffer, sizeof buffer, " - %d", r);
    return HostText::Join(groupId, buffer, TextBufferSize - 1);
}

GSErrCode WriteResults(PlacementManager& manager, IronGroups& groups, ComplexIronGroups* complexGroups,
                       const char* idPrefix)
{
    ProgressWindowOwner* progress = manager.silent ? nullptr : manager.progress;
    if (progress != nullptr) {
        const Int32 n = groups.GetItemCount() + (complexGroups != nullptr ? complexGroups->GetItemCount() : 0);
        if (n > ManyGroups)
            progress->StartPhase(GetResString(ResStr::Texts::RewritingData), n, true);
        else
            progress->StartPhase(GetResString(ResStr::Texts::RewritingData), n);
    }
    // The first member that cannot be read or written ends the step with
    // its code: the host takes every change of the step back, and the run
    // says once that it could not be completed.
    GSErrCode err = NoError;
    Int32 c = 0;
    for (const IronArrayByProperty* group : groups) {
        if (progress != nullptr)
            progress->SetValue(c);
        ++c;
        if (err != NoError)
            continue;
        const IndividualValues values(*group, idPrefix);
        for (const IronProperties* member : group->members)
            if (err == NoError)
                err = WriteIndividualMember(values, *member);
    }
    if (complexGroups != nullptr) {
        Int32 position = 0;
        for (const ComplexIronArrayByProperty* group : *complexGroups) {
            ++position;
            if (progress != nullptr)
                progress->SetValue(c);
            ++c;
            for (ComplexIronProperties* member : group->members)
                if (err == NoError)
                    err = WriteComplexMember(*group, position, *member);
        }
    }
    if (progress != nullptr)
        progress->Close();
    if (err != NoError)
        return manager.outcome.Fail(err);
    err = WriteListObject(manager, groups, complexGroups);
    if (err != NoError)
        return manager.outcome.Fail(err);
    return NoError;
}

bool WriteResultsUndoable(PlacementManager& manager, IronGroups& groups, ComplexIronGroups* complexGroups,
                          const char* idPrefix)
{
    bool written = false;
    const GSErrCode result = RunUndoableStep(manager.outcome, [&]() -> GSErrCode {
        const GSErrCode err = WriteResults(manager, groups, complexGroups, idPrefix);
        written = err == NoError;
        return err;
    });
    return result == NoError && written;
}
