// The Export command of the palette.
#pragma once
#include "platform/api/APIdefs.hpp"
#include <string>

// Writes the table of the selected cutting list to a text file the user
// chooses: one line per row ending in CR LF, the cells separated by TABs,
// in UTF-8, as the list object last computed them into its
// tableContentTexts. Every failure the user must know of is reported.
void ExportListToText();

// The file's text for the parameters of a list object: every record named
// tableContentTexts, one after the other, row by row. A cell that fails the
// test conversion is left out with its TAB. False when the conversion
// buffer cannot be allocated; the text is then incomplete and must not be
// written.
bool ListTableText(API_AddParType** params, std::string* text);
