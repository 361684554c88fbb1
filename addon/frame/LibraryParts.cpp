#include "LibraryParts.hpp"

// Filled in with the object library.
GSErrCode EnsureLibraryLoaded() { return NoError; }
void LoadLibraryOrAlert() {}
