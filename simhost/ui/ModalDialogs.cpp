// The user at the add-on's modal dialogs.
#include "simhost/core/SimHost.hpp"

namespace SimHost {

Int16 ScriptedUser::PlayModalDialog(Int16 resourceId, Int32 n)
{
    Int16 button = 0;
    if (!dialogButtons.empty()) {
        button = dialogButtons.front();
        dialogButtons.pop_front();
    }
    host.recorder.events.push_back("modal dialog " + std::to_string(resourceId) + (n == 0 ? " shown" : "") + ": " +
                                   (button != 0 ? "the user clicks button " + std::to_string(button)
                                                : std::string("the user closes it")));
    return button;
}

}  // namespace SimHost
