// The add-on as the host holds it: the loaded library and its binding
// records, the entry points run in host order and their results, and what
// the add-on registered with the host (menus, handlers, palettes).
#pragma once
#include "platform/api/HostTable.hpp"
#include "platform/rs/RS.hpp"
#include "simhost/core/AddOnFolder.hpp"
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace SimHost {

class Host;

struct MenuRegistration {
    Int16 menuStrResID;
    Int16 promptStrResID;
    Int32 position;
    Int32 flags;
    std::vector<std::string> texts;  // the menu's string list, read when it was registered
};

struct PaletteRegistration {
    Int32 referenceID;
    APIPaletteControlCallBackProc* callback;
    Int32 flags;
    std::string guid;  // text form
};

class AddOnSession {
public:
    explicit AddOnSession(Host& host) : host(host) {}
    AddOnSession(const AddOnSession&) = delete;
    AddOnSession& operator=(const AddOnSession&) = delete;

    // Loads the add-on library and exchanges the binding records. On refusal
    // (no file, no exports, another host version) returns false with the
    // reason and leaves nothing loaded.
    // With handOverTable false the host never calls SetImportedFuncAddrs.
    bool LoadAddOn(const std::string& path, std::string& error, bool handOverTable = true);
    // The entry points in host order; false when the add-on did not register.
    bool StartAddOn();
    // Calls the free-data entry (unless told not to) and unloads the library.
    void UnloadAddOn(bool callFreeData = true);
    // For tests of the add-on's own code linked into the process: no library
    // is loaded, but the calls take the token this returns, as after a start.
    HostToken AttachLinkedAddOn();
    // Ends that, checking that every progress window was closed.
    void DetachLinkedAddOn();
    bool AddOnLoaded() const { return library != nullptr; }
    const std::string& AddOnPath() const { return addOnPath; }
    GSResModule AddOnResources() const;
    std::string AddOnString(Int16 listId, Int16 index) const;  // UTF-8, empty if missing
    // The container beside the add-on file (string 131/1 of its build).
    std::string DefaultLibraryPath() const;

    HostToken Token() const { return token; }
    const API_EntryRecord& Entry() const { return entry; }
    // Records a fault when a call that takes the token got another one.
    void CheckToken(HostSlot slot, HostToken given);

    // ------------------------------------------------------------ set-up
    API_EnvirKind environmentKind = 1;
    // The add-on's folder when a copy of the add-on runs from one.
    std::unique_ptr<AddOnFolder> addOnFolder;

    // ------------------------------------------------------------ results of the entry points
    API_AddonType environmentResult = APIAddon_DontRegister;
    GSErrCode registerResult = NoError;
    GSErrCode initializeResult = NoError;
    GSErrCode freeDataResult = NoError;
    bool freeDataCalled = false;
    std::string addOnName, addOnDescription;  // UTF-8
    Int32 keepInMemoryCalls = 0;

    // ------------------------------------------------------------ registrations
    std::vector<MenuRegistration> menus;
    std::map<Int16, APIMenuCommandProc*> menuHandlers;
    APIElementEventHandlerProc* elementEventHandler = nullptr;
    APISelectionChangeHandlerProc* selectionChangeHandler = nullptr;
    std::vector<PaletteRegistration> palettes;        // currently registered
    std::vector<PaletteRegistration> paletteHistory;  // every registration made
    std::vector<Int32> unregisteredPalettes;
    // The report's description of the palette as the add-on left it, taken
    // when the add-on is unloaded (its palette goes with it), by the
    // description the host's user side gives (ui/PaletteView), which the
    // host sets when it is put together.
    std::string paletteAtUnload;
    std::function<std::string()> describePalette;

    // Element information strings handed out in memos, until disposed.
    std::set<const GS::UniString*> memoStrings;

private:
    Host& host;
    void* library = nullptr;
    std::string addOnPath;
    API_EntryRecord entry{};
    HostToken token = nullptr;
    bool initialized = false;
};

}  // namespace SimHost
