// Steps of the host's side: unloading, emptied slots, failing calls and
// requests, the user's cancel in a progress window, the add-on's folder,
// the host's temporary folder.
#include "simhost/scenario/Steps.hpp"
#include "simhost/scenario/HostQueries.hpp"
#include "simhost/core/AddOnFolder.hpp"
#include <array>
#include <cmath>
#include <filesystem>

namespace SimHost {

namespace {

std::array<char, 5> RequestLetters(const JsonObject& step, const std::string& key)
{
    std::string code = step.String(key);
    if (code.size() != 4)
        step.Fail(key, "a request code has four letters");
    return {code[0], code[1], code[2], code[3], 0};
}

constexpr Int64 Int32Max = 2147483647;

// How many of the next calls fail: -1 (the default) every one from here,
// or a count.
Int32 ReadTimes(const JsonObject& step)
{
    const double times = step.Number("times", -1);
    if (times != -1 && !(times >= 1 && times <= static_cast<double>(Int32Max) && std::floor(times) == times))
        step.Fail("times", "'" + step.PathOf("times") + "' is -1 (every call from here) or a count from 1 to " +
                               std::to_string(Int32Max));
    return static_cast<Int32>(times);
}

StepAction ParseUnload(const JsonObject& step)
{
    step.Only({"do", "freeData"});
    bool freeData = step.Bool("freeData", true);
    return [=](Host& host, RunContext&) { host.session.UnloadAddOn(freeData); };
}

StepAction ParseEmptySlot(const JsonObject& step)
{
    step.Only({"do", "slot"});
    HostSlot slot = SlotByName(step, "slot", step.String("slot"));
    return [=](Host& host, RunContext&) { host.faultPlan.EmptySlot(slot); };
}

StepAction ParseFailCall(const JsonObject& step)
{
    step.Only({"do", "slot", "code", "times"});
    HostSlot slot = SlotByName(step, "slot", step.String("slot"));
    auto code = static_cast<GSErrCode>(step.Code("code", APIERR_GENERAL));
    const Int32 times = ReadTimes(step);
    return [=](Host& host, RunContext&) { host.faultPlan.FailSlot(slot, code, times); };
}

// The n-th host call from here that can fail (one that returns an error
// code) fails: a fault sweep plays a scenario with n = 1, 2, ... until the
// report says the planned failure did not happen.
StepAction ParseFailNthCall(const JsonObject& step)
{
    step.Only({"do", "n", "code"});
    if (!step.Has("n"))
        step.Fail("n", "'" + step.PathOf("n") + "' is missing: which call from here fails, 1 for the next");
    const double given = step.Number("n");
    if (!(given >= 1))
        step.Fail("n", "'" + step.PathOf("n") + "' counts calls from 1");
    // More calls than any run makes; the bound keeps the count a number.
    const Int64 n = step.IntegerIn("n", 1, 1, Int32Max);
    auto code = static_cast<GSErrCode>(step.Code("code", APIERR_GENERAL));
    return [=](Host& host, RunContext& ctx) {
        host.faultPlan.FailNthCall(n, code);
        ctx.faultPlanned = true;
        ctx.faultCall = n;
        ctx.faultStep = ctx.step;
        ctx.failableCallsBeforeFault = Queries::FailableCallCount(host);
    };
}

StepAction ParseFailRequest(const JsonObject& step)
{
    step.Only({"do", "request", "code", "times"});
    std::array<char, 5> request = RequestLetters(step, "request");
    auto code = static_cast<GSErrCode>(step.Code("code", APIERR_GENERAL));
    const Int32 times = ReadTimes(step);
    return [=](Host& host, RunContext&) {
        const char letters[5] = {request[0], request[1], request[2], request[3], 0};
        host.faultPlan.FailRequest(letters, code, times);
    };
}

StepAction ParseCancelProgress(const JsonObject& step)
{
    step.Only({"do", "atCheck"});
    auto at = static_cast<Int32>(step.IntegerIn("atCheck", 1, 1, Int32Max / 2));
    return [=](Host& host, RunContext&) { host.user.cancelAtCheck = host.recorder.cancelChecks + at; };
}

// The host's temporary folder: "missing" (removed, the host cannot give
// it), "readOnly" (nothing can be written into it) or "present".
StepAction ParseTempFolder(const JsonObject& step)
{
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
}

StepAction ParseAddOnFolder(const JsonObject& step)
{
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
}

// In setup: the add-on runs as a copy beside the scripted wall-geometry
// library, which answers every wall request with `text`.
StepAction ParseWallGeometryReply(const JsonObject& step)
{
    step.Only({"do", "text"});
    const std::string text = step.String("text");
    return [=](Host& host, RunContext& ctx) {
        if (host.session.AddOnLoaded())
            step.Fail("do", "'wallGeometryReply' puts a library beside the add-on: it belongs in 'setup'");
        // The scripted library lies beside this executable.
        std::error_code ec;
        const std::filesystem::path scripted =
            std::filesystem::read_symlink("/proc/self/exe", ec).parent_path() / "libVOMDIX_scripted.so";
        try {
            if (!host.session.addOnFolder) {
                host.session.addOnFolder = std::make_unique<AddOnFolder>(ctx.addOn, true);
                ctx.addOn = host.session.addOnFolder->AddOnPath();
                host.recorder.events.push_back("the add-on runs from " + host.session.addOnFolder->Folder());
            }
            const std::string folder = host.session.addOnFolder->Folder();
            std::filesystem::copy_file(scripted, folder + "/libVOMDIX.so",
                                       std::filesystem::copy_options::overwrite_existing);
            host.session.addOnFolder->AddFile("wall-geometry-reply.txt", text);
            AddOnFolder& beside = *host.session.addOnFolder;
            beside.SetEnvironment("VOMDIX_REPLY_FILE", (folder + "/wall-geometry-reply.txt").c_str());
            beside.SetEnvironment("VOMDIX_REPLY_LENGTH", nullptr);
            beside.SetEnvironment("VOMDIX_REQUEST_LOG", nullptr);
        } catch (const std::exception& e) {
            step.Fail("do", std::string("cannot put the scripted wall-geometry library beside the add-on: ") + e.what());
        }
        host.recorder.events.push_back("the wall-geometry library beside the add-on answers every wall request with " +
                                       std::to_string(text.size()) + " bytes");
    };
}

}  // namespace

void AddHostSteps(StepTable& table)
{
    table["unload"] = {ParseUnload};
    table["emptySlot"] = {ParseEmptySlot};
    table["failCall"] = {ParseFailCall};
    table["failNthCall"] = {ParseFailNthCall};
    table["failRequest"] = {ParseFailRequest};
    table["cancelProgress"] = {ParseCancelProgress};
    table["tempFolder"] = {ParseTempFolder};
    table["addOnFolder"] = {ParseAddOnFolder};
    table["wallGeometryReply"] = {ParseWallGeometryReply};
}

}  // namespace SimHost
