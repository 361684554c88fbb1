// What the host tells the add-on when the user works: menu commands,
// palette messages and selection changes.
#include "simhost/core/SimHost.hpp"
#include "simhost/ui/ScriptedUser.hpp"

namespace SimHost {

GSErrCode ScriptedUser::RunMenuCommand(Int16 menuResID, Int32 itemIndex)
{
    auto& events = host.recorder.events;
    std::string what = "menu " + std::to_string(menuResID) + " item " + std::to_string(itemIndex);
    auto it = host.session.menuHandlers.find(menuResID);
    if (it == host.session.menuHandlers.end()) {
        events.push_back(what + ": no handler installed");
        return APIERR_BADPARS;
    }
    API_MenuParams params{};
    params.menuResID = menuResID;
    params.itemIndex = itemIndex;
    GSErrCode err = it->second(&params);
    events.push_back(what + ": result " + HexCode(static_cast<UInt32>(err)));
    host.recorder.CheckBalanced();
    return err;
}

GSErrCode ScriptedUser::SendPaletteMessage(Int32 message, GS::IntPtr param)
{
    GSErrCode result = NoError;
    // A copy: the add-on may unregister while it handles the message.
    std::vector<PaletteRegistration> registered = host.session.palettes;
    for (const auto& p : registered) {
        GSErrCode err = p.callback(p.referenceID, message, param);
        host.recorder.events.push_back("palette message " + std::to_string(message) + " to " +
                                       HexCode(static_cast<UInt32>(p.referenceID)) + ": result " +
                                       HexCode(static_cast<UInt32>(err)));
        if (result == NoError)
            result = err;
    }
    return result;
}

bool ScriptedUser::AskPaletteVisible()
{
    bool visible = false;
    SendPaletteMessage(APIPalMsg_IsPaletteVisible, reinterpret_cast<GS::IntPtr>(&visible));
    host.recorder.events.push_back(std::string("the palette answers that it is ") + (visible ? "visible" : "not visible"));
    return visible;
}

void ScriptedUser::ChangeSelection(const std::vector<API_Guid>& guids)
{
    host.model.Select(guids);
    APISelectionChangeHandlerProc* handler = host.session.selectionChangeHandler;
    if (handler == nullptr)
        return;
    API_Neig first{};
    for (const API_Guid& g : guids)
        if (host.model.Find(g) != nullptr) {
            first.neigID = 1;  // an element, as the selection lists it
            first.guid = g;
            break;
        }
    GSErrCode err = handler(&first);
    host.recorder.events.push_back("selection changed (" + std::to_string(guids.size()) + " selected): handler result " +
                                   HexCode(static_cast<UInt32>(err)));
}

}  // namespace SimHost
