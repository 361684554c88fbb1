// The user's and the host's actions on the add-on's interface: menu
// commands, the host's palette messages and the user's palette input.
#include "simhost/scenario/Steps.hpp"
#include <cmath>

namespace SimHost {

namespace {

USize ResolveEntry(const Host& host, const JsonObject& step, const EntryRef& ref)
{
    Int64 index = FindEntry(host, ref);
    if (index < 0)
        step.Fail("entry", "the palette shows no entry labelled '" + ref.label + "'");
    return static_cast<USize>(index);
}

constexpr Int64 Int16Max = 32767;
constexpr Int64 Int32Min = -2147483647 - 1;
constexpr Int64 Int32Max = 2147483647;

StepAction ParseMenu(const JsonObject& step)
{
    step.Only({"do", "menu", "item"});
    auto menu = static_cast<Int16>(step.IntegerIn("menu", 32510, 1, Int16Max));
    auto item = static_cast<Int32>(step.IntegerIn("item", 1, 1, Int32Max));
    return [=](Host& host, RunContext&) { host.user.RunMenuCommand(menu, item); };
}

StepAction ParsePaletteMessage(const JsonObject& step)
{
    step.Only({"do", "message"});
    const double given = step.Number("message", 0);
    if (!(given >= 1 && given <= 7) || std::floor(given) != given)
        step.Fail("message", "the host's palette messages are 1 to 7");
    auto message = static_cast<Int32>(given);
    return [=](Host& host, RunContext&) {
        if (message == APIPalMsg_IsPaletteVisible)
            host.user.AskPaletteVisible();
        else
            host.user.SendPaletteMessage(message);
    };
}

StepAction ParseClickEntry(const JsonObject& step)
{
    step.Only({"do", "entry"});
    EntryRef entry = ReadEntry(step);
    return [=](Host& host, RunContext&) { host.user.ClickPaletteEntry(ResolveEntry(host, step, entry)); };
}

StepAction ParseChooseItem(const JsonObject& step)
{
    step.Only({"do", "entry", "item"});
    EntryRef entry = ReadEntry(step);
    auto item = static_cast<Int16>(step.IntegerIn("item", 1, 1, Int16Max));
    return [=](Host& host, RunContext&) { host.user.ChoosePaletteItem(ResolveEntry(host, step, entry), item); };
}

StepAction ParseHover(const JsonObject& step)
{
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
}

StepAction ParseClosePalette(const JsonObject& step)
{
    step.Only({"do"});
    return [](Host& host, RunContext&) { host.user.ClosePalette(); };
}

// One action of a dialog's answer: a click, a text, a value, a list
// view's choice, or closing the dialog.
DG::UserInput::DialogAction ReadDialogAction(const JsonObject& a)
{
    using Kind = DG::UserInput::DialogAction::Kind;
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
        return action;
    }
    const std::string itemKey = a.Has("click") ? "click" : "item";
    const Int64 item = a.Integer(itemKey);
    if (item < 1 || item > Int16Max)
        a.Fail(itemKey, "items are numbered from 1 (to 32767)");
    action.item = static_cast<Int16>(item);
    if (a.Has("click")) {
        action.kind = Kind::Click;
    } else if (a.Has("select")) {
        action.kind = Kind::Select;
        const Int64 listItem = a.Integer("select");
        if (listItem < 0 || listItem > Int16Max)
            a.Fail("select", "a list view's items are numbered from 1 (0 selects none)");
        action.value = static_cast<Int32>(listItem);
    } else if (a.Has("text")) {
        action.kind = Kind::SetText;
        action.text = GS::UniString(ReadHostText(a, "text").c_str(), CC_UTF8);
    } else {
        action.kind = Kind::SetValue;
        action.value = a.Raw().at("value").is<bool>() ? (a.Bool("value") ? 1 : 0)
                                                      : static_cast<Int32>(a.IntegerIn("value", 0, Int32Min, Int32Max));
    }
    return action;
}

StepAction ParseDialog(const JsonObject& step)
{
    step.Only({"do", "dialog", "actions"});
    DialogAnswer answer;
    const Int64 dialog = step.Integer("dialog", 0);
    if (dialog < 0 || dialog > Int16Max)
        step.Fail("dialog", "a dialog is a resource id, 1 to 32767 (or 0 for whichever comes next)");
    answer.dialog = static_cast<Int16>(dialog);
    for (USize k = 0; k < step.Array("actions").size(); ++k)
        answer.actions.push_back(ReadDialogAction(step.Item("actions", k)));
    return [=](Host& host, RunContext&) { host.user.dialogAnswers.push_back(answer); };
}

StepAction ParseAlert(const JsonObject& step)
{
    step.Only({"do", "button", "buttons"});
    if (step.Has("button") == step.Has("buttons"))
        step.Fail("button", "an alert is answered with \"button\": n or \"buttons\": [n, ...]");
    const std::string key = step.Has("button") ? "button" : "buttons";
    std::vector<double> given;
    if (step.Has("button")) {
        given.push_back(step.Number("button"));
    } else {
        for (const picojson::value& b : step.Array("buttons")) {
            if (!b.is<double>())
                step.Fail("buttons", "buttons are numbers");
            given.push_back(b.get<double>());
        }
    }
    std::vector<Int16> buttons;
    for (double b : given) {
        if (!(b == 1 || b == 2 || b == 3))
            step.Fail(key, "an alert's buttons are 1 to 3");
        buttons.push_back(static_cast<Int16>(b));
    }
    return [=](Host& host, RunContext&) {
        for (Int16 b : buttons)
            host.user.alertButtons.push_back(b);
    };
}

StepAction ParseFileDialog(const JsonObject& step)
{
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
}

StepAction ParsePointInput(const JsonObject& step)
{
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
}

StepAction ParseResizePalette(const JsonObject& step)
{
    step.Only({"do", "width", "height"});
    auto width = static_cast<Int16>(step.IntegerIn("width", 111, 1, Int16Max));
    auto height = static_cast<Int16>(step.IntegerIn("height", 350, 1, Int16Max));
    return [=](Host& host, RunContext&) { host.user.ResizePalette(width, height); };
}

}  // namespace

void AddUserSteps(StepTable& table)
{
    table["menu"] = {ParseMenu, Reach::AddOn};
    table["paletteMessage"] = {ParsePaletteMessage, Reach::AddOn};
    table["clickEntry"] = {ParseClickEntry, Reach::AddOn};
    table["chooseItem"] = {ParseChooseItem, Reach::AddOn};
    table["hover"] = {ParseHover, Reach::AddOn};
    table["closePalette"] = {ParseClosePalette, Reach::AddOn};
    table["resizePalette"] = {ParseResizePalette, Reach::AddOn};
    // The user's answers wait for the dialog, alert or point input the
    // add-on opens.
    table["dialog"] = {ParseDialog};
    table["alert"] = {ParseAlert};
    table["fileDialog"] = {ParseFileDialog};
    table["pointInput"] = {ParsePointInput};
}

}  // namespace SimHost
