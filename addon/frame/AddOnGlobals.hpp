// State that lives from the add-on's load to its unload.
#pragma once
#include "api/APIdefs.hpp"
#include "gs/Guid.hpp"
#include "rs/RS.hpp"

class DirizizPaletta;

constexpr Int32 AddOnVersion = 350;
constexpr Int32 PaletteRefId = 0x33743D54;
constexpr const char* PaletteGuidText = "{47f84345-4d48-41a5-9ede-821629ce5393}";

// The palette's identity towards the host and the dialog manager.
const GS::Guid& PaletteGuid();
// The palette object; null until the palette is first opened. The free-data
// entry does not delete it.
DirizizPaletta*& PaletteInstance();
// The add-on file's own resources.
GSResModule OwnResourceModule();
