#include "addon/complex/EditListDialog.hpp"
#include "addon/complex/AddOnPreferences.hpp"
#include "addon/complex/DialogItems.hpp"
#include "addon/complex/IronIdDialog.hpp"
#include "addon/complex/PreviewPicture.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/Owners.hpp"
#include "addon/schedule/ParamNames.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/services/ResStringIds.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/dg/DGModal.hpp"
#include "platform/gs/DBPrintf.hpp"
#include "platform/gx/GXImage.hpp"
#include "platform/io/Location.hpp"
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <utility>

static_assert(EditListDialogId == ResDlg::EditObject::DialogId, "the dialog's resource id");
static_assert(EditListOk == ResDlg::EditObject::Ok && EditListCancel == ResDlg::EditObject::Cancel &&
                  EditListView == ResDlg::EditObject::List && EditListWithList == ResDlg::EditObject::WithList,
              "the dialog's items");
static_assert(EntryIdSize == PicturePathSize, "both buffers of an entry hold 1000 bytes");

CompDialInfo::CompDialInfo()
{
    id[0] = '\0';
    picturePath[0] = '\0';
}

ComplexListDialogData::~ComplexListDialogData()
{
    for (Int32 i = 1; i <= entries.GetItemCount(); ++i)
        delete entries[i];
}

namespace {

constexpr Int32 UniqueIdMainLength = 38;
constexpr Int16 ListItemWidth = 235;
constexpr Int16 ListItemHeight = 255;
constexpr Int16 ListImageSize = 225;
constexpr size_t ListTextSize = 1024;

// The file location a host may hand out with a library part's record; the
// caller owns it.
struct LibPartLocationOwner {
    explicit LibPartLocationOwner(API_LibPart& rec) : rec(rec) {}
    ~LibPartLocationOwner()
    {
        delete static_cast<IO::Location*>(rec.location);
        rec.location = nullptr;
    }
    LibPartLocationOwner(const LibPartLocationOwner&) = delete;
    LibPartLocationOwner& operator=(const LibPartLocationOwner&) = delete;
    API_LibPart& rec;
};

bool IsOfKind(Int32 libInd, const char* bareGuid)
{
    API_LibPart part;
    std::memset(static_cast<void*>(&part), 0, sizeof part);
    part.index = libInd;
    LibPartLocationOwner location(part);
    if (HostGetLibraryPart(&part) != NoError)
        return false;
    return std::strncmp(part.ownUnID, bareGuid, UniqueIdMainLength) == 0;
}

// The object's "strIronID" as 8-bit text cut to the entry's buffer; false
// when it has none or its parameters cannot be read.
bool ReadIronId(const API_Guid& guid, std::string& id)
{
    MemoOwner memo;
    if (HostGetMemo(guid, &memo.Get(), APIMemoMask_AddPars) != NoError)
        return false;
    const Int32 count = GdlParams::Count(memo->params);
    for (Int32 r = 0; r < count; ++r) {
        const API_AddParType& rec = *GdlParams::Record(memo->params, r);
        if (std::strncmp(rec.name, ParamName::IronId, sizeof rec.name) == 0) {
            id = ToHostText(GdlParams::Text(rec), EntryIdSize);
            return true;
        }
    }
    return false;
}

CompDialInfo* FindEntry(ComplexListDialogData& data, const std::string& id)
{
    for (Int32 i = 1; i <= data.entries.GetItemCount(); ++i)
        if (id == data.entries[i]->id)
            return data.entries[i];
    return nullptr;
}

void AddObject(ComplexListDialogData& data, const API_Guid& guid, const std::string& id)
{
    if (CompDialInfo* existing = FindEntry(data, id)) {
        existing->objects.Push(guid);
        return;
    }
    auto entry = std::make_unique<CompDialInfo>();
    std::memcpy(entry->id, id.c_str(), id.size() + 1);
    // One picture per ID, from the first object met; a failed picture leaves
    // the path empty, and the list goes on without it.
    SaveComplexPreviewPicture(guid, entry->picturePath);
    entry->objects.Push(guid);
    data.entries.Push(entry.get());
    entry.release();
}

// The entry's picture as the list shows it; an empty image when the file is
// missing, not a JPEG, empty or cut short, or cannot be read for any other
// reason: the entry then shows its text alone.
DG::Image EntryPicture(const CompDialInfo& entry)
{
    if (entry.picturePath[0] == '\0')
        return DG::Image();
    try {
        const GX::Image image(IO::Location(FromHostText(entry.picturePath, PicturePathSize)));
        if (image.IsEmpty())
            DBPrintf("[zolva] no picture for %s: %s\n", entry.id, image.GetError().c_str());
        return image.ToDGPicture();
    } catch (const std::exception& e) {
        DBPrintf("[zolva] no picture for %s: %s\n", entry.id, e.what());
    } catch (...) {
        DBPrintf("[zolva] no picture for %s\n", entry.id);
    }
    return DG::Image();
}

GS::UniString EntryText(const CompDialInfo& entry)
{
    char text[ListTextSize];
    std::snprintf(text, sizeof text, "%s [%d %s]", entry.id, static_cast<int>(entry.objects.GetItemCount()),
                  GetResString(ResStr::Messages::Pieces));
    return FromHostText(text, static_cast<Int32>(ListTextSize));
}

void FillList(Int16 dialogId, ComplexListDialogData& data)
{
    DGListViewDisableDraw(dialogId, EditListView);
    DGListViewDeleteItem(dialogId, EditListView, DG_LIST_ALL);
    DGListViewSetItemSize(dialogId, EditListView, ListItemWidth, ListItemHeight);
    DGListViewSetImageSize(dialogId, EditListView, ListImageSize, ListImageSize);
    {
        ProgressWindowOwner progress(GetResString(ResStr::Texts::FillingListView), 1);
        progress.StartPhase(GetResString(ResStr::Texts::FillingListView), data.entries.GetItemCount());
        for (Int32 i = 1; i <= data.entries.GetItemCount(); ++i) {
            progress.SetValue(i);
            const CompDialInfo& entry = *data.entries[i];
            DGListViewInsertItem(dialogId, EditListView, DG_LIST_BOTTOM);
            // The text first: an entry whose picture fails still names its ID.
            DGListViewSetItemText(dialogId, EditListView, DG_LIST_BOTTOM, EntryText(entry));
            const DG::Image picture = EntryPicture(entry);
            if (!picture.IsEmpty())
                DGListViewSetItemImage(dialogId, EditListView, DG_LIST_BOTTOM, DG_LIST_VIEW_PICTURE, picture);
            if (progress.Cancelled())
                break;
        }
    }
    DGListViewEnableDraw(dialogId, EditListView);
    DGRedrawItem(dialogId, EditListView);
}

void InitDialog(Int16 dialogId, ComplexListDialogData& data)
{
    FillList(dialogId, data);
    const std::optional<AddOnPreferences> stored = ReadAddOnPreferences();
    data.withList = stored ? stored->withList != 0 : true;
    DialogItem::SetItemValLong(dialogId, EditListWithList, data.withList ? 1 : 0);
    if (data.kind == CrowningKind)
        DialogItem::SetItemVisible(dialogId, EditListWithList, false);
    DGDisableItem(dialogId, EditListOk);
}

Int16 ClickOk(Int16 dialogId, ComplexListDialogData& data)
{
    const Int16 chosen = DGListViewGetSelected(dialogId, EditListView, 1);
    // The list holds the entries in their order; a selection beyond them
    // (the filling was cancelled before) is no choice.
    if (chosen < 1 || chosen > data.entries.GetItemCount())
        return 0;
    std::swap(data.entries[chosen], data.entries[1]);

    const std::optional<AddOnPreferences> stored = ReadAddOnPreferences();
    const bool withList = DialogItem::GetItemValLong(dialogId, EditListWithList) == 1;
    const Int32 layer = stored && stored->layer != 0 ? stored->layer : 1;
    WriteAddOnPreferences(withList, layer);
    data.withList = withList;
    return EditListOk;
}

}  // namespace

