// The add-on's palette as the host's user sees it on screen: its entries,
// each a control (an icon button or a push menu) with the labels that
// follow it.
#pragma once
#include "simhost/core/SimHost.hpp"
#include "platform/dg/DG.hpp"
#include <string>
#include <vector>

namespace SimHost {

struct PaletteEntryView {
    DG::Item* control = nullptr;
    DG::IconButton* button = nullptr;
    DG::PushMenuCheck* pushMenu = nullptr;
    DG::LeftText* labelBeside = nullptr;
    DG::CenterText* labelBelow = nullptr;
    // The entry's label as shown (UTF-8).
    std::string Label() const;
};

// The entries of a DG palette in item order: a control and then the
// labels created after it belong together.
std::vector<PaletteEntryView> PaletteEntries(const DG::Palette& palette);

// The report's lines for the add-on's palette.
std::string DescribePalette(const Host& host);

// The shell's side of ShellExecuteA: recorded, nothing opens.
GS::IntPtr RecordShellCall(Host& host, const Win::ShellExecuteCall& call);

}  // namespace SimHost
