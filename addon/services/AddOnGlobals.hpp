// State that lives from the add-on's load to its unload.
#pragma once
#include "platform/api/APIdefs.hpp"
#include "platform/gs/Guid.hpp"
#include "platform/rs/RS.hpp"
#include <memory>

namespace DG { class Panel; }

constexpr Int32 AddOnVersion = 350;
constexpr Int32 PaletteRefId = 0x33743D54;
constexpr const char* PaletteGuidText = "{47f84345-4d48-41a5-9ede-821629ce5393}";

// The palette's identity towards the host and the dialog manager.
const GS::Guid& PaletteGuid();
// The one owner of the palette object; empty until the palette is first
// opened. The free-data entry does not empty it; detaching the library does,
// since the palette's code goes with the library.
std::unique_ptr<DG::Panel>& PaletteOwner();
// The add-on file's own resources.
GSResModule OwnResourceModule();
