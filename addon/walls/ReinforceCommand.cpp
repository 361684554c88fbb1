#include "addon/walls/ReinforceCommand.hpp"
#include "addon/services/CommandTrace.hpp"

// Built with the wall, slab and roof reinforcement.
void ReinforceSelectedElements(API_ElemTypeID elemType)
{
    TraceCommand("ReinforceSelectedElements", elemType);
}
