// Steps of the host's side: unloading, emptied slots, failing calls and
// requests, the user's cancel in a progress window, the add-on's folder,
// the host's temporary folder.
#include "simhost/scenario/Steps.hpp"
#include "simhost/scenario/HostQueries.hpp"
#include "simhost/core/AddOnFolder.hpp"
#include <array>

namespace SimHost {

namespace {

std::array<char, 5> RequestLetters(const JsonObject& step, const std::string& key)
{
    std::string code = step.String(key);
    if (code.size() != 4)
        step.Fail(key, "a request code has four letters");
    return {code[0], code[1], code[2], code[3], 0};
}

}  // namespace

void AddHostSteps(StepTable& table)
{
    table["unload"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "freeData"});
        bool freeData = step.Bool("freeData", true);
        return [=](Host& host, RunContext&) { host.session.UnloadAddOn(freeData); };
    };
    table["emptySlot"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "slot"});
        HostSlot slot = SlotByName(step, "slot", step.String("slot"));
        return [=](Host& host, RunContext&) { host.faultPlan.EmptySlot(slot); };
    };
    table["failCall"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "slot", "code", "times"});
        HostSlot slot = SlotByName(step, "slot", step.String("slot"));
        auto code = static_cast<GSErrCode>(step.Code("code", APIERR_GENERAL));
        auto times = static_cast<Int32>(step.Integer("times", -1));
        return [=](Host& host, RunContext&) { host.faultPlan.FailSlot(slot, code, times); };
    };
    // The n-th host call from here that can fail (one that returns an
    // error code) fails: a fault sweep plays a scenario with n = 1, 2, ...
    // until the report says the planned failure did not happen.
    table["failNthCall"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "n", "code"});
        if (!step.Has("n"))
            step.Fail("n", "'" + step.PathOf("n") + "' is missing: which call from here fails, 1 for the next");
        Int64 n = step.Integer("n");
        if (n < 1)
            step.Fail("n", "'" + step.PathOf("n") + "' counts calls from 1");
        auto code = static_cast<GSErrCode>(step.Code("code", APIERR_GENERAL));
        return [=](Host& host, RunContext& ctx) {
            host.faultPlan.FailNthCall(n, code);
            ctx.faultPlanned = true;
            ctx.faultCall = n;
            ctx.faultStep = ctx.step;
            ctx.failableCallsBeforeFault = Queries::FailableCallCount(host);
        };
    };
    table["failRequest"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "request", "code", "times"});
        std::array<char, 5> request = RequestLetters(step, "request");
        auto code = static_cast<GSErrCode>(step.Code("code", APIERR_GENERAL));
        auto times = static_cast<Int32>(step.Integer("times", -1));
        return [=](Host& host, RunContext&) {
            const char letters[5] = {request[0], request[1], request[2], request[3], 0};
            host.faultPlan.FailRequest(letters, code, times);
        };
    };
    table["cancelProgress"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "atCheck"});
        auto at = static_cast<Int32>(step.Integer("atCheck", 1));
        return [=](Host& host, RunContext&) { host.user.cancelAtCheck = host.recorder.cancelChecks + at; };
    };
    // The host's temporary folder: "missing" (removed, the host cannot give
    // it), "readOnly" (nothing can be written into it) or "present".
    table["tempFolder"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "state"});
        const std::string state = step.String("state");
        TemporaryFolder::State to = TemporaryFolder::State::Present;
        if (state == "missing")
            to = TemporaryFolder::State::Missing;
        else if (state == "readOnly")
            to = TemporaryFolder::State::ReadOnly;
        else if (state != "present")
            step.Fail("state", "'" + step.PathOf("state") + "' is \"present\", \"missing\" or \"readOnly\"");
        return [=](Host& host, RunContext&) {
            host.view.temporaryFolder.SetState(to);
            host.recorder.events.push_back("the temporary folder is made " + state);
        };
    };
    table["addOnFolder"] = [](const JsonObject& step) -> StepAction {
        step.Only({"do", "library", "files", "folders", "subfolder"});
        bool library = step.Bool("library", true);
        std::string subfolder = step.String("subfolder");
        std::vector<std::string> files, folders;
        for (USize i = 0; i < step.Array("files").size(); ++i)
            files.push_back(step.ItemString("files", i));
        for (USize i = 0; i < step.Array("folders").size(); ++i)
            folders.push_back(step.ItemString("folders", i));
        return [=](Host& host, RunContext& ctx) {
            if (host.session.AddOnLoaded())
                step.Fail("do", "'addOnFolder' prepares the add-on's folder: it belongs in 'setup'");
            try {
                host.session.addOnFolder = std::make_unique<AddOnFolder>(ctx.addOn, library, subfolder);
                for (const auto& f : files)
                    host.session.addOnFolder->AddFile(f);
                for (const auto& f : folders)
                    host.session.addOnFolder->AddFolder(f);
            } catch (const std::exception& e) {
                step.Fail("do", std::string("cannot prepare the add-on's folder: ") + e.what());
            }
            ctx.addOn = host.session.addOnFolder->AddOnPath();
            host.recorder.events.push_back("the add-on runs from " + host.session.addOnFolder->Folder());
        };
    };
}

}  // namespace SimHost
