// The user at the host, scripted by tests and scenarios, and the host's
// messages that follow the user's work: menu commands, selection changes,
// palette messages, the user's actions on the add-on's palette, the
// cancel button of a progress window and the answers to file dialogs.
#pragma once
#include "platform/api/APIdefs.hpp"
#include "simhost/ui/FileDialogs.hpp"
#include "simhost/ui/ModalDialogs.hpp"
#include "simhost/ui/PointInput.hpp"
#include "simhost/ui/SettingsDialog.hpp"
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace DG {
class Palette;
}

namespace SimHost {

class Host;
struct Element;

// The parts of a palette entry the pointer can rest on.
enum class EntryPart { Control, LabelBeside, LabelBelow };

class ScriptedUser {
public:
    explicit ScriptedUser(Host& host) : host(host) {}

    // The n-th 'CANC' of a run answers "cancelled" (0: never), and every
    // later one in the same window too.
    Int32 cancelAtCheck = 0;

    // The answers to the object settings dialogs to come, in order; when
    // none is left, the user cancels the dialog.
    std::deque<SettingsDialogAnswer> settingsDialogs;

    // The user's answers to the modal dialogs to come, one per dialog, in
    // order. A dialog that no answer is for takes the buttons of
    // dialogButtons, clicked in order across dialogs; when none is left, the
    // user closes it with its close box.
    std::deque<DialogAnswer> dialogAnswers;
    std::deque<Int16> dialogButtons;
    // The modal dialogs shown, in order; each is in the events too.
    std::vector<ShownModalDialog> modalDialogs;
    // The window system's player of the modal dialogs, working on the above.
    DG::UserInput::ModalDialogPlayer ModalDialogPlayer();

    // The buttons the user presses at the add-on's alerts to come, one per
    // alert, in order; with none left the user presses the default button 1.
    std::deque<Int16> alertButtons;
    // The alerts shown, in order; each is in the events too.
    std::vector<ShownAlert> alertsShown;
    // The window system's answer to an alert, working on the above.
    DG::UserInput::AlertAnswer AlertAnswer();

    // The user chooses a menu item: the handler installed for the menu runs.
    GSErrCode RunMenuCommand(Int16 menuResID, Int32 itemIndex);
    // The user changes the selection: the selection-change handler is told
    // the first selected item (a zeroed item when nothing is selected).
    void ChangeSelection(const std::vector<API_Guid>& guids);
    // The user changes elements with the host's tools: `change` is applied
    // to each element in turn (all or none: when it refuses one, or an
    // element is not in the model, the model stays as it was and `why` says
    // why), then each changed element that has an observer attached is
    // announced to the add-on's element-event handler with `kind` (3 a
    // change of settings, 4 an edit of place or shape). The user's changes
    // and whatever the add-on changes inside the notifications are one undo
    // step named `action`.
    using ElementChange = std::function<bool(Element& element, std::string& why)>;
    bool ChangeElements(const std::string& action, API_NotifyElementID kind, const std::vector<API_Guid>& guids,
                        const ElementChange& change, std::string& why);
    // The user deletes elements, as one undo step named `action`: each
    // observed one is announced (event 5) while it is still in the model, so
    // that the add-on finds what is linked to it; then they are removed.
    bool DeleteElements(const std::string& action, const std::vector<API_Guid>& guids, std::string& why);
    // While the add-on handles an element event: the element as it was
    // before the user's change; null otherwise.
    const Element* ElementBeforeChange() const { return beforeChange; }

    // The host's message to every registered palette's callback.
    GSErrCode SendPaletteMessage(Int32 message, GS::IntPtr param = 0);
    // Message 7: whether the add-on says its palette is visible.
    bool AskPaletteVisible();

    // The DG palette of the registered palette, null while there is none.
    DG::Palette* AddOnPalette() const;
    // The user's actions on the palette, its entries numbered from 0 in
    // palette order. Each is recorded in the events; false when the palette
    // or the entry does not exist or DG did not deliver the input (a hidden
    // palette, a disabled or hidden item).
    bool ClickPaletteEntry(USize entry);
    bool ChoosePaletteItem(USize entry, Int16 item);
    bool HoverPaletteEntry(USize entry, EntryPart part, std::string* toolTip);
    bool ClosePalette();
    bool ResizePalette(Int16 width, Int16 height);
    // The entry whose label is `label` (UTF-8), or -1.
    Int32 PaletteEntryByLabel(const std::string& label) const;

    // The user's answers to the add-on's file dialogs, and the dialogs shown.
    FileDialogScript fileDialogs;
    // The user's answers to point inputs, and the point inputs shown.
    PointInputScript pointInputs;

private:
    // Sends one element event to the add-on's handler, if the element is
    // observed, and records it.
    void SendElementEvent(API_NotifyElementID kind, const Element& before);
    PathShown ShownPath();

    Host& host;
    const Element* beforeChange = nullptr;
    struct RunningDialog {
        size_t record = 0;
        bool scripted = false;
        DialogAnswer answer;
    };
    std::vector<RunningDialog> runningDialogs;  // innermost last
};

}  // namespace SimHost
