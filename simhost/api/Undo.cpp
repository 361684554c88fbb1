// Undoable commands. The body runs with the model open to changes; when it
// answers an error its changes are taken back, as a host takes back a
// command that failed, and no step is recorded. A command run from inside
// another one is part of the enclosing step: it records no step of its own,
// and when it fails only its own changes are taken back. So is a command
// run while the add-on handles a notification of the user's action: it
// belongs to the user's step.
#include "simhost/api/HostApi.hpp"

namespace SimHost {

GSErrCode HostApi::RunUndoableCommand(const GS::UniString* name, const UndoableBody* body)
{
    if (name == nullptr || body == nullptr || !*body)
        return APIERR_BADPARS;
    const std::string text = name->ToUtf8();
    const bool outermost = host.undo.commandDepth == 0 && host.undo.notificationDepth == 0;
    ModelState before = host.model.Capture();

    ++host.undo.commandDepth;
    // The body is the add-on's own time, not the host's: while it runs, the
    // host calls it makes are measured as calls of their own, and its time
    // is taken out of this call's.
    Recorder& recorder = host.recorder;
    const Int32 callDepth = recorder.hostCallDepth;
    recorder.hostCallDepth = 0;
    const Int64 bodyStart = recorder.clock();
    GSErrCode err = NoError;
    try {
        err = (*body)();
    } catch (...) {
        recorder.AddFault("an exception left the body of the undoable command \"" + text + "\"");
        err = APIERR_GENERAL;
    }
    recorder.hostCallDepth = callDepth;
    if (callDepth > 0)
        recorder.hostCallNanoseconds -= recorder.clock() - bodyStart;
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
