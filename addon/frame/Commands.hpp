// Which command each palette entry and menu item starts. The frame is the
// one place that knows both the palette and the command folders.
#pragma once
#include "addon/palette/paletta.hpp"

// The palette's dispatch table, in entry order.
const PaletteCommandTable& PaletteCommands();

// The command of a menu item, or null when the item starts none.
AddOnCommand MenuCommand(Int16 menuResID, Int32 itemIndex);
