#include "addon/complex/EditComplex.hpp"

// Built with the complex elements.
bool EditCrowningCommand() { return false; }
bool EditBeamCommand() { return false; }
bool EditColumnCommand() { return false; }
