#include "simhost/core/SimHost.hpp"
#include "simhost/api/HostApi.hpp"
#include "simhost/ui/AddOnFolder.hpp"
#include "simhost/ui/PaletteView.hpp"
#include "platform/gs/DBPrintf.hpp"
#include "platform/gs/Guid.hpp"
#include "platform/gs/Memory.hpp"
#include "platform/win/Windows.hpp"
#include <cstdio>
#include <dlfcn.h>
#include <sstream>
#include <sys/stat.h>

namespace SimHost {

namespace {
Host* g_current = nullptr;

// The token the host hands to the initialisation entry; any stable
// address of the host's own serves.
HostToken MakeToken(Host* host) { return reinterpret_cast<HostToken>(reinterpret_cast<char*>(host) + 1); }
// One call of a planned failure: true (and the code) while calls remain.
bool ConsumeFailure(SlotFailure& failure, GSErrCode& code)
{
    if (failure.remaining == 0)
        return false;
    if (failure.remaining > 0)
        --failure.remaining;
    code = failure.code;
    return true;
}
}  // namespace

std::string HexCode(UInt32 code)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", code);
    return buf;
}

Host::Host() : api(new HostApi(*this))
{
    previous = g_current;
    g_current = this;
    CHSetDefaultCodePage(HOST_VERSION == 25 ? 1250 : 1252);
    GS::SetDebugOutputSink([this](const std::string& line) {
        std::string l = line;
        while (!l.empty() && (l.back() == '\n' || l.back() == '\r'))
            l.pop_back();
        debugLines.push_back(l);
    });
    GS::SetMemoryFaultHook([this](const std::string& what) { AddFault("memory: " + what); });
    Win::SetSleepHook([this](UInt32 ms) {
        sleeps.push_back(ms);
        callLog.push_back("Sleep");
    });
    Win::SetShellExecuteHook([this](const Win::ShellExecuteCall& call) { return RecordShellCall(*this, call); });
    BuildTable();
}

Host::~Host()
{
    if (library != nullptr)
        UnloadAddOn(true);
    GS::SetDebugOutputSink(nullptr);
    GS::SetMemoryFaultHook(nullptr);
    Win::SetSleepHook(nullptr);
    Win::SetShellExecuteHook(nullptr);
    g_current = previous;
}

Host* Host::Current() { return g_current; }

void Host::BuildTable() { FillHostTable(table); }

void Host::AddFault(const std::string& what) { faults.push_back({what}); }

bool Host::LoadAddOn(const std::string& path, std::string& error, bool handOverTable)
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
    events.push_back("load " + path + ": stamp " + HexCode(record.stamp) + ", host version " +
                     std::to_string(record.hostVersion));
    if (!handOverTable)
        return true;
    GSErrCode err = setImported(table.data());
    if (err != NoError)
        events.push_back("SetImportedFuncAddrs returned " + HexCode(static_cast<UInt32>(err)));
    return true;
}

bool Host::StartAddOn()
{
    if (library == nullptr)
        return false;
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
    token = MakeToken(this);
    initialized = true;
    initializeResult = entry.initialize(token);
    events.push_back("initialisation: result " + HexCode(static_cast<UInt32>(initializeResult)));
    return initializeResult == NoError;
}

void Host::UnloadAddOn(bool callFreeData)
{
    if (library == nullptr)
        return;
    CheckBalanced();
    paletteAtUnload = DescribePalette(*this);
    if (callFreeData) {
        freeDataCalled = true;
        freeDataResult = entry.freeData();
        events.push_back("free data: result " + HexCode(static_cast<UInt32>(freeDataResult)));
    }
    token = nullptr;
    initialized = false;
    dlclose(library);
    library = nullptr;
    events.push_back("unload " + addOnPath);
}

GSResModule Host::AddOnResources() const { return library != nullptr ? RSModuleOfFile(addOnPath.c_str()) : InvalidResModule; }

std::string Host::AddOnString(Int16 listId, Int16 index) const
{
    GS::UniString text;
    if (!RSGetIndString(&text, listId, index, AddOnResources()))
        return "";
    return text.ToUtf8();
}

void Host::FailRequest(const char (&code)[5], GSErrCode err, Int32 times) { requestFailures[RequestCode(code)] = {err, times}; }

bool Host::InjectedRequestFailure(API_RequestCode request, GSErrCode& code)
{
    auto it = requestFailures.find(request);
    return it != requestFailures.end() && ConsumeFailure(it->second, code);
}

void Host::CheckBalanced()
{
    for (auto& w : progressWindows)
        if (w.open) {
            AddFault("progress window \"" + w.title + "\" was left open");
            w.open = false;
        }
}

void Host::EmptySlot(HostSlot slot) { table[static_cast<UInt32>(slot)] = nullptr; }

void Host::FailSlot(HostSlot slot, GSErrCode code, Int32 times) { slotFailures[slot] = {code, times}; }

void Host::FailNthCall(Int64 n, GSErrCode code)
{
    failCountdown = n;
    failCode = code;
    nthCallFailed = false;
}

bool Host::InjectedFailure(HostSlot slot, GSErrCode& code, API_RequestCode request)
{
    if (failCountdown > 0 && --failCountdown == 0) {
        code = failCode;
        nthCallFailed = true;
        std::string what = HostSlotName(static_cast<UInt32>(slot));
        if (request != 0) {
            what += " '";
            for (int shift = 24; shift >= 0; shift -= 8)
                what.push_back(static_cast<char>((request >> shift) & 0xFF));
            what += "'";
        }
        events.push_back("injected failure of " + what + ": " + HexCode(static_cast<UInt32>(code)));
        // The add-on asked to close the window and the host failed: the open
        // window is the host's doing, not an unbalanced add-on.
        if (slot == HostSlot::Interface && request == RequestCode("CPWD") && !progressWindows.empty())
            progressWindows.back().open = false;
        return true;
    }
    auto it = slotFailures.find(slot);
    return it != slotFailures.end() && ConsumeFailure(it->second, code);
}

void Host::CheckToken(HostSlot slot, HostToken given)
{
    HostToken expected = initialized ? token : nullptr;
    if (given != expected)
        AddFault(std::string(HostSlotName(static_cast<UInt32>(slot))) + " called with a wrong context token");
}

std::string Host::CallLogText(USize last) const
{
    std::ostringstream os;
    USize from = callLog.size() > last ? callLog.size() - last : 0;
    os << "host calls " << from + 1 << ".." << callLog.size() << ":";
    for (USize i = from; i < callLog.size(); ++i)
        os << " " << callLog[i];
    return os.str();
}

}  // namespace SimHost
