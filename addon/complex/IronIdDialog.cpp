#include "addon/complex/IronIdDialog.hpp"
#include "addon/complex/AddOnPreferences.hpp"
#include "addon/complex/DialogItems.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostRequests.hpp"
#include "addon/host/Owners.hpp"
#include "addon/schedule/ElementCollector.hpp"
#include "addon/schedule/ParamNames.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/dg/DGModal.hpp"
#include <algorithm>
#include <cstring>
#include <limits>

namespace {
constexpr size_t IdBufferSize = 1024;
constexpr Int16 ItemChangedMessage = 6;

GS::UniString UnitsOf(const GS::uchar_t* text, size_t capacity)
{
    size_t n = 0;
    while (n < capacity && text[n] != 0)
        ++n;
    return GS::UniString(text, static_cast<USize>(n));
}
}  // namespace

void IronIdDialogData::AppendId(const std::string& id)
{
    const char* text = id.c_str();
    ids.Push(std::string(text, std::min(std::strlen(text), static_cast<size_t>(IdBufferSize - 1))));
}

bool IronIdDialogData::HasId(const std::string& id) const
{
    for (Int32 i = 1; i <= ids.GetItemCount(); ++i)
        if (id == ids[i])
            return true;
    return false;
}

std::string IronIdDialogData::LastId() const
{
    return ids.GetItemCount() == 0 ? std::string() : std::string(ids[ids.GetItemCount()]);
}

bool VisitPlacedObjects(const std::function<void(const API_Element&)>& visit)
{
    ProgressWindowOwner progress(GetResString(ResStr::Texts::Preprocessing), 1);
    GS::Array<API_Guid> objects;
    if (HostListElementsByType(API_ObjectID, &objects, APIFilt_OnVisLayer | APIFilt_OnActFloor, 0, APINULLGuid) !=
        NoError) {
        progress.Close();
        return false;
    }
    progress.StartPhase(GetResString(ResStr::Texts::Preprocessing), static_cast<Int32>(objects.GetSize()));
    for (UInt32 i = 0; i < objects.GetSize(); ++i) {
        progress.SetValue(static_cast<Int32>(i) + 1);
        if (progress.Cancelled()) {
            progress.Close();
            return false;
        }
        API_Element element;
        std::memset(static_cast<void*>(&element), 0, sizeof element);
        element.header.guid = objects[i];
        if (HostGetElement(&element) != NoError)
            continue;
        visit(element);
    }
    progress.Close();
    return true;
}

bool CollectExistingIronIds(const ObjectCreator&, IronIdDialogData& data)
{
    return VisitPlacedObjects([&](const API_Element& element) {
        MemoOwner memo;
        if (HostGetMemo(element.header.guid, &memo.Get(), APIMemoMask_AddPars) != NoError)
            return;
        const Int32 count = GdlParams::Count(memo->params);
        for (Int32 r = 0; r < count; ++r) {
            const API_AddParType& rec = *GdlParams::Record(memo->params, r);
            if (std::strcmp(rec.name, ParamName::IronId) == 0) {
                data.AppendId(ToHostText(GdlParams::Text(rec), IdBufferSize));
                break;
            }
        }
    });
}

std::string DetailDrawingName(const std::string& id, ComplexElementKind kind)
{
    std::string name = id + " " + KindName(kind);
    if (name.size() > IdBufferSize - 1)
        name.resize(IdBufferSize - 1);
    return name;
}

bool DetailDrawingClashes(const std::string& detailName, const std::string& id)
{
    GS::Array<API_Guid> details;
    if (HostRequest::GDDI(&details) != NoError)
        return false;
    for (UInt32 i = 0; i < details.GetSize(); ++i) {
        API_DatabaseInfo info;
        std::memset(static_cast<void*>(&info), 0, sizeof info);
        info.databaseUnId = details[i];
        if (HostRequest::GDBI(&info) != NoError)
            continue;
        const size_t units = sizeof info.name / sizeof info.name[0];
        if (ToHostText(UnitsOf(info.name, units)) == detailName || ToHostText(UnitsOf(info.ref, units)) == id)
            return true;
    }
    return false;
}

namespace {
void InitDialog(Int16 dialogId, IronIdDialogData& data)
{
    API_UCCallbackType control;
    std::memset(static_cast<void*>(&control), 0, sizeof control);
    control.type = APIControl_LayerChooser;
    control.dialogID = ComplexIdDialogId;
    control.itemID = IdLayerChooser;
    HostRequest::SUCC(&control);
    DialogItem::SetItemVisible(dialogId, IdInUseWarning, false);

    if (const std::optional<AddOnPreferences> stored = ReadAddOnPreferences()) {
        data.withList = stored->withList != 0;
        // A layer index beyond the dialog's 16-bit layers is no usable layer.
        const Int32 layer = stored->layer == 0 ? 1 : stored->layer;
        data.layer = layer >= std::numeric_limits<Int16>::min() && layer <= std::numeric_limits<Int16>::max()
                         ? static_cast<Int16>(layer)
                         : Int16(0);
        if (!IsLayerUsable(data.layer))
            data.layer = 1;
        DialogItem::SetItemValLong(dialogId, IdLayerChooser, data.layer);
        DialogItem::SetItemValLong(dialogId, IdWithListCheck, data.withList ? 1 : 0);
    } else {
        DialogItem::SetItemValLong(dialogId, IdLayerChooser, 1);
        data.layer = 1;
        DialogItem::SetItemValLong(dialogId, IdWithListCheck, 1);
        data.withList = true;
    }
    if (data.kind == CrowningKind)
        DialogItem::SetItemVisible(dialogId, IdWithListCheck, false);
}

Int16 ClickOk(Int16 dialogId, IronIdDialogData& data)
{
    GS::UniString text = DialogItem::GetItemText(dialogId, IdEdit);
    if (text.GetLength() > MaxComplexIdLength)
        text = text.GetSubstring(0, MaxComplexIdLength);
    const std::string id = ToHostText(text, IdBufferSize);
    if (id.empty()) {
        HostReport(GetResString(ResStr::Messages::IdTooShort), false);
        return 0;
    }
    DialogItem::SetItemVisible(dialogId, IdInUseWarning, false);
    if (data.HasId(id) || DetailDrawingClashes(DetailDrawingName(id, data.kind), id)) {
        DialogItem::SetItemVisible(dialogId, IdInUseWarning, true);
        return 0;
    }
    data.AppendId(id);
    data.withList = DialogItem::GetItemValLong(dialogId, IdWithListCheck) != 0;
    WriteAddOnPreferences(data.withList, data.layer);
    return IdOkButton;
}
}  // namespace

Int16 ComplexIdDialogProc(Int16 message, Int16 dialogId, Int16 item, void* userData)
{
    return CallGuarded("ComplexIdDialogProc", Int16(0), [&]() -> Int16 {
        if (userData == nullptr)
            return 0;
        IronIdDialogData& data = *static_cast<IronIdDialogData*>(userData);
        switch (message) {
        case DG_MSG_INIT:
            InitDialog(dialogId, data);
            return 0;
        case ItemChangedMessage:
            if (item == IdLayerChooser) {
                const Int32 layer = DialogItem::GetItemValLong(dialogId, IdLayerChooser);
                if (layer >= std::numeric_limits<Int16>::min() && layer <= std::numeric_limits<Int16>::max())
                    data.layer = static_cast<Int16>(layer);
            }
            return 0;
        case DG_MSG_CLICK:
            if (item == IdCancelButton)
                return IdCancelButton;
            if (item == IdOkButton)
                return ClickOk(dialogId, data);
            return 0;
        default:
            return 0;
        }
    });
}
