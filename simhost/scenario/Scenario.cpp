// The scenario runner: parses every step before anything runs, plays them,
// and reports what the host saw and which expectations did not hold.
#include "simhost/scenario/Scenario.hpp"
#include "simhost/scenario/HostQueries.hpp"
#include "simhost/scenario/PlanSvg.hpp"
#include "simhost/scenario/Steps.hpp"
#include "platform/gs/Memory.hpp"
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

// A step is `{"do": action, ...}`, or `{"expect": {...}}`.
std::vector<ParsedStep> ParseSteps(const JsonObject& top, const std::string& list)
{
    std::vector<ParsedStep> steps;
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
        steps.push_back({action, it->second(step)});
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

// The folder for exported files, made if it is missing; the current folder
// when none is given.
std::string OutFolder(const std::string& outDir)
{
    std::string dir = outDir;
    if (dir.empty() || dir[0] != '/') {
        char cwd[4096];
        std::string here = getcwd(cwd, sizeof cwd) != nullptr ? cwd : ".";
        dir = dir.empty() ? here : here + "/" + dir;
    }
    ::mkdir(dir.c_str(), 0777);
    return dir;
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
    try {
        JsonDocument doc = JsonDocument::Load(scenarioPath);
        JsonObject top(doc, doc.Root(), "");
        top.Only({"description", "host", "addOn", "environmentKind", "setup", "steps"});
        if (top.Has("host") && top.Integer("host") != HOST_VERSION)
            top.Fail("host", "this scenario is for host " + std::to_string(top.Integer("host")) + ", this is host " +
                                 std::to_string(HOST_VERSION));

        std::string addOn = options.addOnPath;
        if (addOn.empty())
            addOn = top.Has("addOn") ? Beside(scenarioPath, top.String("addOn")) : DefaultAddOnPath();

        // Parse every step before anything runs, so that a malformed
        // scenario is refused as a whole.
        std::vector<ParsedStep> setup = ParseSteps(top, "setup");
        std::vector<ParsedStep> steps = ParseSteps(top, "steps");

        Int64 handlesBefore = GS::LiveMemoryHandleCount();
        bool faults = false;
        RunContext ctx;
        ctx.addOn = addOn;
        ctx.outDir = OutFolder(options.outDir);
        {
            Host host;
            host.preferences.SetFile(options.preferencesFile);
            host.session.environmentKind = static_cast<API_EnvirKind>(top.Integer("environmentKind", 1));
            // With an out folder the host's temporary folder lies in it, so
            // that the pictures saved there stay after the run.
            if (!options.outDir.empty())
                host.view.temporaryFolder.KeepIn(ctx.outDir + "/temp");
            report << "== scenario " << scenarioPath << " on host " << HOST_VERSION << " ==\n";
            if (top.Has("description"))
                report << top.String("description") << "\n";
            // Set-up steps run before the add-on is loaded, so that they can
            // empty table slots and prepare failures of the start-up calls.
            for (USize i = 0; i < setup.size(); ++i)
                PlayStep(host, ctx, setup[i], "setup step " + std::to_string(i + 1));
            std::string error;
            if (!host.session.LoadAddOn(ctx.addOn, error)) {
                errors << "simhost" << HOST_VERSION << ": " << error << "\n";
                return 3;
            }
            host.session.StartAddOn();
            for (USize i = 0; i < steps.size(); ++i)
                PlayStep(host, ctx, steps[i], "step " + std::to_string(i + 1));
            if (host.session.AddOnLoaded())
                host.session.UnloadAddOn(true);
            WriteReport(host, report);
            WriteRunSummary(host, ctx, report);
            if (!options.outDir.empty() && !WritePlanSvg(host.model, ctx.outDir + "/plan.svg"))
                errors << "simhost" << HOST_VERSION << ": cannot write " << ctx.outDir << "/plan.svg\n";
            faults = !host.recorder.faults.empty();
        }
        Int64 leaked = GS::LiveMemoryHandleCount() - handlesBefore;
        report << "memory handles left: " << leaked << "\n";
        for (const auto& f : ctx.failedExpectations)
            errors << "simhost" << HOST_VERSION << ": " << scenarioPath << ":" << f.line << ": " << f.step
                   << ": expectation did not hold: " << f.what << "\n";
        // Faults and leaks outrank a failed expectation: a fault sweep over
        // a scenario must tell them apart from the changed outcome a failed
        // host call brings.
        if (faults || leaked != 0)
            return 1;
        return ctx.failedExpectations.empty() ? 0 : 4;
    } catch (const ScenarioError& e) {
        errors << "simhost" << HOST_VERSION << ": malformed scenario: " << e.what() << "\n";
        return 2;
    }
}

}  // namespace SimHost
