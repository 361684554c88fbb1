// The items of a modal dialog as its procedure sees them. The procedures
// reach the dialog's items only through here, so that tests can play the
// dialog and so that the window system's item calls are wired in one place.
#pragma once
#include "platform/api/APIdefs.hpp"
#include "platform/gs/UniString.hpp"
#include <functional>

struct DialogItems {
    std::function<void(Int16 dialog, Int16 item, bool visible)> setVisible;
    std::function<void(Int16 dialog, Int16 item, Int32 value)> setValLong;
    std::function<Int32(Int16 dialog, Int16 item)> getValLong;
    std::function<GS::UniString(Int16 dialog, Int16 item)> getText;
};

// The items of the dialog being shown: the window system's item calls,
// unless a test plays the dialog with its own.
DialogItems& CurrentDialogItems();

namespace DialogItem {
void SetItemVisible(Int16 dialog, Int16 item, bool visible);
void SetItemValLong(Int16 dialog, Int16 item, Int32 value);
Int32 GetItemValLong(Int16 dialog, Int16 item);
GS::UniString GetItemText(Int16 dialog, Int16 item);
}  // namespace DialogItem
