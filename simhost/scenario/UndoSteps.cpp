// The user's Undo.
#include "simhost/scenario/Steps.hpp"

namespace SimHost {

namespace {

// Takes the last undoable step back as a whole; with nothing to undo the
// events say so and nothing changes.
StepAction ParseUndo(const JsonObject& step)
{
    step.Only({"do"});
    return [](Host& host, RunContext&) { host.UndoLastStep(); };
}

}  // namespace

void AddUndoSteps(StepTable& table)
{
    table["undo"] = {ParseUndo, Reach::AddOn};
}

}  // namespace SimHost
