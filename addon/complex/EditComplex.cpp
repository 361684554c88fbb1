#include "addon/complex/EditComplex.hpp"
#include "addon/services/CommandTrace.hpp"

// Built with the complex elements.
bool EditCrowningCommand()
{
    TraceCommand("EditCrowningCommand");
    return false;
}

bool EditBeamCommand()
{
    TraceCommand("EditBeamCommand");
    return false;
}

bool EditColumnCommand()
{
    TraceCommand("EditColumnCommand");
    return false;
}
