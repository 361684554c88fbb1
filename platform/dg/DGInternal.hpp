// What DG's own files share and nobody else uses.
#pragma once
#include "platform/dg/DG.hpp"
#include "platform/dg/DGFileDialog.hpp"

namespace DG {
namespace Internal {
void AddPalette(Palette* palette);
void RemovePalette(Palette* palette);
void CountRectangleReset();
// The window system's answer to a file dialog: false when it is cancelled.
bool AnswerFileDialog(const FileDialog& dialog, IO::Location* chosen);
}  // namespace Internal
}  // namespace DG
