// The scenario runner: parses every step before anything runs, plays them,
// and reports what the host saw and which expectations did not hold.
#include "simhost/scenario/Scenario.hpp"
#include "simhost/scenario/HostQueries.hpp"
#include "simhost/scenario/PlanSvg.hpp"
#include "simhost/scenario/Steps.hpp"
#include "platform/gs/Memory.hpp"
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

namespace SimHost {

namespace {

std::string DefaultAddOnPath()
{
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    std::string exe = n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
    size_t slash = exe.find_last_of('/');
    std::string dir = slash == std::string::npos ? "." : exe.substr(0, slash);
    return dir + "/Armbrix" + std::to_string(HOST_VERSION) + ".so";
}

const StepTable& Steps()
{
    static const StepTable table = [] {
        StepTable t;
        AddHostSteps(t);
        AddModelSteps(t);
        AddUserSteps(t);
        AddUndoSteps(t);
        AddWallSteps(t);
        AddPreferenceSteps(t);
        AddPlacingSteps(t);
        AddChangeSteps(t);
        return t;
    }();
    return table;
}

struct ParsedStep {
    std::string action;  // "expect" for the expect step
    StepAction play;
};

// A step is `{"do": action, ...}`, or `{"expect": {...}}`. After an
// `unload` in the steps no step may call into the add-on: its code is gone.
std::vector<ParsedStep> ParseSteps(const JsonObject& top, const std::string& list)
{
    std::vector<ParsedStep> steps;
    std::string unloadedAt;
    for (USize i = 0; i < top.Array(list).size(); ++i) {
        JsonObject step = top.Item(list, i);
        if (step.Has("expect")) {
            if (step.Has("do"))
                step.Fail("do", "a step either does something ('do') or checks something ('expect')");
            steps.push_back({"expect", ParseExpect(step)});
            continue;
        }
        std::string action = step.String("do");
        if (action.empty())
            step.Fail("do", "a step needs 'do', the action to play, or 'expect', what to check");
        auto it = Steps().find(action);
        if (it == Steps().end())
            step.Fail("do", "unknown action '" + action + "'");
        if (!unloadedAt.empty() && it->second.reach == Reach::AddOn)
            step.Fail("do", "'" + action + "' calls into the add-on, which " + unloadedAt + " unloaded");
        steps.push_back({action, it->second.parse(step)});
        if (action == "unload" && list == "steps")
            unloadedAt = "step " + std::to_string(i + 1);
    }
    return steps;
}

// The commands that ran during a step go into the events after it.
void PlayStep(Host& host, RunContext& ctx, const ParsedStep& step, const std::string& label)
{
    ctx.step = label;
    host.recorder.events.push_back("-- " + label + ": " + step.action);
    USize before = Queries::CommandsRun(host).size();
    step.play(host, ctx);
    std::vector<Queries::CommandRun> commands = Queries::CommandsRun(host);
    for (USize i = before; i < commands.size(); ++i)
        host.recorder.events.push_back("the add-on ran the command " + Queries::CommandText(commands[i]));
}

// The folder for the run's files, absolute; the current folder when none
// is given. A folder given is made with its parents; false (with the
// reason) when it cannot be.
bool OutFolder(const std::string& outDir, std::string& dir, std::string& error)
{
    dir = outDir;
    if (dir.empty() || dir[0] != '/') {
        char cwd[4096];
        std::string here = getcwd(cwd, sizeof cwd) != nullptr ? cwd : ".";
        dir = dir.empty() ? here : here + "/" + dir;
    }
    for (size_t at = 1; !outDir.empty(); ++at) {
        at = dir.find('/', at);
        const std::string part = dir.substr(0, at);
        struct stat info {};
        if (::stat(part.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode)) {
                error = "cannot make the folder " + dir + ": " + part + " is a file";
                return false;
            }
        } else if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
            error = "cannot make the folder " + part + ": " + std::strerror(errno);
            return false;
        }
        if (at == std::string::npos)
            break;
    }
    return true;
}

// How the run ended, as the report's last line says it.
std::string Verdict(int exitCode, const RunContext& ctx)
{
    switch (exitCode) {
    case 0: return "passed";
    case 1: return "failed: the add-on faulted or leaked";
    case 2: return "refused: the scenario or the command line is wrong, or a file could not be written";
    case 3: return "failed: the add-on could not be loaded";
    case 4: return "failed: " + std::to_string(ctx.failedExpectations.size()) + " of " +
                   std::to_string(ctx.expectationsChecked) + " expectations did not hold";
    }
    return "ended";
}

void WriteRunSummary(const Host& host, const RunContext& ctx, std::ostream& out)
{
    out << "-- host calls: " << Queries::Calls(host).size() << " made, " << Queries::FailableCallCount(host)
        << " of them could fail\n";
    if (ctx.faultPlanned)
        out << "  planned failure of call " << ctx.faultCall << " from " << ctx.faultStep << ": "
            << (Queries::PlannedFailureHappened(host) ? "happened" : "did not happen") << " ("
            << Queries::FailableCallCount(host) - ctx.failableCallsBeforeFault << " calls that could fail came after "
            << ctx.faultStep << ")\n";
    out << "-- expectations: " << ctx.expectationsChecked << " checked, " << ctx.failedExpectations.size()
        << " did not hold\n";
    for (const auto& f : ctx.failedExpectations)
        out << "  " << f.step << " (line " << f.line << "): " << f.what << "\n";
}

}  // namespace

