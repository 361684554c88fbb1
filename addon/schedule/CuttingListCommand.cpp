#include "addon/schedule/CuttingListCommand.hpp"
#include "addon/services/CommandTrace.hpp"

// Built with the cutting lists.
bool RunCuttingListOptimization(Int32 mode)
{
    TraceCommand("RunCuttingListOptimization", mode);
    return false;
}
