#include "addon/services/CommandOutcome.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/ResStrings.hpp"
#include <cstdio>
#include <string>

GSErrCode CommandOutcome::Fail(GSErrCode err)
{
    if (err == NoError)
        err = APIERR_GENERAL;
    if (failure == NoError)
        failure = err;
    return err;
}

bool CommandOutcome::Check(GSErrCode err)
{
    if (err == NoError)
        return true;
    Fail(err);
    return false;
}

bool CommandOutcome::Tell(GSErrCode stepResult)
{
    if (stepResult != NoError)
        Fail(stepResult);
    const bool whole = !Failed() && skipped == 0;
    if (told || whole)
        return whole;
    told = true;
    if (Failed()) {
        HostReport(GetResString(ResStr::Messages::CommandNotCompleted), true);
        return false;
    }
    // The count goes into the text at its one "%d"; the text is ours and
    // holds no other conversion.
    const char* format = GetResString(skips == Skips::LeftAlone ? ResStr::Messages::ElementsLeftAlone
                                                                : ResStr::Messages::ObjectsNotKeptInStep);
    char text[512];
    std::snprintf(text, sizeof text, format, static_cast<int>(skipped));
    HostReport(text, true);
    return false;
}

GSErrCode RunUndoableStep(CommandOutcome& outcome, const UndoableBody& body, const GS::UniString* name)
{
    const GS::UniString addOnName(GetResString(ResStr::AddOnName::Name), CC_Default);
    const UndoableBody guarded = [&]() -> GSErrCode {
        const GSErrCode err = CallGuarded("undoable step", APIERR_GENERAL, [&] { return body(); });
        if (err != NoError)
            outcome.Fail(err);
        return outcome.BodyResult();
    };
    const GSErrCode result = HostRunUndoableCommand(name != nullptr ? name : &addOnName, &guarded);
    if (result != NoError)
        outcome.Fail(result);
    return result;
}
