#include "platform/dg/DGModal.hpp"

namespace {
DG::UserInput::ModalDialogPlayer& Player()
{
    static DG::UserInput::ModalDialogPlayer player;
    return player;
}
// A user who clicks a button the procedure does not take, again and again,
// would keep the dialog open for ever; the window system gives up then.
constexpr Int32 MaxClicks = 1000;
}  // namespace

Int16 DGModalDialog(GSResModule module, Int16 resourceId, GSResModule, DGDialCallBack callback, void* userData)
{
    if (callback == nullptr)
        return 0;
    callback(DG_MSG_INIT, resourceId, 0, userData);
    for (Int32 n = 0; n < MaxClicks && Player(); ++n) {
        Int16 item = Player()(module, resourceId, n);
        if (item == 0)
            break;
        Int16 result = callback(DG_MSG_CLICK, resourceId, item, userData);
        if (result != 0)
            return result;
    }
    callback(DG_MSG_CLOSE, resourceId, 0, userData);
    return 0;
}

namespace DG {
namespace UserInput {
void SetModalDialogPlayer(ModalDialogPlayer player) { Player() = std::move(player); }
}  // namespace UserInput
}  // namespace DG