bool CollectComplexObjectsById(const ObjectModifier& modifier, ComplexListDialogData& data)
{
    const char* bareGuid = LibraryPartIds[static_cast<Int32>(KindPart(modifier.kind))].mainGuid;
    return VisitPlacedObjects([&](const API_Element& element) {
        if (!IsOfKind(element.object.libInd, bareGuid))
            return;
        std::string id;
        if (!ReadIronId(element.header.guid, id))
            return;
        AddObject(data, element.header.guid, id);
    });
}

Int16 EditObjectListDialogProc(Int16 message, Int16 dialogId, Int16 item, void* userData)
{
    return CallGuarded("EditObjectListDialogProc", Int16(0), [&]() -> Int16 {
        if (userData == nullptr)
            return 0;
        ComplexListDialogData& data = *static_cast<ComplexListDialogData*>(userData);
        switch (message) {
        case DG_MSG_INIT:
            InitDialog(dialogId, data);
            return 0;
        case DG_MSG_CHANGE:
            if (item == EditListView) {
                if (DGListViewGetSelCount(dialogId, EditListView) > 0)
                    DGEnableItem(dialogId, EditListOk);
                else
                    DGDisableItem(dialogId, EditListOk);
            }
            return 0;
        case DG_MSG_CLICK:
            if (item == EditListCancel)
                return EditListCancel;
            if (item == EditListOk)
                return ClickOk(dialogId, data);
            return 0;
        default:
            return 0;
        }
    });
}
