// What the host tells the add-on when the user works: menu commands,
// palette messages and selection changes.
#include "simhost/core/SimHost.hpp"

namespace SimHost {

GSErrCode Host::RunMenuCommand(Int16 menuResID, Int32 itemIndex)
{
    std::string what = "menu " + std::to_string(menuResID) + " item " + std::to_string(itemIndex);
    auto it = menuHandlers.find(menuResID);
    if (it == menuHandlers.end()) {
        events.push_back(what + ": no handler installed");
        return APIERR_BADPARS;
    }
    API_MenuParams params{};
    params.menuResID = menuResID;
    params.itemIndex = itemIndex;
    GSErrCode err = it->second(&params);
    events.push_back(what + ": result " + HexCode(static_cast<UInt32>(err)));
    CheckBalanced();
    return err;
}

GSErrCode Host::SendPaletteMessage(Int32 message, GS::IntPtr param)
{
    GSErrCode result = NoError;
    // A copy: the add-on may unregister while it handles the message.
    std::vector<PaletteRegistration> registered = palettes;
    for (const auto& p : registered) {
        GSErrCode err = p.callback(p.referenceID, message, param);
        events.push_back("palette message " + std::to_string(message) + " to " + HexCode(static_cast<UInt32>(p.referenceID)) +
                         ": result " + HexCode(static_cast<UInt32>(err)));
        if (result == NoError)
            result = err;
    }
    return result;
}

bool Host::AskPaletteVisible()
{
    bool visible = false;
    SendPaletteMessage(APIPalMsg_IsPaletteVisible, reinterpret_cast<GS::IntPtr>(&visible));
    events.push_back(std::string("the palette answers that it is ") + (visible ? "visible" : "not visible"));
    return visible;
}

void Host::ChangeSelection(const std::vector<API_Guid>& guids)
{
    Select(guids);
    if (selectionChangeHandler == nullptr)
        return;
    API_Neig first{};
    for (const API_Guid& g : guids)
        if (model.Find(g) != nullptr) {
            first.neigID = 1;  // an element, as the selection lists it
            first.guid = g;
            break;
        }
    GSErrCode err = selectionChangeHandler(&first);
    events.push_back("selection changed (" + std::to_string(guids.size()) + " selected): handler result " +
                     HexCode(static_cast<UInt32>(err)));
}

}  // namespace SimHost
