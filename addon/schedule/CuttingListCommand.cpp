#include "addon/schedule/CuttingListCommand.hpp"

// Built with the cutting lists.
bool RunCuttingListOptimization(Int32) { return false; }
