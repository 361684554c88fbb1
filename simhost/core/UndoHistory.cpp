#include "simhost/core/SimHost.hpp"

namespace SimHost {

bool Host::UndoLastStep()
{
    if (undo.steps.empty()) {
        recorder.events.push_back("undo: nothing to undo");
        return false;
    }
    UndoStep step = std::move(undo.steps.back());
    undo.steps.pop_back();
    model.Restore(step.before);
    undo.undone.push_back(step.name);
    recorder.events.push_back("undo: \"" + step.name + "\" taken back");
    return true;
}

GSErrCode Host::RequireUndoScope(const std::string& change)
{
    if (undo.InUndoScope())
        return NoError;
    recorder.events.push_back(change + " refused: the model changes only inside an undoable command");
    return APIERR_NEEDSUNDOSCOPE;
}

}  // namespace SimHost