int RunScenario(const std::string& scenarioPath, const RunOptions& options, std::ostream& report, std::ostream& errors)
{
    const std::string who = "simhost" + std::to_string(HOST_VERSION);
    RunContext ctx;
    bool reported = false;  // whether the run began its report
    int code = 0;
    try {
        JsonDocument doc = JsonDocument::Load(scenarioPath);
        JsonObject top(doc, doc.Root(), "");
        top.Only({"description", "host", "addOn", "environmentKind", "setup", "steps"});
        if (top.Has("host") && top.Integer("host") != HOST_VERSION)
            top.Fail("host", "this scenario is for host " + std::to_string(top.Integer("host")) + ", this is host " +
                                 std::to_string(HOST_VERSION));
        const auto environmentKind =
            static_cast<API_EnvirKind>(top.IntegerIn("environmentKind", 1, -2147483647 - 1, 2147483647));

        std::string addOn = options.addOnPath;
        if (addOn.empty())
            addOn = top.Has("addOn") ? Beside(scenarioPath, top.String("addOn")) : DefaultAddOnPath();

        // Parse every step before anything runs, so that a malformed
        // scenario is refused as a whole.
        std::vector<ParsedStep> setup = ParseSteps(top, "setup");
        std::vector<ParsedStep> steps = ParseSteps(top, "steps");

        std::string outError;
        if (!OutFolder(options.outDir, ctx.outDir, outError)) {
            errors << who << ": --out " << options.outDir << ": " << outError << "\n";
            return 2;
        }

        Int64 handlesBefore = GS::LiveMemoryHandleCount();
        bool faults = false;
        bool unwritten = false;
        ctx.addOn = addOn;
        {
            Host host;
            host.preferences.SetFile(options.preferencesFile);
            host.session.environmentKind = environmentKind;
            // With an out folder the host's temporary folder lies in it, so
            // that the pictures saved there stay after the run.
            if (!options.outDir.empty())
                host.view.temporaryFolder.KeepIn(ctx.outDir + "/temp");
            reported = true;
            report << "== scenario " << scenarioPath << " on host " << HOST_VERSION << " ==\n";
            if (top.Has("description"))
                report << top.String("description") << "\n";
            // Set-up steps run before the add-on is loaded, so that they can
            // empty table slots and prepare failures of the start-up calls.
            for (USize i = 0; i < setup.size(); ++i)
                PlayStep(host, ctx, setup[i], "setup step " + std::to_string(i + 1));
            std::string error;
            if (!host.session.LoadAddOn(ctx.addOn, error)) {
                errors << who << ": " << error << "\n";
                report << "== " << Verdict(3, ctx) << " (exit 3)\n";
                return 3;
            }
            host.session.StartAddOn();
            for (USize i = 0; i < steps.size(); ++i)
                PlayStep(host, ctx, steps[i], "step " + std::to_string(i + 1));
            if (host.session.AddOnLoaded())
                host.session.UnloadAddOn(true);
            WriteReport(host, report);
            WriteRunSummary(host, ctx, report);

            // The files the run wrote: the add-on's, the plan, the pictures
            // kept in the out folder, the preferences.
            std::vector<std::string> written = host.recorder.filesWritten;
            if (!options.outDir.empty()) {
                const std::string plan = ctx.outDir + "/plan.svg";
                if (WritePlanSvg(host.model, plan)) {
                    written.push_back(plan);
                } else {
                    errors << who << ": cannot write " << plan << "\n";
                    unwritten = true;
                }
                for (const SavedPicture& picture : host.view.pictures)
                    if (std::find(written.begin(), written.end(), picture.path) == written.end())
                        written.push_back(picture.path);
            }
            if (host.preferences.Written())
                written.push_back(host.preferences.File() + " (the add-on's preferences)");
            if (host.preferences.WriteFailed()) {
                errors << who << ": cannot write the preferences file " << host.preferences.File() << "\n";
                unwritten = true;
            }
            report << "-- files written: " << (written.empty() ? "none" : std::to_string(written.size())) << "\n";
            for (const std::string& file : written)
                report << "  " << file << "\n";
            faults = !host.recorder.faults.empty();
        }
        Int64 leaked = GS::LiveMemoryHandleCount() - handlesBefore;
        report << "memory handles left: " << leaked << "\n";
        for (const auto& f : ctx.failedExpectations)
            errors << who << ": " << scenarioPath << ":" << f.line << ": " << f.step
                   << ": expectation did not hold: " << f.what << "\n";
        // Faults and leaks outrank a failed expectation: a fault sweep over
        // a scenario must tell them apart from the changed outcome a failed
        // host call brings. A file the run could not write fails it too.
        if (faults || leaked != 0)
            code = 1;
        else if (unwritten)
            code = 2;
        else
            code = ctx.failedExpectations.empty() ? 0 : 4;
    } catch (const ScenarioError& e) {
        errors << who << ": malformed scenario: " << e.what() << "\n";
        code = 2;
    }
    if (reported)
        report << "== " << Verdict(code, ctx) << " (exit " << code << ")\n";
    return code;
}

}  // namespace SimHost
