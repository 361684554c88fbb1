#include "PreCommand.hpp"

// Filled in with the pre-command check.
void SuspendGroupsBracket::Before() {}
void SuspendGroupsBracket::After() {}
GSErrCode CheckLibraryAndSelection() { return NoError; }
