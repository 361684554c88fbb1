// Undoable commands. The body runs with the model open to changes; when it
// answers an error its changes are taken back, as a host takes back a
// command that failed, and no step is recorded. A command run from inside
// another one is part of the enclosing step: it records no step of its own,
// and when it fails only its own changes are taken back.
#include "simhost/api/HostApi.hpp"

namespace SimHost {

GSErrCode HostApi::RunUndoableCommand(const GS::UniString* name, const UndoableBody* body)
{
    if (name == nullptr || body == nullptr || !*body)
        return APIERR_BADPARS;
    const std::string text = name->ToUtf8();
    const bool outermost = host.undo.commandDepth == 0;
    ModelState before = host.model.Capture();

    ++host.undo.commandDepth;
    GSErrCode err = NoError;
    try {
        err = (*body)();
    } catch (...) {
        host.recorder.AddFault("an exception left the body of the undoable command \"" + text + "\"");
        err = APIERR_GENERAL;
    }
    --host.undo.commandDepth;

    if (err != NoError) {
        host.model.Restore(before);
        host.recorder.events.push_back("undoable command \"" + text + "\" failed with " + HexCode(static_cast<UInt32>(err)) +
                                       ": its changes are taken back");
        return err;
    }
    if (outermost) {
        host.undo.steps.push_back({text, std::move(before)});
        host.recorder.events.push_back("undo step \"" + text + "\"");
    } else {
        host.recorder.events.push_back("undoable command \"" + text + "\" ran inside the enclosing step");
    }
    return NoError;
}

}  // namespace SimHost
