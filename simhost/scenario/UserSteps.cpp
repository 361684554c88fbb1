// The user's and the host's actions on the add-on's interface: menu
// commands, the host's palette messages and the user's palette input.
#include "simhost/scenario/Steps.hpp"

namespace SimHost {

namespace {

USize ResolveEntry(const Host& host, const JsonObject& step, const EntryRef& ref)
{
    Int64 index = FindEntry(host, ref);
    if (index < 0)
        step.Fail("entry", "the palette shows no entry labelled '" + ref.label + "'");
    return static_cast<USize>(index);
}

}  // namespace

void AddUserSteps(StepTable& table)
{
    table["menu"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "menu", "item"});
        auto menu = step.Short("menu", 32510);
        auto item = static_cast<Int32>(step.Integer("item", 1));
        return [=](Host& host, RunContext&) { host.user.RunMenuCommand(menu, item); };
    };
    table["paletteMessage"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "message"});
        auto message = static_cast<Int32>(step.Integer("message"));
        if (message < 1 || message > 7)
            step.Fail("message", "the host's palette messages are 1 to 7");
        return [=](Host& host, RunContext&) {
            if (message == APIPalMsg_IsPaletteVisible)
                host.user.AskPaletteVisible();
            else
                host.user.SendPaletteMessage(message);
        };
    };
    table["clickEntry"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "entry"});
        EntryRef entry = ReadEntry(step);
        return [=](Host& host, RunContext&) { host.user.ClickPaletteEntry(ResolveEntry(host, step, entry)); };
    };
    table["chooseItem"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "entry", "item"});
        EntryRef entry = ReadEntry(step);
        auto item = step.Short("item", 1);
        return [=](Host& host, RunContext&) { host.user.ChoosePaletteItem(ResolveEntry(host, step, entry), item); };
    };
    table["hover"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "entry", "on"});
        EntryRef entry = ReadEntry(step);
        static const std::map<std::string, EntryPart> parts = {
            {"icon", EntryPart::Control}, {"labelBeside", EntryPart::LabelBeside}, {"labelBelow", EntryPart::LabelBelow}};
        auto part = parts.find(step.String("on", "icon"));
        if (part == parts.end())
            step.Fail("on", "'on' is \"icon\", \"labelBeside\" or \"labelBelow\"");
        EntryPart on = part->second;
        return [=](Host& host, RunContext& ctx) {
            ctx.toolTipShown = host.user.HoverPaletteEntry(ResolveEntry(host, step, entry), on, &ctx.toolTip);
            if (!ctx.toolTipShown)
                ctx.toolTip.clear();
        };
    };
    table["closePalette"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do"});
        return [](Host& host, RunContext&) { host.user.ClosePalette(); };
    };
    table["dialog"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "dialog", "actions"});
        DialogAnswer answer;
        const Int64 dialog = step.Integer("dialog", 0);
        if (dialog < 0 || dialog > 32767)
            step.Fail("dialog", "a dialog is a resource id, 1 to 32767 (or 0 for whichever comes next)");
        answer.dialog = static_cast<Int16>(dialog);
        using Kind = DG::UserInput::DialogAction::Kind;
        const USize count = step.Array("actions").size();
        for (USize k = 0; k < count; ++k) {
            const JsonObject a = step.Item("actions", k);
            a.Only({"click", "item", "text", "value", "select", "close"});
            DG::UserInput::DialogAction action;
            const int forms = (a.Has("click") ? 1 : 0) + (a.Has("text") ? 1 : 0) + (a.Has("value") ? 1 : 0) +
                              (a.Has("select") ? 1 : 0) + (a.Has("close") ? 1 : 0);
            const bool needsItem = a.Has("text") || a.Has("value") || a.Has("select");
            if (forms != 1 || a.Has("item") != needsItem)
                a.Fail("click", "an action is {\"click\": n}, {\"item\": n, \"text\": ...}, "
                                "{\"item\": n, \"value\": v}, {\"item\": n, \"select\": m} or {\"close\": true}");
            if (a.Has("close")) {
                if (!a.Bool("close"))
                    a.Fail("close", "\"close\" is true");
                action.kind = Kind::Close;
            } else if (a.Has("click")) {
                action.kind = Kind::Click;
                action.item = a.Short("click");
            } else {
                action.item = a.Short("item");
                if (a.Has("select")) {
                    action.kind = Kind::Select;
                    const Int64 listItem = a.Integer("select");
                    if (listItem < 0 || listItem > 32767)
                        a.Fail("select", "a list view's items are numbered from 1 (0 selects none)");
                    action.value = static_cast<Int32>(listItem);
                } else if (a.Has("text")) {
                    action.kind = Kind::SetText;
                    action.text = GS::UniString(ReadHostText(a, "text").c_str(), CC_UTF8);
                } else {
                    action.kind = Kind::SetValue;
                    action.value = a.Raw().at("value").is<bool>() ? (a.Bool("value") ? 1 : 0)
                                                                  : static_cast<Int32>(a.Integer("value"));
                }
            }
            if (action.kind != Kind::Close && action.item < 1)
                a.Fail(action.kind == Kind::Click ? "click" : "item", "items are numbered from 1");
            answer.actions.push_back(action);
        }
        return [=](Host& host, RunContext&) { host.user.dialogAnswers.push_back(answer); };
    };
    table["alert"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "button", "buttons"});
        std::vector<Int16> buttons;
        if (step.Has("button") == step.Has("buttons"))
            step.Fail("button", "an alert is answered with \"button\": n or \"buttons\": [n, ...]");
        if (step.Has("button")) {
            buttons.push_back(step.Short("button"));
        } else {
            const picojson::array& list = step.Array("buttons");
            for (USize i = 0; i < list.size(); ++i) {
                if (!list[i].is<double>())
                    step.Fail("buttons", "buttons are numbers");
                const double b = list[i].get<double>();
                // Checked before it becomes a 16-bit number, which would cut it.
                if (!(b >= 1 && b <= 3) || b != static_cast<double>(static_cast<Int16>(b)))
                    step.Fail("buttons", "an alert's buttons are 1 to 3");
                buttons.push_back(static_cast<Int16>(b));
            }
        }
        for (Int16 b : buttons)
            if (b < 1 || b > 3)
                step.Fail(step.Has("button") ? "button" : "buttons", "an alert's buttons are 1 to 3");
        return [=](Host& host, RunContext&) {
            for (Int16 b : buttons)
                host.user.alertButtons.push_back(b);
        };
    };
    table["fileDialog"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "file", "cancel"});
        std::string file = step.String("file");
        bool cancel = step.Bool("cancel", false);
        if (file.empty() == !cancel)
            step.Fail(cancel ? "cancel" : "file", "a file dialog is answered with either 'file' or \"cancel\": true");
        return [=](Host& host, RunContext& ctx) {
            if (cancel)
                host.user.fileDialogs.Cancel();
            else
                host.user.fileDialogs.Choose(file[0] == '/' ? file : ctx.outDir + "/" + file);
        };
    };
    table["pointInput"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "path", "click", "cancel"});
        PointAnswer answer;
        const picojson::array& path = step.Array("path");
        for (USize i = 0; i < path.size(); ++i)
            answer.path.push_back(ReadPoint3D(step, step.PathOf("path") + "[" + std::to_string(i) + "]", path[i]));
        answer.cancel = step.Bool("cancel", false);
        if (step.Has("click") == answer.cancel)
            step.Fail(answer.cancel ? "cancel" : "click", "a point input is answered with either 'click' or \"cancel\": true");
        if (!answer.cancel)
            answer.click = ReadPoint3D(step, step.PathOf("click"), step.Raw().at("click"));
        return [=](Host& host, RunContext&) { host.user.pointInputs.Give(answer); };
    };
    table["resizePalette"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "width", "height"});
        auto width = step.Short("width", 111);
        auto height = step.Short("height", 350);
        return [=](Host& host, RunContext&) { host.user.ResizePalette(width, height); };
    };
}

}  // namespace SimHost
