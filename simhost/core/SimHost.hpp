// The stand-in host: loads an add-on, hands it the function table, plays
// the host's side of every call and records what happened.
//
// One Host is current at a time (the table's functions find it through
// Host::Current()); tests make a fresh one per case.
#pragma once
#include "platform/api/HostTable.hpp"
#include "simhost/library/LibraryContainer.hpp"
#include "simhost/model/Model.hpp"
#include "platform/rs/RS.hpp"
#include "platform/win/Windows.hpp"
#include <functional>
#include <set>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace DG {
class Palette;
}

namespace SimHost {

class HostApi;
class Host;
class AddOnFolder;

// The parts of a palette entry the pointer can rest on.
enum class EntryPart { Control, LabelBeside, LabelBelow };

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

// Something the add-on did that a real host would not forgive: a wrong
// token, a double free, an unbalanced progress window. Tests fail on them.
struct AddOnFault {
    std::string what;
};

struct ProgressPhase {
    std::string text;  // UTF-8
    Int32 maximum = 0;
    bool warning = false;
    Int32 value = 0;
};

struct ProgressWindow {
    std::string title;  // UTF-8
    Int16 phaseCount = 0;
    std::vector<ProgressPhase> phases;
    bool open = true;
    bool cancelled = false;
};

struct ActiveLibrary {
    IO::Location location;
    LibraryContainer container;
};

// What a part computes when the host asks an object to recompute its
// parameters ('RPAS'): the behaviour its GDL script would have.
using PartBehaviour = std::function<void(Host&, Element&)>;

struct SlotFailure {
    GSErrCode code;
    Int32 remaining;  // calls still to fail; negative: every call
};

class Host {
public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    static Host* Current();

    // ------------------------------------------------------------ the add-on
    // Loads the add-on library and exchanges the binding records. On refusal
    // (no file, no exports, another host version) returns false with the
    // reason and leaves nothing loaded.
    // With handOverTable false the host never calls SetImportedFuncAddrs.
    bool LoadAddOn(const std::string& path, std::string& error, bool handOverTable = true);
    // The entry points in host order; false when the add-on did not register.
    bool StartAddOn();
    // Calls the free-data entry (unless told not to) and unloads the library.
    void UnloadAddOn(bool callFreeData = true);
    bool AddOnLoaded() const { return library != nullptr; }
    const std::string& AddOnPath() const { return addOnPath; }
    GSResModule AddOnResources() const;
    std::string AddOnString(Int16 listId, Int16 index) const;  // UTF-8, empty if missing

    // ------------------------------------------------------------ set-up
    API_EnvirKind environmentKind = 1;
    // Empties a slot of the table; the add-on copies the table when it is
    // handed over, so this is done before LoadAddOn.
    void EmptySlot(HostSlot slot);
    // The next `times` calls of the slot (negative: all of them) fail with code.
    void FailSlot(HostSlot slot, GSErrCode code, Int32 times = -1);
    // The n-th error-returning host call from now fails with code (0: off).
    void FailNthCall(Int64 n, GSErrCode code = APIERR_GENERAL);
    // Whether the failure FailNthCall planned has happened.
    bool NthCallFailed() const { return nthCallFailed; }

    // The request's next `times` calls (negative: all) fail with code.
    void FailRequest(const char (&code)[5], GSErrCode err, Int32 times = -1);
    // The n-th 'CANC' of a run answers "cancelled" (0: never), and every
    // later one in the same window too.
    Int32 cancelAtCheck = 0;

    // ------------------------------------------------------------ the model
    Model model;
    std::vector<ActiveLibrary> libraries;
    std::map<std::string, PartBehaviour> partBehaviours;  // by part name
    // Adds a library container to the active libraries, as 'ALIB' does.
    bool ActivateLibrary(const IO::Location& location, std::string& error);
    // The container beside the add-on file (string 131/1 of its build).
    std::string DefaultLibraryPath() const;
    // Library index (1-based, across the active libraries) of the first
    // part with that name, or 0.
    Int32 LibIndexOfPart(const std::string& name) const;
    const LibraryPartDef* PartOfIndex(Int32 libInd) const;
    // Places an object of an active part: its defaults, then the overrides.
    Element& PlaceObject(const std::string& part, const GdlParams& overrides = {}, Int32 layer = 1);
    Element& AddElement(API_ElemTypeID type, Int32 layer = 1);
    void Select(const std::vector<API_Guid>& guids) { model.selection = guids; }
    // The user changes the selection: the selection-change handler is told
    // the first selected item (a zeroed item when nothing is selected).
    void ChangeSelection(const std::vector<API_Guid>& guids);

