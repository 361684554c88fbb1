// The one debug line every command the palette reaches writes when it
// runs, "[zolva] command <Name> <argument>", so that a run shows which
// command the user's click started (0 for a command without an argument).
#pragma once
#include "platform/gs/DBPrintf.hpp"

inline void TraceCommand(const char* name, int argument = 0)
{
    DBPrintf("[zolva] command %s %d\n", name, argument);
}
