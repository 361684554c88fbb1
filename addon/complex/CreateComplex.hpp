// The create commands of the complex elements, started from the palette's
// push menus: each builds a crowning, beam or column from the selection.
#pragma once

bool CreateCrowningCommand();
bool CreateBeamCommand();
bool CreateColumnCommand();

struct ObjectCreator;

// One create run: the checks, the ID dialog, the insertion point and the
// build. False when the run stopped before the dialog.
bool CreateComplexElement(const ObjectCreator& creator);
