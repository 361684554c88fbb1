// The Export command of the palette.
#pragma once

// Writes the table of the selected cutting list to a text file.
void ExportListToText();
