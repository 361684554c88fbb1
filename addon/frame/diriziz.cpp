// The binding to the host: the two exports and the four entry points.
// (diriziz.cpp: the add-on's main file, named in its earlier versions.)
#include "addon/services/AddOnGlobals.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/frame/Commands.hpp"
#include "addon/frame/Handlers.hpp"
#include "addon/services/ResStrings.hpp"
#include "addon/host/HostBinding.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/palette/paletta.hpp"
#include "platform/win/Windows.hpp"
#include <cstdio>
#include <cstring>

namespace {

constexpr Int32 PaletteFlags = 0x97;

API_AddonType CheckAddOnEnvironment(API_EnvirParams* envir)
{
    if (envir == nullptr || envir->serverInfo.serverApplication != 1)
        return APIAddon_DontRegister;
    envir->addOnInfo.name = GetResUniString(ResStr::AddOnName::Name);
    GS::UniString base = GetResUniString(ResStr::AddOnName::Description);
    char description[1024];
    std::snprintf(description, sizeof description, "%s v%d", base.ToCStr(CC_UTF8).Get(), AddOnVersion);
    envir->addOnInfo.description = GS::UniString(description, CC_UTF8);
    HostKeepInMemory(true);
    return APIAddon_Normal;
}

GSErrCode RegisterAddOnInterface()
{
    API_MenuRecord own{};
    own.menuStrResID = AddOnMenuId;
    own.promptStrResID = AddOnMenuId;
    own.position = 0;
    own.flags = 1;
    HostRegisterMenu(&own);  // a failed registration only loses the menu

    API_MenuRecord item{};
    item.menuStrResID = HostMenuItemId;
    item.promptStrResID = HostMenuItemId;
    item.position = 12;
    item.flags = 0;
    HostRegisterMenu(&item);

    HostKeepInMemory(true);
    return NoError;
}

GSErrCode InitializeAddOnSteps()
{
    SetPaletteCommands(&PaletteCommands());
    GSErrCode err = HostInstallMenuHandler(AddOnMenuId, MenuCommandHandler);
    if (err == NoError)
        err = HostInstallMenuHandler(HostMenuItemId, MenuCommandHandler);
    if (err == NoError)
        err = HostCatchElementEvents(ElementEventHandler);
    if (err == NoError)
        err = HostCatchSelectionChange(SelectionChangeHandler);
    if (err == NoError) {
        API_PaletteRecord palette{};
        palette.referenceID = PaletteRefId;
        palette.callback = PaletteControlCallback;
        palette.flags = PaletteFlags;
        std::memcpy(palette.guid, PaletteGuid().GetBytes(), sizeof palette.guid);
        err = HostRegisterPalette(&palette);
    }
    return err;
}

GSErrCode InitializeAddOn()
{
    GSErrCode err = InitializeAddOnSteps();
    HostKeepInMemory(true);
    return err;
}

GSErrCode FreeAddOnData()
{
    Sleep(3000);
    HostUnregisterPalette(PaletteRefId);
    return NoError;
}

// The forwarders the entry record points at: nothing runs before the host's
// table has arrived, and nothing throws into the host.
API_AddonType CheckEnvironmentForwarder(API_EnvirParams* envir)
{
    if (!HostBinding::TableReceived())
        return APIAddon_DontRegister;
    return CallGuarded("CheckAddOnEnvironment", APIAddon_DontRegister, [&] { return CheckAddOnEnvironment(envir); });
}

GSErrCode RegisterInterfaceForwarder()
{
    if (!HostBinding::TableReceived())
        return APIERR_GENERAL;
    return CallGuarded("RegisterAddOnInterface", APIERR_GENERAL, [] { return RegisterAddOnInterface(); });
}

GSErrCode InitializeForwarder(HostToken token)
{
    if (!HostBinding::TableReceived())
        return APIERR_GENERAL;
    HostBinding::SetToken(token);
    return CallGuarded("InitializeAddOn", APIERR_GENERAL, [] { return InitializeAddOn(); });
}

GSErrCode FreeDataForwarder()
{
    if (!HostBinding::TableReceived())
        return APIERR_GENERAL;
    GSErrCode err = CallGuarded("FreeAddOnData", APIERR_GENERAL, [] { return FreeAddOnData(); });
    HostBinding::SetToken(nullptr);
    return err;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void GetExportedFuncAddrs(API_EntryRecord* record)
{
    if (record == nullptr)
        return;
    std::memset(record, 0, sizeof *record);
    record->stamp = HostInterfaceStamp;
    record->checkEnvironment = CheckEnvironmentForwarder;
    record->registerInterface = RegisterInterfaceForwarder;
    record->initialize = InitializeForwarder;
    record->freeData = FreeDataForwarder;
    record->hostVersion = HostVersionNumber;
}

extern "C" __attribute__((visibility("default"))) GSErrCode SetImportedFuncAddrs(void* const* table)
{
    HostBinding::ReceiveTable(table);
    return NoError;
}
