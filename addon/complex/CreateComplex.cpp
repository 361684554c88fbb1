#include "addon/complex/CreateComplex.hpp"
#include "addon/services/CommandTrace.hpp"

// Built with the complex elements.
bool CreateCrowningCommand()
{
    TraceCommand("CreateCrowningCommand");
    return false;
}

bool CreateBeamCommand()
{
    TraceCommand("CreateBeamCommand");
    return false;
}

bool CreateColumnCommand()
{
    TraceCommand("CreateColumnCommand");
    return false;
}
