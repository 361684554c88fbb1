// The arrangement of the palette's entries in a grid that fits the client
// area, in one of three looks: labels beside the icons, labels below them,
// or icons alone. All sizes are 16-bit; divisions truncate toward zero.
#include "addon/palette/paletta.hpp"
#include <algorithm>

namespace {

constexpr Int16 CellGap = 2;
constexpr Int16 MaxMargin = 6;

// The smallest and largest cell of each look.
struct Look {
    Int16 minWidth, minHeight, maxWidth, maxHeight;
};
constexpr Look LabelsBeside{85, 30, 137, 42};
constexpr Look LabelsBelow{52, 47, 64, 59};
constexpr Look IconsAlone{30, 30, 42, 42};

// The narrowest client area that still shows labels beside a single column
// of icons.
constexpr Int16 MinWidthForLabels = 43;

constexpr Int16 ControlIndent = 11;  // the icon's offset inside a cell with its label below
constexpr Int16 LabelBelowTop = 31;
constexpr Int16 LabelBesideLeft = 33;
constexpr Int16 LabelBesideTop = 8;
constexpr Int16 LabelBesideInset = 31;  // the cell width the label beside leaves

Int16 I16(int value) { return static_cast<Int16>(value); }

// Half of the room a cell has beyond its minimum, at most the margin.
Int16 Margin(Int16 cellSize, Int16 minimum) { return std::min(I16((cellSize - minimum) / 2), MaxMargin); }

}  // namespace

bool DirizizPaletta::FitPaletteGrid(Int16 minCellWidth, Int16 minCellHeight, Int16* columns, Int16* rows,
                                    Int16* cellWidth, Int16* cellHeight) const
{
    const Int16 width = GetClientWidth(), height = GetClientHeight();
    const Int16 n = I16(static_cast<int>(entries.size()));
    const double fw = static_cast<double>(width) / (minCellWidth + CellGap);
    const double fh = static_cast<double>(height) / (minCellHeight + CellGap);
    const Int16 cw = I16(static_cast<int>(fw)), ch = I16(static_cast<int>(fh));
    const bool fits = cw * ch >= n;

    // The fewest columns (or else rows) that take every entry; with the
    // column test first, an area that can take them in one column or in one
    // row gets the column.
    Int16 cols = 0, rws = 0;
    for (Int16 i = 1; i < n; ++i) {
        if (fw > i && ch * i >= n) {
            cols = i;
            rws = I16((n + i - 1) / i);
            break;
        }
        if (fh > i && cw * i >= n) {
            rws = i;
            cols = I16((n + i - 1) / i);
            break;
        }
        if (i == n / 2) {
            cols = cw;
            rws = ch;
            break;
        }
    }

    Int16 cellW = minCellWidth, cellH = minCellHeight;
    auto spreadWidth = [&] { return I16((width - CellGap * cols + CellGap) / cols); };
    auto spreadHeight = [&] { return I16((height - CellGap * rws + CellGap) / rws); };
    if (fits || cols < rws) {
        if (cols > 0)
            cellW = spreadWidth();
        if (fits && rws > 0)
            cellH = spreadHeight();
    } else if (rws > 0) {
        cellH = spreadHeight();
    }
    *columns = cols;
    *rows = rws;
    *cellWidth = cellW;
    *cellHeight = cellH;
    return fits;
}

