// The calls an add-on makes while it binds itself: menus, handlers, the
// palette registration, alerts and the host's environment.
#include "simhost/api/HostApi.hpp"
#include "platform/gs/Guid.hpp"

namespace SimHost {

void HostApi::KeepInMemory(bool) { ++host.session.keepInMemoryCalls; }

GSErrCode HostApi::RegisterMenu(const API_MenuRecord* menu)
{
    if (menu == nullptr)
        return APIERR_BADPARS;
    // The host builds the menu from the add-on's string list of that id.
    MenuRegistration m{menu->menuStrResID, menu->promptStrResID, menu->position, menu->flags, {}};
    for (Int16 i = 1; i < 64; ++i) {
        std::string text = host.session.AddOnString(menu->menuStrResID, i);
        if (text.empty())
            break;
        m.texts.push_back(text);
    }
    host.session.menus.push_back(m);
    return NoError;
}

GSErrCode HostApi::InstallMenuHandler(Int16 menuStrResID, APIMenuCommandProc* handler)
{
    bool known = false;
    for (const auto& m : host.session.menus)
        known = known || m.menuStrResID == menuStrResID;
    if (!known || handler == nullptr)
        return APIERR_BADPARS;
    host.session.menuHandlers[menuStrResID] = handler;
    return NoError;
}

GSErrCode HostApi::CatchElementEvents(APIElementEventHandlerProc* handler)
{
    host.session.elementEventHandler = handler;
    return NoError;
}

GSErrCode HostApi::CatchSelectionChange(APISelectionChangeHandlerProc* handler)
{
    host.session.selectionChangeHandler = handler;
    return NoError;
}

GSErrCode HostApi::RegisterPalette(const API_PaletteRecord* palette)
{
    if (palette == nullptr || palette->callback == nullptr)
        return APIERR_BADPARS;
    GS::Guid guid;
    guid.SetBytes(palette->guid);
    for (const auto& p : host.session.palettes)
        if (p.referenceID == palette->referenceID)
            return APIERR_BADPARS;
    host.session.palettes.push_back({palette->referenceID, palette->callback, palette->flags, guid.ToUniString().ToUtf8()});
    host.session.paletteHistory.push_back(host.session.palettes.back());
    return NoError;
}

GSErrCode HostApi::UnregisterPalette(Int32 referenceID)
{
    for (auto it = host.session.palettes.begin(); it != host.session.palettes.end(); ++it)
        if (it->referenceID == referenceID) {
            host.session.palettes.erase(it);
            host.session.unregisteredPalettes.push_back(referenceID);
            return NoError;
        }
    return APIERR_BADID;
}

void* HostApi::MainWindow() { return host.MainWindow(); }

Int32 HostApi::Report(const char* text, bool)
{
    // Alerts carry 8-bit text in the host's default code page.
    host.recorder.alerts.push_back(text != nullptr ? GS::UniString(text, CC_Default).ToUtf8() : std::string());
    return 0;
}

}  // namespace SimHost
