// How one command ended, told to the user once at its end.
//
// A command records on its CommandOutcome what it could not do:
//   - Skip(): an element it cannot read and leaves alone on purpose; the
//     command goes on and the rest of its work stands.
//   - Fail(code): a failed read of an input its result is computed from, or
//     a failed write (create, change, delete, link, user data, layer unlock
//     or lock). The command cannot be completed: its undoable body returns
//     BodyResult() (never NoError after a failure), so that the host takes
//     the whole step back.
// At its end the command calls Tell() exactly once: one alert, either that
// the command could not be completed and the model was left as it was, or
// how many elements were left alone. Only when Tell() answers true (nothing
// failed, nothing skipped) may the command show its own done message.
#pragma once
#include "platform/api/APIdefs.hpp"
#include "platform/gs/UniString.hpp"

class CommandOutcome {
public:
    // What a skip means to the user: an element the command could not read
    // and left alone, or (in the notifications that keep objects in step
    // with their elements) an object that could not be kept in step and was
    // left as it was.
    enum class Skips { LeftAlone, NotKeptInStep };

    explicit CommandOutcome(Skips skips = Skips::LeftAlone) : skips(skips) {}

    // `count` more elements left alone.
    void Skip(Int32 count = 1) { skipped += count; }

    // Records a failure; the first failure's code is kept. Answers the code
    // for the undoable body to return: `err`, or APIERR_GENERAL when `err`
    // is NoError (a failure the host reported as no error is still one).
    GSErrCode Fail(GSErrCode err = APIERR_GENERAL);

    // True for NoError; otherwise records the failure (Fail) and answers
    // false. For writing `if (!outcome.Check(HostChangeElement(...)))`.
    bool Check(GSErrCode err);

    bool Failed() const { return failure != NoError; }
    Int32 Skipped() const { return skipped; }

    // What the undoable body returns: NoError, or the first failure's code.
    GSErrCode BodyResult() const { return failure; }

    // Tells the user once how the command ended: after a failure that it
    // could not be completed and the model was left as it was; otherwise,
    // when elements were skipped, how many. `stepResult` is the host's
    // answer to the undoable step (a step the host refused or took back is
    // a failure too). Later calls show nothing. True when the command was
    // done whole: its done message may then be shown.
    bool Tell(GSErrCode stepResult = NoError);

private:
    Skips skips;
    GSErrCode failure = NoError;
    Int32 skipped = 0;
    bool told = false;
};

// Runs `body` as the host's undoable step `name` ("[zolva] Reinforcement"
// when null) with
// `outcome` recording its failures: an exception inside counts as a
// failure, and the step returns the outcome's BodyResult() (or the body's
// own error code, recorded too) so that the host takes a failed step back.
// Answers the host's result for the step, recorded as a failure when it is
// not NoError. Does not Tell().
GSErrCode RunUndoableStep(CommandOutcome& outcome, const UndoableBody& body, const GS::UniString* name = nullptr);
