// Modal dialogs run by a dialog procedure (the add-on's side), and the
// window system's side: who plays the user at a modal dialog.
//
// DGModalDialog sends the procedure DG_MSG_INIT, then one DG_MSG_CLICK per
// button the user clicks, until the procedure answers an item number other
// than 0, which closes the dialog and is its result. When the user closes
// the dialog otherwise (the window's close box, or no one there to answer)
// the procedure gets DG_MSG_CLOSE and the result is 0.
#pragma once
#include "platform/rs/RS.hpp"
#include <functional>

constexpr Int16 DG_MSG_INIT = 1;
constexpr Int16 DG_MSG_CLOSE = 2;
constexpr Int16 DG_MSG_CLICK = 4;

using DGDialCallBack = Int16 (*)(Int16 message, Int16 dialogId, Int16 item, void* userData);

PLATFORM_API Int16 DGModalDialog(GSResModule module, Int16 resourceId, GSResModule iconModule, DGDialCallBack callback,
                                 void* userData);

namespace DG {
namespace UserInput {

// Answers, for the dialog shown, the n-th (from 0) button the user clicks;
// 0 closes the dialog without a button.
using ModalDialogPlayer = std::function<Int16(GSResModule module, Int16 resourceId, Int32 n)>;
// Sets the player (an empty one: no user, every dialog closes at once).
PLATFORM_API void SetModalDialogPlayer(ModalDialogPlayer player);

}  // namespace UserInput
}  // namespace DG
