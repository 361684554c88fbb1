#include "addon/complex/CreateComplex.hpp"

// Built with the complex elements.
bool CreateCrowningCommand() { return false; }
bool CreateBeamCommand() { return false; }
bool CreateColumnCommand() { return false; }