    // ------------------------------------------------------------ menus and palettes (simhost/ui)
    // The user chooses a menu item: the handler installed for the menu runs.
    GSErrCode RunMenuCommand(Int16 menuResID, Int32 itemIndex);
    // The host's message to every registered palette's callback.
    GSErrCode SendPaletteMessage(Int32 message, GS::IntPtr param = 0);
    // Message 7: whether the add-on says its palette is visible.
    bool AskPaletteVisible();
    // The DG palette of the registered palette, null while there is none.
    DG::Palette* AddOnPalette() const;
    // The user's actions on the palette, its entries numbered from 0 in
    // palette order. Each is recorded in `events`; false when the palette
    // or the entry does not exist or DG did not deliver the input (a hidden
    // palette, a disabled or hidden item).
    bool ClickPaletteEntry(USize entry);
    bool ChoosePaletteItem(USize entry, Int16 item);
    bool HoverPaletteEntry(USize entry, EntryPart part, std::string* toolTip);
    bool ClosePalette();
    bool ResizePalette(Int16 width, Int16 height);
    // The entry whose label is `label` (UTF-8), or -1.
    Int32 PaletteEntryByLabel(const std::string& label) const;
    // The library container the add-on file at `addOnFile` looks for beside it.
    static std::string LibraryContainerBeside(const std::string& addOnFile);

    // ------------------------------------------------------------ results
    API_AddonType environmentResult = APIAddon_DontRegister;
    GSErrCode registerResult = NoError;
    GSErrCode initializeResult = NoError;
    GSErrCode freeDataResult = NoError;
    bool freeDataCalled = false;
    std::string addOnName, addOnDescription;  // UTF-8
    Int32 keepInMemoryCalls = 0;
    std::vector<MenuRegistration> menus;
    std::map<Int16, APIMenuCommandProc*> menuHandlers;
    APIElementEventHandlerProc* elementEventHandler = nullptr;
    APISelectionChangeHandlerProc* selectionChangeHandler = nullptr;
    std::vector<PaletteRegistration> palettes;     // currently registered
    std::vector<PaletteRegistration> paletteHistory;  // every registration made
    std::vector<Int32> unregisteredPalettes;
    std::vector<std::string> alerts;               // UTF-8, in order
    std::vector<std::string> debugLines;           // DBPrintf output
    std::vector<UInt32> sleeps;                    // milliseconds asked for
    std::vector<AddOnFault> faults;
    std::vector<std::string> callLog;              // slot names, in call order
    std::vector<std::string> requestLog;           // request codes, in call order
    std::vector<API_Guid> changedElements;         // every change, in order
    std::vector<ProgressWindow> progressWindows;
    Int32 cancelChecks = 0;
    Int32 suspendGroupToggles = 0;
    std::set<const GS::UniString*> memoStrings;    // element information strings handed out
    std::vector<Win::ShellExecuteCall> shellCalls;  // what the add-on asked the shell to open
    // The report's description of the palette as the add-on left it, taken
    // when the add-on is unloaded (its palette goes with it).
    std::string paletteAtUnload;
    // The add-on's folder when a copy of the add-on runs from one.
    std::unique_ptr<AddOnFolder> addOnFolder;
    // Lines describing the host's side of events, for the report.
    std::vector<std::string> events;

    std::string CallLogText(USize last = 40) const;
    HostToken Token() const { return token; }
    const API_EntryRecord& Entry() const { return entry; }
    void* const* Table() const { return table.data(); }
    void AddFault(const std::string& what);

    // ------------------------------------------------------------ for the table
    // Decides whether a call fails by injection; returns true and sets code.
    bool InjectedFailure(HostSlot slot, GSErrCode& code, API_RequestCode request = 0);
    bool InjectedRequestFailure(API_RequestCode request, GSErrCode& code);
    // Reports what a finished command must not leave behind (an open
    // progress window).
    void CheckBalanced();
    void CheckToken(HostSlot slot, HostToken given);
    HostApi& Api() { return *api; }

private:
    void BuildTable();

    std::vector<void*> table;
    std::unique_ptr<HostApi> api;
    void* library = nullptr;
    std::string addOnPath;
    API_EntryRecord entry{};
    HostToken token = nullptr;
    bool initialized = false;
    std::map<HostSlot, SlotFailure> slotFailures;
    std::map<API_RequestCode, SlotFailure> requestFailures;
    Int64 failCountdown = 0;
    bool nthCallFailed = false;
    GSErrCode failCode = APIERR_GENERAL;
    Host* previous = nullptr;
};

// Hex text of a code, "0x81060001".
std::string HexCode(UInt32 code);

}  // namespace SimHost
