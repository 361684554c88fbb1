// The user at the add-on's modal dialogs.
#include "simhost/ui/ModalDialogs.hpp"
#include "simhost/core/SimHost.hpp"
#include "simhost/ui/ScriptedUser.hpp"

namespace SimHost {

namespace {

std::string Quoted(const GS::UniString& text) { return "\"" + text.ToUtf8() + "\""; }

std::string Join(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines)
        out += "; " + line;
    return out;
}

}  // namespace

std::vector<std::string> DescribeDialogItems(const DG::ModalDialogState& dialog, const PathShown& shown)
{
    std::vector<std::string> lines;
    for (size_t k = 0; k < dialog.items.size(); ++k) {
        const DG::DialogItemState& item = dialog.items[k];
        std::string line = std::to_string(k + 1) + " " + DG::ItemTypeName(item.type);
        switch (item.type) {
        case DG::ItemType::PopUp: {
            line += " [";
            for (size_t e = 0; e < item.entries.size(); ++e)
                line += (e == 0 ? "" : ", ") + Quoted(item.entries[e]);
            line += "] chosen " + std::to_string(item.value);
            break;
        }
        case DG::ItemType::CheckBox:
            line += " " + Quoted(item.text) + (item.value != 0 ? " on" : " off");
            break;
        case DG::ItemType::UserControl:
            line += " value " + std::to_string(item.value);
            break;
        case DG::ItemType::ListView: {
            line += item.listItems.empty() ? ": no items" : ":";
            for (size_t e = 0; e < item.listItems.size(); ++e) {
                const DG::ListViewItem& entry = item.listItems[e];
                line += (e == 0 ? " " : ", ") + std::to_string(e + 1) + " " + Quoted(entry.text);
                if (entry.image.IsEmpty()) {
                    line += " no picture";
                } else {
                    const std::string& file = entry.image.GetSource();
                    line += " picture " + std::to_string(entry.image.GetWidth()) + " x " +
                            std::to_string(entry.image.GetHeight()) +
                            (file.empty() ? std::string() : " " + (shown ? shown(file) : file));
                }
                if (entry.selected)
                    line += " selected";
            }
            break;
        }
        default:
            line += " " + Quoted(item.text);
        }
        if (!item.visible)
            line += " hidden";
        if (!item.enabled)
            line += " disabled";
        lines.push_back(line);
    }
    return lines;
}

std::string DescribeDialogAction(const DG::ModalDialogState& dialog, const DG::UserInput::DialogAction& action)
{
    using Kind = DG::UserInput::DialogAction::Kind;
    std::string item = "item " + std::to_string(action.item);
    switch (action.kind) {
    case Kind::Close:
        return "the user closes it";
    case Kind::Click: {
        const DG::DialogItemState* state = const_cast<DG::ModalDialogState&>(dialog).Item(action.item);
        return "the user clicks " + item + (state != nullptr ? " " + Quoted(state->text) : std::string());
    }
    case Kind::SetText:
        return "the user types " + Quoted(action.text) + " into " + item;
    case Kind::SetValue:
        return "the user sets " + item + " to " + std::to_string(action.value);
    case Kind::Select: {
        if (action.value == 0)
            return "the user selects nothing in " + item;
        const DG::DialogItemState* state = const_cast<DG::ModalDialogState&>(dialog).Item(action.item);
        std::string text;
        if (state != nullptr && action.value >= 1 && static_cast<size_t>(action.value) <= state->listItems.size())
            text = " " + Quoted(state->listItems[static_cast<size_t>(action.value) - 1].text);
        return "the user selects list item " + std::to_string(action.value) + text + " of " + item;
    }
    }
    return "";
}

PathShown ScriptedUser::ShownPath()
{
    return [this](const std::string& path) { return host.view.temporaryFolder.Shown(path); };
}

