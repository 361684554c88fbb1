// The user's Undo.
#include "simhost/scenario/Steps.hpp"

namespace SimHost {

void AddUndoSteps(StepTable& table)
{
    // Takes the last undoable step back as a whole; with nothing to undo the
    // events say so and nothing changes.
    table["undo"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do"});
        return [](Host& host, RunContext&) { host.UndoLastStep(); };
    };
}

}  // namespace SimHost
