// What DG's own files share and nobody else uses.
#pragma once
#include "platform/dg/DG.hpp"

namespace DG {
namespace Internal {
void AddPalette(Palette* palette);
void RemovePalette(Palette* palette);
void CountRectangleReset();
}  // namespace Internal
}  // namespace DG
