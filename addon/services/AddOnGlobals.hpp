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
// The one owner of the palette object: empty until the palette is first
// opened, emptied by the host's close message. The free-data entry does not
// empty it; detaching the library does, since the palette's code goes with
// the library. Nothing else owns or deletes the palette.
class PaletteOwner {
public:
    // The palette, or null.
    static DG::Panel* Get();
    // Takes the palette; one that is held already is deleted first.
    static void Adopt(std::unique_ptr<DG::Panel> palette);
    // Deletes the palette, if there is one.
    static void Delete();
};
// The add-on file's own resources.
GSResModule OwnResourceModule();
