// The create commands of the complex elements, started from the palette's
// push menus: each builds a crowning, beam or column from the selection.
#pragma once

bool CreateCrowningCommand();
bool CreateBeamCommand();
bool CreateColumnCommand();
