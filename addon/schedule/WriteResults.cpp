#include "addon/schedule/WriteResults.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/MemoMasks.hpp"
#include "addon/host/Owners.hpp"
#include "addon/schedule/LayerUnlock.hpp"
#include "addon/schedule/ListObject.hpp"
#include "addon/schedule/ParamNames.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/gs/CH.hpp"
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr Int32 TextBufferSize = 1024;  // formatted texts: at most 1023 bytes
constexpr Int32 IdTruncateLimit = 1000;
constexpr USize InlineTextUnits = 255;  // an inline value and its terminator fill 256 units

std::string Format(const char* format, const char* a, const char* b)
{
    char buffer[TextBufferSize];
    std::snprintf(buffer, sizeof buffer, format, a, b);
    return buffer;
}

GS::UniString FromAnsi(const std::string& text) { return GS::UniString(text.c_str(), CC_Default); }

// An inline text: at most 255 units, never ending in half of a surrogate
// pair.
GS::UniString InlineText(const std::string& text)
{
    GS::UniString u = FromAnsi(text);
    if (u.GetLength() <= InlineTextUnits)
        return u;
    USize n = InlineTextUnits;
    const GS::uchar_t last = u.ToUStr()[n - 1];
    if (last >= 0xD800 && last <= 0xDBFF)
        --n;
    return GS::UniString(u.ToUStr(), n);
}

// The object's element record and memo, read as the host gives them; the
// results of the reads are not needed, a member the host cannot give is
// left alone by the change that follows.
struct MemberObject {
    explicit MemberObject(const API_Guid& guid)
    {
        std::memset(static_cast<void*>(&element), 0, sizeof element);
        element.header.typeID = API_ObjectID;
        element.header.guid = guid;
        HostGetElement(&element);
        HostGetMemo(guid, &memo.Get(), MemoAllButBit30);
    }

    void SetInfoString(const std::string& id)
    {
        if (memo->elemInfoString != nullptr)
            *memo->elemInfoString = FromAnsi(id);
    }

    // Writes the object back, its layer unlocked for the change when it is
    // locked.
    void Write()
    {
        API_Element mask;
        std::memset(static_cast<void*>(&mask), 0xFF, sizeof mask);
        LayerUnlock unlock(element.header.layer);
        HostChangeElement(&element, &mask, &memo.Get(), MemoAllButBit30, true);
    }

    API_Element element;
    MemoOwner memo;
};

void WriteIndividualMember(const IronArrayByProperty& group, const IronProperties& member, const char* idPrefix)
{
    MemberObject object(member.guid);
    object.SetInfoString(group.id);
    API_AddParType** params = object.memo->params;
    const IronProperties& key = group.key;

    double type[ListTypeColumns];
    for (Int32 c = 0; c < ListTypeColumns; ++c)
        type[c] = key.ironType.Get(0, c);
    GdlParams::WriteNumbers(params, ParamName::IronType, 1, ListTypeColumns, type);

    // The handle is sized to exactly the w values, also when the object's
    // own handle held fewer.
    const Int32 w = DataValueCount(key.ironType.Get(0, 2));
    std::vector<double> data(static_cast<size_t>(w));
    for (Int32 d = 0; d < w; ++d)
        data[static_cast<size_t>(d)] = key.ironData.Get(0, d);
    GdlParams::WriteNumbers(params, ParamName::IronData, 1, w, data.data());

    GdlParams::WriteText(params, ParamName::IronId, InlineText(MemberId(idPrefix, group.id)));
    GdlParams::WriteText(params, ParamName::IronQuality, InlineText(key.quality));
    object.Write();
}

void WriteComplexMember(const ComplexIronArrayByProperty& group, Int32 position, ComplexIronProperties& member)
{
    MemberObject object(member.guid);
    object.SetInfoString(group.id);
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
    object.Write();
}

}  // namespace

std::string MemberId(const char* idPrefix, const std::string& groupId)
{
    if (idPrefix != nullptr)
        return Format("%s - %s", idPrefix, groupId.c_str());
    return groupId.substr(0, TextBufferSize - 1);
}

std::string NewSubBarId(const std::string* oldId, const std::string& groupId, Int32 position, Int32 r)
{
    char buffer[TextBufferSize];
    if (oldId == nullptr) {
        std::snprintf(buffer, sizeof buffer, "%d - %d", position, r);
        return buffer;
    }
    char cut[TextBufferSize];
    CHTruncate(oldId->c_str(), cut, IdTruncateLimit);
    const char* dash = std::strrchr(cut, '-');
    const std::ptrdiff_t q = dash != nullptr ? dash - cut : -1;
    if (q >= 2)
        std::snprintf(buffer, sizeof buffer, "%s%s", groupId.c_str(), cut + q - 1);
    else
        std::snprintf(buffer, sizeof buffer, "%s - %d", groupId.c_str(), r);
    return buffer;
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
    Int32 c = 0;
    for (const IronArrayByProperty* group : groups) {
        if (progress != nullptr)
            progress->SetValue(c);
        ++c;
        for (const IronProperties* member : group->members)
            WriteIndividualMember(*group, *member, idPrefix);
    }
    if (complexGroups != nullptr) {
        Int32 position = 0;
        for (const ComplexIronArrayByProperty* group : *complexGroups) {
            ++position;
            if (progress != nullptr)
                progress->SetValue(c);
            ++c;
            for (ComplexIronProperties* member : group->members)
                WriteComplexMember(*group, position, *member);
        }
    }
    if (progress != nullptr)
        progress->Close();
    WriteListObject(manager, groups, complexGroups);
    return NoError;
}

bool WriteResultsUndoable(PlacementManager& manager, IronGroups& groups, ComplexIronGroups* complexGroups,
                          const char* idPrefix)
{
    const GS::UniString name(GetResString(ResStr::AddOnName::Name), CC_Default);
    bool written = false;
    const UndoableBody body = [&]() -> GSErrCode {
        return CallGuarded("WriteResults", APIERR_GENERAL, [&] {
            const GSErrCode err = WriteResults(manager, groups, complexGroups, idPrefix);
            written = err == NoError;
            return err;
        });
    };
    return HostRunUndoableCommand(&name, &body) == NoError && written;
}