DG::UserInput::ModalDialogPlayer ScriptedUser::ModalDialogPlayer()
{
    using DG::UserInput::DialogAction;
    DG::UserInput::ModalDialogPlayer player;
    player.shown = [this](const DG::ModalDialogState& dialog) {
        ShownModalDialog shown;
        shown.resourceId = dialog.resourceId;
        shown.title = dialog.title.ToUtf8();
        shown.itemsShown = DescribeDialogItems(dialog, ShownPath());
        shown.items = dialog.items;
        modalDialogs.push_back(shown);
        // The answer scripted for this dialog, if the next one is for it;
        // else the old way: the buttons of dialogButtons.
        RunningDialog running;
        running.record = modalDialogs.size() - 1;
        if (!dialogAnswers.empty() &&
            (dialogAnswers.front().dialog == 0 || dialogAnswers.front().dialog == dialog.resourceId)) {
            running.answer = dialogAnswers.front();
            running.scripted = true;
            dialogAnswers.pop_front();
        }
        runningDialogs.push_back(running);
        host.recorder.events.push_back("modal dialog " + std::to_string(dialog.resourceId) + " shown: " +
                                       Quoted(dialog.title) + Join(shown.itemsShown));
    };
    player.next = [this](const DG::ModalDialogState&, Int32 n) {
        DialogAction action;
        if (runningDialogs.empty())
            return action;
        RunningDialog& running = runningDialogs.back();
        if (running.scripted) {
            if (static_cast<size_t>(n) < running.answer.actions.size())
                action = running.answer.actions[static_cast<size_t>(n)];
        } else if (!dialogButtons.empty()) {
            action.kind = DialogAction::Kind::Click;
            action.item = dialogButtons.front();
            dialogButtons.pop_front();
        }
        return action;
    };
    player.played = [this](const DG::ModalDialogState& dialog, const DialogAction& action,
                           DG::UserInput::ActionOutcome outcome, Int16) {
        std::string line = DescribeDialogAction(dialog, action);
        if (outcome == DG::UserInput::ActionOutcome::NotDelivered)
            line += ": not delivered";
        if (!runningDialogs.empty())
            modalDialogs[runningDialogs.back().record].actions.push_back(line);
        host.recorder.events.push_back("modal dialog " + std::to_string(dialog.resourceId) + ": " + line);
    };
    player.closed = [this](const DG::ModalDialogState& dialog, Int16 result) {
        std::vector<std::string> items = DescribeDialogItems(dialog, ShownPath());
        std::string changed;
        if (!runningDialogs.empty()) {
            ShownModalDialog& record = modalDialogs[runningDialogs.back().record];
            record.itemsAtClose = items;
            record.items = dialog.items;
            record.result = result;
            record.closed = true;
            if (items != record.itemsShown)
                changed = " with" + Join(items).substr(1);
            runningDialogs.pop_back();
        }
        host.recorder.events.push_back("modal dialog " + std::to_string(dialog.resourceId) + " closed: " +
                                       (result != 0 ? "result " + std::to_string(result) : std::string("the user closes it")) +
                                       changed);
    };
    return player;
}

DG::UserInput::AlertAnswer ScriptedUser::AlertAnswer()
{
    return [this](const DG::AlertResource& alert) -> Int16 {
        ShownAlert shown;
        shown.resourceId = alert.id;
        shown.title = alert.title.ToUtf8();
        shown.text = alert.text.ToUtf8();
        shown.detail = alert.detail.ToUtf8();
        for (const GS::UniString& button : alert.buttons)
            shown.buttons.push_back(button.ToUtf8());
        Int16 pressed = 1;
        if (!alertButtons.empty()) {
            pressed = alertButtons.front();
            alertButtons.pop_front();
        }
        // A button the alert does not have is the default one.
        if (pressed < 1 || static_cast<size_t>(pressed) > shown.buttons.size())
            pressed = 1;
        shown.result = pressed;
        std::string line = "alert " + std::to_string(alert.id) + " shown: " + Quoted(alert.title) + ": " +
                           Quoted(alert.text) + " " + Quoted(alert.detail);
        for (size_t b = 0; b < shown.buttons.size(); ++b)
            line += ", " + std::to_string(b + 1) + " button \"" + shown.buttons[b] + "\"";
        line += "; the user presses " + std::to_string(pressed) + " \"" + shown.buttons[static_cast<size_t>(pressed) - 1] + "\"";
        host.recorder.events.push_back(line);
        alertsShown.push_back(shown);
        return pressed;
    };
}

}  // namespace SimHost
