#include "simhost/core/AddOnSession.hpp"
#include "simhost/core/SimHost.hpp"
#include "simhost/core/AddOnFolder.hpp"
#include <dlfcn.h>
#include <sys/stat.h>

namespace SimHost {

namespace {
// The token the host hands to the initialisation entry; any stable
// address of the host's own serves.
HostToken MakeToken(Host* host) { return reinterpret_cast<HostToken>(reinterpret_cast<char*>(host) + 1); }
}  // namespace

bool AddOnSession::LoadAddOn(const std::string& path, std::string& error, bool handOverTable)
{
    struct stat st{};
    if (stat(path.c_str(), &st) != 0) {
        error = "add-on not found: " + path;
        return false;
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        error = "cannot load add-on " + path + ": " + (why != nullptr ? why : "unknown error");
        return false;
    }
    auto getExported = reinterpret_cast<GetExportedFuncAddrsProc*>(dlsym(handle, "GetExportedFuncAddrs"));
    auto setImported = reinterpret_cast<SetImportedFuncAddrsProc*>(dlsym(handle, "SetImportedFuncAddrs"));
    if (getExported == nullptr || setImported == nullptr) {
        error = "not an add-on: " + path + " does not export " +
                (getExported == nullptr ? "GetExportedFuncAddrs" : "SetImportedFuncAddrs");
        dlclose(handle);
        return false;
    }
    API_EntryRecord record{};
    getExported(&record);
    if (record.stamp != HostInterfaceStamp || record.hostVersion != HostVersionNumber) {
        error = "add-on " + path + " is built for interface stamp " + HexCode(record.stamp) + " and host version " +
                std::to_string(record.hostVersion) + "; this host has stamp " + HexCode(HostInterfaceStamp) +
                " and host version " + std::to_string(HostVersionNumber);
        dlclose(handle);
        return false;
    }
    if (record.checkEnvironment == nullptr || record.registerInterface == nullptr || record.initialize == nullptr ||
        record.freeData == nullptr) {
        error = "add-on " + path + " leaves an entry point empty";
        dlclose(handle);
        return false;
    }
    library = handle;
    addOnPath = path;
    entry = record;
    host.recorder.events.push_back("load " + path + ": stamp " + HexCode(record.stamp) + ", host version " +
                                   std::to_string(record.hostVersion));
    if (!handOverTable)
        return true;
    GSErrCode err = setImported(host.Table());
    if (err != NoError)
        host.recorder.events.push_back("SetImportedFuncAddrs returned " + HexCode(static_cast<UInt32>(err)));
    return true;
}

bool AddOnSession::StartAddOn()
{
    if (library == nullptr)
        return false;
    auto& events = host.recorder.events;
    API_EnvirParams envir{};
    envir.serverInfo.serverApplication = environmentKind;
    envir.serverInfo.mainVersion = HOST_VERSION;
    environmentResult = entry.checkEnvironment(&envir);
    addOnName = envir.addOnInfo.name.ToUtf8();
    addOnDescription = envir.addOnInfo.description.ToUtf8();
    events.push_back("environment check (kind " + std::to_string(environmentKind) + "): result " +
                     std::to_string(environmentResult) + ", name \"" + addOnName + "\", description \"" +
                     addOnDescription + "\"");
    if (environmentResult == APIAddon_DontRegister) {
        events.push_back("the add-on did not register; it is not started");
        return false;
    }
    registerResult = entry.registerInterface();
    events.push_back("interface registration: result " + HexCode(static_cast<UInt32>(registerResult)));
    token = MakeToken(&host);
    initialized = true;
    initializeResult = entry.initialize(token);
    events.push_back("initialisation: result " + HexCode(static_cast<UInt32>(initializeResult)));
    return initializeResult == NoError;
}

void AddOnSession::UnloadAddOn(bool callFreeData)
{
    if (library == nullptr)
        return;
    host.recorder.CheckBalanced();
    paletteAtUnload = describePalette ? describePalette() : std::string();
    if (callFreeData) {
        freeDataCalled = true;
        freeDataResult = entry.freeData();
        host.recorder.events.push_back("free data: result " + HexCode(static_cast<UInt32>(freeDataResult)));
    }
    token = nullptr;
    initialized = false;
    dlclose(library);
    library = nullptr;
    host.recorder.events.push_back("unload " + addOnPath);
    host.wallJobs.Report(host.recorder);
}

HostToken AddOnSession::AttachLinkedAddOn()
{
    token = MakeToken(&host);
    initialized = true;
    return token;
}

void AddOnSession::DetachLinkedAddOn()
{
    host.recorder.CheckBalanced();
    token = nullptr;
    initialized = false;
}

GSResModule AddOnSession::AddOnResources() const
{
    return library != nullptr ? RSModuleOfFile(addOnPath.c_str()) : InvalidResModule;
}

std::string AddOnSession::AddOnString(Int16 listId, Int16 index) const
{
    GS::UniString text;
    if (!RSGetIndString(&text, listId, index, AddOnResources()))
        return "";
    return text.ToUtf8();
}

std::string AddOnSession::DefaultLibraryPath() const { return ActiveLibraries::ContainerBeside(addOnPath); }

void AddOnSession::CheckToken(HostSlot slot, HostToken given)
{
    HostToken expected = initialized ? token : nullptr;
    if (given != expected)
        host.recorder.AddFault(std::string(HostSlotName(slot)) + " called with a wrong context token");
}

}  // namespace SimHost
