#include "addon/complex/DialogItems.hpp"
#include "platform/dg/DGModal.hpp"

DialogItems& CurrentDialogItems()
{
    static DialogItems items;
    return items;
}

namespace DialogItem {

void SetItemVisible(Int16 dialog, Int16 item, bool visible)
{
    if (CurrentDialogItems().setVisible)
        CurrentDialogItems().setVisible(dialog, item, visible);
    else
        DGSetItemVisible(dialog, item, visible);
}

void SetItemValLong(Int16 dialog, Int16 item, Int32 value)
{
    if (CurrentDialogItems().setValLong)
        CurrentDialogItems().setValLong(dialog, item, value);
    else
        DGSetItemValLong(dialog, item, value);
}

Int32 GetItemValLong(Int16 dialog, Int16 item)
{
    return CurrentDialogItems().getValLong ? CurrentDialogItems().getValLong(dialog, item) : DGGetItemValLong(dialog, item);
}

GS::UniString GetItemText(Int16 dialog, Int16 item)
{
    return CurrentDialogItems().getText ? CurrentDialogItems().getText(dialog, item) : DGGetItemText(dialog, item);
}

}  // namespace DialogItem
