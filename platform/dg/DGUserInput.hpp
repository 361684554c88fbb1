// The window system's side of DG: the palettes that exist, and the user's
// input delivered to them as DG's observers expect it. The host process
// uses this to find an add-on's palette by its GUID and to play clicks,
// menu choices, hovering, closing and resizing.
//
// Input reaches a window only while it is on screen and processes events;
// clicks and choices reach only items that are visible and enabled, and
// the pointer rests only on visible items. Each call says whether the
// input was delivered.
#pragma once
#include "platform/dg/DG.hpp"
#include "platform/dg/DGFileDialog.hpp"
#include <functional>
#include <vector>

namespace DG {
namespace UserInput {

// The live palettes, in creation order.
PLATFORM_API std::vector<Palette*> Palettes();
PLATFORM_API Palette* FindPalette(const GS::Guid& guid);

PLATFORM_API Int32 DialogRectangleResets();

// A click: a button notifies its observers; a check push menu toggles its
// check mark and notifies a state change.
PLATFORM_API bool Click(Item& item);
// Chooses item `index` of a push menu from its menu: the item is selected
// and its observers notified; an unchecked menu becomes checked (a state
// change), a checked one stays so.
PLATFORM_API bool ChoosePushMenuItem(PushMenuCheck& menu, Int16 index);
// The pointer rests on `item` (null: the panel itself); the observers
// answer the tooltip text, empty when none gives one.
PLATFORM_API bool RequestToolTip(ModelessBase& window, Item* item, GS::UniString* text);
// The close box: the observers are asked, and DG hides the window if one
// accepts.
PLATFORM_API bool RequestClose(ModelessBase& window);
// The user drags the window's frame until the client area has this size
// (limited by the grow type and the minimum client size).
PLATFORM_API bool ResizeClient(ModelessBase& window, Int16 width, Int16 height);

// The user's answer to a file dialog the moment it is shown: true and the
// chosen file, or false for cancel. The dialog tells its type and filters.
using FileDialogAnswer = std::function<bool(const FileDialog& dialog, IO::Location* chosen)>;
// Who answers file dialogs from now on; with nobody (an empty function)
// every file dialog is cancelled.
PLATFORM_API void SetFileDialogAnswer(FileDialogAnswer answer);

}  // namespace UserInput
}  // namespace DG