void DirizizPaletta::LayoutPalette()
{
    if (!entries[CrowningEntry].Control().IsVisible())
        ShowItems();

    const Int16 n = I16(static_cast<int>(entries.size()));
    Int16 cols = 0, rows = 0, cellW = 0, cellH = 0;
    if (FitPaletteGrid(LabelsBeside.minWidth, LabelsBeside.minHeight, &cols, &rows, &cellW, &cellH)) {
        ShowLabelsBeside();
        HideLabelsBelow();
        ArrangePaletteEntries(cols, rows, std::min(cellW, LabelsBeside.maxWidth), std::min(cellH, LabelsBeside.maxHeight),
                              false, true, 0, Margin(cellH, LabelsBeside.minHeight));
    } else if (FitPaletteGrid(LabelsBelow.minWidth, LabelsBelow.minHeight, &cols, &rows, &cellW, &cellH)) {
        ShowLabelsBelow();
        HideLabelsBeside();
        ArrangePaletteEntries(cols, rows, std::min(cellW, LabelsBelow.maxWidth), std::min(cellH, LabelsBelow.maxHeight),
                              true, false, Margin(cellW, LabelsBelow.minWidth), Margin(cellH, LabelsBelow.minHeight));
    } else {
        FitPaletteGrid(IconsAlone.minWidth, IconsAlone.minHeight, &cols, &rows, &cellW, &cellH);
        HideLabelsBeside();
        HideLabelsBelow();
        Int16 width = std::min(cellW, IconsAlone.maxWidth);
        Int16 marginX = Margin(cellW, IconsAlone.minWidth);
        bool labelsBeside = false;
        // A single column of every entry with some room beside it still
        // shows the labels there.
        if (cols == 1 && rows >= n && GetClientWidth() >= MinWidthForLabels) {
            ShowLabelsBeside();
            width = GetClientWidth();
            marginX = 0;
            labelsBeside = true;
        }
        ArrangePaletteEntries(cols, rows, width, std::min(cellH, IconsAlone.maxHeight), false, labelsBeside, marginX,
                              Margin(cellH, IconsAlone.minHeight));
    }
    RedrawItems();
}

void DirizizPaletta::ArrangePaletteEntries(Int16 columns, Int16 rows, Int16 cellWidth, Int16 cellHeight, bool labelsBelow,
                                           bool labelsBeside, Int16 marginX, Int16 marginY)
{
    // The margin across the columns applies only when filling by columns,
    // the one across the rows only when filling by rows.
    if (columns < rows) {
        for (Int16 c = 0; c < columns; ++c)
            for (Int16 r = 0; r < rows; ++r)
                PlacePaletteEntry(I16(marginX + c * (cellWidth + CellGap)), I16(r * (cellHeight + CellGap)), c * rows + r,
                                  labelsBelow, labelsBeside, cellWidth);
    } else {
        for (Int16 r = 0; r < rows; ++r)
            for (Int16 c = 0; c < columns; ++c)
                PlacePaletteEntry(I16(c * (cellWidth + CellGap)), I16(marginY + r * (cellHeight + CellGap)), r * columns + c,
                                  labelsBelow, labelsBeside, cellWidth);
    }
    for (size_t i = static_cast<size_t>(std::max(columns * rows, 0)); i < entries.size(); ++i) {
        entries[i].Control().Hide();
        entries[i].labelBeside->Hide();
        entries[i].labelBelow->Hide();
    }
}

void DirizizPaletta::PlacePaletteEntry(Int16 x, Int16 y, Int32 index, bool labelsBelow, bool labelsBeside, Int16 cellWidth)
{
    if (index < 0 || static_cast<size_t>(index) >= entries.size())
        return;
    const PaletteEntry& entry = entries[static_cast<size_t>(index)];
    if (labelsBelow) {
        entry.Control().SetPosition(DG::Point(I16(x + ControlIndent), y));
        entry.labelBelow->SetPosition(DG::Point(x, I16(y + LabelBelowTop)));
        return;
    }
    entry.Control().Show();
    entry.Control().SetPosition(DG::Point(x, y));
    if (labelsBeside) {
        entry.labelBeside->SetPosition(DG::Point(I16(x + LabelBesideLeft), I16(y + LabelBesideTop)));
        entry.labelBeside->SetWidth(I16(cellWidth - LabelBesideInset));
    }
}

void DirizizPaletta::ShowLabelsBeside() { SetLabelsVisible(&PaletteEntry::labelBeside, true); }
void DirizizPaletta::HideLabelsBeside() { SetLabelsVisible(&PaletteEntry::labelBeside, false); }
void DirizizPaletta::ShowLabelsBelow() { SetLabelsVisible(&PaletteEntry::labelBelow, true); }
void DirizizPaletta::HideLabelsBelow() { SetLabelsVisible(&PaletteEntry::labelBelow, false); }

template <typename Label> void DirizizPaletta::SetLabelsVisible(std::shared_ptr<Label> PaletteEntry::*label, bool visible)
{
    for (const PaletteEntry& entry : entries)
        (entry.*label)->SetVisibility(visible);
}
