#include "platform/dg/DGUserInput.hpp"
#include "platform/dg/DGInternal.hpp"
#include <algorithm>

namespace DG {

namespace {
struct State {
    std::vector<Palette*> palettes;
    UserInput::FileDialogAnswer fileDialogAnswer;
    Int32 rectangleResets = 0;
};

State& Dg()
{
    static auto* state = new State;
    return *state;
}

bool Receives(const Panel* panel)
{
    auto* window = dynamic_cast<const ModelessBase*>(panel);
    return window != nullptr && window->IsVisible() && window->IsEventProcessing();
}

bool TakesClicks(const Item& item) { return Receives(item.GetPanel()) && item.IsVisible() && item.IsEnabled(); }

// Observers are copied first: one may detach itself while it is notified.
template <typename Observer, typename Call> void Notify(const std::vector<Observer*>& observers, Call call)
{
    std::vector<Observer*> copy = observers;
    for (Observer* o : copy)
        call(*o);
}
}  // namespace

namespace Internal {
void AddPalette(Palette* palette) { Dg().palettes.push_back(palette); }
void RemovePalette(Palette* palette)
{
    auto& list = Dg().palettes;
    list.erase(std::remove(list.begin(), list.end(), palette), list.end());
}
void CountRectangleReset() { ++Dg().rectangleResets; }

bool AnswerFileDialog(const FileDialog& dialog, IO::Location* chosen)
{
    // A copy: the answer may set another answer while it runs.
    UserInput::FileDialogAnswer answer = Dg().fileDialogAnswer;
    return answer && answer(dialog, chosen);
}
}  // namespace Internal

namespace UserInput {

std::vector<Palette*> Palettes() { return Dg().palettes; }

Palette* FindPalette(const GS::Guid& guid)
{
    for (Palette* p : Dg().palettes)
        if (p->GetGuid() == guid)
            return p;
    return nullptr;
}

Int32 DialogRectangleResets() { return Dg().rectangleResets; }

void SetFileDialogAnswer(FileDialogAnswer answer) { Dg().fileDialogAnswer = std::move(answer); }

bool Click(Item& item)
{
    if (!TakesClicks(item))
        return false;
    if (auto* button = dynamic_cast<ButtonItem*>(&item)) {
        ButtonClickEvent ev(button);
        Notify(button->GetObservers(), [&](ButtonItemObserver& o) { o.PaletteButtonClicked(ev); });
        return true;
    }
    if (auto* menu = dynamic_cast<PushMenuCheck*>(&item)) {
        if (menu->IsChecked())
            menu->Uncheck();
        else
            menu->Check();
        PushMenuCheckChangeEvent ev(menu, true);
        Notify(menu->GetObservers(), [&](PushMenuObserver& o) { o.PalettePushMenuCheckChanged(ev); });
        return true;
    }
    return false;
}

bool ChoosePushMenuItem(PushMenuCheck& menu, Int16 index)
{
    if (!TakesClicks(menu) || index < 1 || index > menu.GetItemCount())
        return false;
    menu.SelectItem(index);
    bool stateChange = !menu.IsChecked();
    menu.Check();
    PushMenuCheckChangeEvent ev(&menu, stateChange);
    Notify(menu.GetObservers(), [&](PushMenuObserver& o) { o.PalettePushMenuCheckChanged(ev); });
    return true;
}

bool RequestToolTip(ModelessBase& window, Item* item, GS::UniString* text)
{
    if (text != nullptr)
        text->Clear();
    if (!Receives(&window) || (item != nullptr && (item->GetPanel() != &window || !item->IsVisible())))
        return false;
    PanelHelpEvent ev(&window, item);
    GS::UniString answer;
    Notify(window.GetObservers(), [&](PanelObserver& o) { o.PanelToolTipRequested(ev, &answer); });
    if (text != nullptr)
        *text = answer;
    return true;
}

bool RequestClose(ModelessBase& window)
{
    if (!Receives(&window) || window.GetCloseType() == NoClose)
        return false;
    PanelCloseRequestEvent ev(&window);
    bool accepted = false;
    Notify(window.GetObservers(), [&](PanelObserver& o) { o.PanelCloseRequested(ev, &accepted); });
    if (accepted)
        window.Hide();
    return true;
}

bool ResizeClient(ModelessBase& window, Int16 width, Int16 height)
{
    if (!Receives(&window))
        return false;
    Int16 oldWidth = window.GetClientWidth(), oldHeight = window.GetClientHeight();
    Int16 w = (window.GetGrowType() & HGrow) != 0 ? width : oldWidth;
    Int16 h = (window.GetGrowType() & VGrow) != 0 ? height : oldHeight;
    w = std::max(w, window.GetMinClientWidth());
    h = std::max(h, window.GetMinClientHeight());
    PanelResizeEvent ev(&window, static_cast<Int16>(w - oldWidth), static_cast<Int16>(h - oldHeight));
    Notify(window.GetObservers(), [&](PanelObserver& o) { o.PanelResizeEntered(ev); });
    window.SetClientSize(w, h);
    Notify(window.GetObservers(), [&](PanelObserver& o) { o.PanelResizing(ev); });
    Notify(window.GetObservers(), [&](PanelObserver& o) { o.PanelResized(ev); });
    Notify(window.GetObservers(), [&](PanelObserver& o) { o.PanelResizeExited(ev); });
    return true;
}

}  // namespace UserInput
}  // namespace DG
