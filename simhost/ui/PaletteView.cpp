#include "simhost/ui/PaletteView.hpp"
#include "simhost/ui/ScriptedUser.hpp"
#include "platform/dg/DGUserInput.hpp"
#include <sstream>

namespace SimHost {

namespace {

std::string Utf8(const GS::UniString& text) { return text.ToUtf8(); }

// Line breaks of tooltips and labels shown as \n on one report line.
std::string OneLine(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

std::string Placement(const DG::Item& item)
{
    std::ostringstream os;
    os << (item.IsVisible() ? "shown" : "hidden") << " at (" << item.GetPosition().x << ", " << item.GetPosition().y
       << ") " << item.GetWidth() << " x " << item.GetHeight();
    return os.str();
}

}  // namespace

std::string PaletteEntryView::Label() const
{
    if (labelBelow != nullptr)
        return Utf8(labelBelow->GetText());
    return labelBeside != nullptr ? Utf8(labelBeside->GetText()) : std::string();
}

std::vector<PaletteEntryView> PaletteEntries(const DG::Palette& palette)
{
    std::vector<PaletteEntryView> entries;
    for (Int16 id = 1; id <= palette.GetItemCount(); ++id) {
        DG::Item* item = palette.GetItem(id);
        auto* button = dynamic_cast<DG::IconButton*>(item);
        auto* menu = dynamic_cast<DG::PushMenuCheck*>(item);
        if (button != nullptr || menu != nullptr) {
            PaletteEntryView entry;
            entry.control = item;
            entry.button = button;
            entry.pushMenu = menu;
            entries.push_back(entry);
        } else if (!entries.empty()) {
            if (auto* beside = dynamic_cast<DG::LeftText*>(item))
                entries.back().labelBeside = beside;
            else if (auto* below = dynamic_cast<DG::CenterText*>(item))
                entries.back().labelBelow = below;
        }
    }
    return entries;
}

std::string DescribePalette(const Host& host)
{
    const DG::Palette* palette = host.user.AddOnPalette();
    if (palette == nullptr)
        return "";
    std::ostringstream os;
    os << "-- palette \"" << Utf8(palette->GetTitle()) << "\": " << (palette->IsVisible() ? "visible" : "hidden")
       << ", client area " << palette->GetClientWidth() << " x " << palette->GetClientHeight() << " (at least "
       << palette->GetMinClientWidth() << " x " << palette->GetMinClientHeight() << ")\n";
    std::vector<PaletteEntryView> entries = PaletteEntries(*palette);
    for (USize i = 0; i < entries.size(); ++i) {
        const PaletteEntryView& e = entries[i];
        os << "  " << i << " \"" << e.Label() << "\" ";
        if (e.pushMenu != nullptr)
            os << "push menu (item " << e.pushMenu->GetSelectedItem() << " of " << e.pushMenu->GetItemCount()
               << (e.pushMenu->IsChecked() ? ", checked" : ", unchecked") << ")";
        else
            os << "button (icon " << e.button->GetIcon().GetResourceId() << ")";
        os << ": " << (e.control->IsEnabled() ? "enabled" : "disabled") << ", " << Placement(*e.control) << "\n";
        if (e.labelBeside != nullptr)
            os << "      label beside " << Placement(*e.labelBeside) << "\n";
        if (e.labelBelow != nullptr)
            os << "      label below " << Placement(*e.labelBelow) << "\n";
    }
    return os.str();
}

GS::IntPtr RecordShellCall(Host& host, const Win::ShellExecuteCall& call)
{
    host.recorder.shellCalls.push_back(call);
    host.recorder.callLog.push_back("ShellExecuteA");
    // The path comes in Windows-1252, as the shell's 8-bit calls take it.
    std::string file = GS::EncodeText(GS::DecodeTextCodePage(call.file, 1252), CC_UTF8);
    host.recorder.events.push_back("shell: " + call.operation + " \"" + file + "\" (show " + std::to_string(call.showCommand) +
                          (call.window == host.MainWindow() ? ", over the main window)" : ")"));
    return 42;
}

// ---------------------------------------------------------------- the user's actions

namespace {

// The entry, or null with the reason recorded.
const PaletteEntryView* EntryFor(Host& host, std::vector<PaletteEntryView>& entries, USize entry, const char* action)
{
    DG::Palette* palette = host.user.AddOnPalette();
    if (palette != nullptr)
        entries = PaletteEntries(*palette);
    if (entry < entries.size())
        return &entries[entry];
    host.recorder.events.push_back(std::string(action) + " entry " + std::to_string(entry) + ": " +
                          (palette == nullptr ? "there is no palette" : "there is no such entry"));
    return nullptr;
}

// The user's action goes into the events before it is delivered, so that
// what the add-on does on it (a dialog it opens) comes after it.
template <typename Deliver> bool RecordAndDeliver(Host& host, const std::string& what, Deliver deliver)
{
    auto& events = host.recorder.events;
    const USize at = events.size();
    events.push_back(what);
    const bool delivered = deliver();
    if (!delivered)
        events[at] += ": not delivered";
    return delivered;
}

// An action whose line tells what it gave (a tooltip, a new size): recorded
// once it is known.
bool Delivered(Host& host, const std::string& what, bool delivered)
{
    host.recorder.events.push_back(what + (delivered ? "" : ": not delivered"));
    return delivered;
}

std::string Named(USize entry, const PaletteEntryView& view)
{
    return "entry " + std::to_string(entry) + " \"" + view.Label() + "\"";
}

}  // namespace

DG::Palette* ScriptedUser::AddOnPalette() const
{
    for (const auto& p : host.session.palettes) {
        GS::Guid guid(p.guid.c_str());
        if (DG::Palette* palette = DG::UserInput::FindPalette(guid))
            return palette;
    }
    return nullptr;
}

Int32 ScriptedUser::PaletteEntryByLabel(const std::string& label) const
{
    DG::Palette* palette = AddOnPalette();
    if (palette == nullptr)
        return -1;
    std::vector<PaletteEntryView> entries = PaletteEntries(*palette);
    for (USize i = 0; i < entries.size(); ++i)
        if (entries[i].Label() == label)
            return static_cast<Int32>(i);
    return -1;
}

bool ScriptedUser::ClickPaletteEntry(USize entry)
{
    std::vector<PaletteEntryView> entries;
    const PaletteEntryView* view = EntryFor(host, entries, entry, "click on");
    return view != nullptr && RecordAndDeliver(host, "click on " + Named(entry, *view),
                                                [&] { return DG::UserInput::Click(*view->control); });
}

bool ScriptedUser::ChoosePaletteItem(USize entry, Int16 item)
{
    std::vector<PaletteEntryView> entries;
    const PaletteEntryView* view = EntryFor(host, entries, entry, "menu choice on");
    if (view == nullptr)
        return false;
    std::string what = "item " + std::to_string(item) + " chosen on " + Named(entry, *view);
    return RecordAndDeliver(host, what, [&] {
        return view->pushMenu != nullptr && DG::UserInput::ChoosePushMenuItem(*view->pushMenu, item);
    });
}

bool ScriptedUser::HoverPaletteEntry(USize entry, EntryPart part, std::string* toolTip)
{
    std::vector<PaletteEntryView> entries;
    const PaletteEntryView* view = EntryFor(host, entries, entry, "pointer on");
    if (view == nullptr)
        return false;
    DG::Item* item = part == EntryPart::LabelBeside ? view->labelBeside
                     : part == EntryPart::LabelBelow ? static_cast<DG::Item*>(view->labelBelow)
                                                      : view->control;
    const char* partName = part == EntryPart::LabelBeside ? "label beside" : part == EntryPart::LabelBelow ? "label below" : "icon";
    GS::UniString text;
    bool delivered = item != nullptr && DG::UserInput::RequestToolTip(*AddOnPalette(), item, &text);
    if (toolTip != nullptr)
        *toolTip = text.ToUtf8();
    std::string what = "pointer on the " + std::string(partName) + " of " + Named(entry, *view);
    if (delivered)
        what += ": tooltip \"" + OneLine(text.ToUtf8()) + "\"";
    return Delivered(host, what, delivered);
}

bool ScriptedUser::ClosePalette()
{
    DG::Palette* palette = AddOnPalette();
    return RecordAndDeliver(host, "close box of the palette",
                            [&] { return palette != nullptr && DG::UserInput::RequestClose(*palette); });
}

bool ScriptedUser::ResizePalette(Int16 width, Int16 height)
{
    DG::Palette* palette = AddOnPalette();
    bool delivered = palette != nullptr && DG::UserInput::ResizeClient(*palette, width, height);
    std::string what = "palette resized to " + std::to_string(width) + " x " + std::to_string(height);
    if (delivered)
        what += " (client area now " + std::to_string(palette->GetClientWidth()) + " x " +
                std::to_string(palette->GetClientHeight()) + ")";
    return Delivered(host, what, delivered);
}

}  // namespace SimHost
