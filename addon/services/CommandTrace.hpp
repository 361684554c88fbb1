// The one debug line every command the palette reaches writes when it
// runs, "[zolva] command <Name> <argument>", so that a run shows which
// command the user's click started (0 for a command without an argument).
// The form is a contract: the stand-in host reads the commands from it
// (simhost/scenario/HostQueries), so it changes only together with that
// reader.
#pragma once
#include "platform/gs/DBPrintf.hpp"

inline void TraceCommand(const char* name, int argument = 0)
{
    DBPrintf("[zolva] command %s %d\n", name, argument);
}
