// A fault sweep that checks what the model holds after every failing call.
//
// "No crash, no leak" lets a zeroed write or a half-done command through,
// so every run of the sweep is held to one invariant: after the command,
// the model is either what the fault-free run left, or exactly what it was
// before the command. A run whose model is neither must have told the user
// (an alert), and a run whose model differs from the fault-free one must
// not show the command's done message and must tell the user no more than
// once. Models are compared as ModelText gives them.
#pragma once
#include "tests/e2e/ModelText.hpp"
#include "platform/gs/Memory.hpp"
#include <gtest/gtest.h>
#include <cctype>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace SweepInvariant {

struct SweepSetup {
    // Sets up a freshly loaded host and add-on (the model, the user's answers).
    std::function<void(SimHost::Host&)> prepare;
    // Plays the command (a palette click, a menu, a user's change).
    std::function<void(SimHost::Host&)> command;
    // Texts of which any one in an alert tells the user the command is done;
    // a run whose model differs from the fault-free run must show none.
    std::vector<std::string> doneTexts;
    // Resource ids of the alerts that are the command's own questions (the
    // walls' "a further layer?" 32520): shown on every run, they do not
    // count as telling the user. Dialogs never count as telling.
    std::vector<Int16> questions;
    Int64 limit = 1000;
    GSErrCode code = static_cast<GSErrCode>(0x81060310);
};

struct Counts {
    Int64 runs = 0;          // runs with a call failing
    Int64 asFaultFree = 0;   // model as the fault-free run left it
    Int64 backTold = 0;      // model as before, the user told
    Int64 backSilent = 0;    // model as before, nothing said
    Int64 otherTold = 0;     // neither, the user told
    Int64 broken = 0;        // runs that broke the invariant

    std::string Text() const
    {
        return std::to_string(runs) + " runs: " + std::to_string(asFaultFree) + " as fault-free, " +
               std::to_string(backTold) + " back to before and told, " + std::to_string(backSilent) +
               " back to before silently, " + std::to_string(otherTold) + " other and told, " +
               std::to_string(broken) + " broken";
    }
};

namespace Detail {
inline bool ShowsDone(const std::vector<std::string>& alerts, size_t from, const std::vector<std::string>& doneTexts)
{
    for (size_t i = from; i < alerts.size(); ++i)
        for (const std::string& done : doneTexts)
            if (!done.empty() && alerts[i].find(done) != std::string::npos)
                return true;
    return false;
}

struct Run {
    std::string before, after;
    std::vector<std::string> alerts;  // during the command
    bool failed = false;
};

inline bool Play(const SweepSetup& setup, Int64 failAt, Run& run, const std::string& label)
{
    SimHost::Host host;
    std::string error;
    if (!host.session.LoadAddOn(ADDON_PATH, error)) {
        ADD_FAILURE() << error;
        return false;
    }
    setup.prepare(host);
    const std::set<std::string> known = KnownGuids(host);
    run.before = ModelText(host, &known);
    const std::vector<std::string> alertsBefore = AlertsSeen(host, setup.questions);
    if (failAt > 0)
        host.faultPlan.FailNthCall(failAt, setup.code);
    setup.command(host);
    run.after = ModelText(host, &known);
    const std::vector<std::string> alertsAfter = AlertsSeen(host, setup.questions);
    run.alerts.assign(alertsAfter.begin() + static_cast<std::ptrdiff_t>(std::min(alertsBefore.size(), alertsAfter.size())),
                      alertsAfter.end());
    run.failed = failAt > 0 && host.faultPlan.NthCallFailed();
    host.session.UnloadAddOn(true);
    for (const auto& f : host.recorder.faults)
        ADD_FAILURE() << label << ": add-on fault: " << f.what;
    return true;
}
}  // namespace Detail

// Plays the command once without a fault, then once for every host call it
// makes with that call failing (from the first call after `prepare`), each
// run in a fresh host, and checks every run against the invariant, for
// leaks and for add-on faults. Answers the counts, for the sweep's report.
inline Counts SweepWithInvariant(const SweepSetup& setup)
{
    Counts counts;
    Detail::Run clean;
    const Int64 handles = GS::LiveMemoryHandleCount();
    if (!Detail::Play(setup, 0, clean, "fault-free run"))
        return counts;
    EXPECT_EQ(GS::LiveMemoryHandleCount(), handles) << "the fault-free run leaked";
    EXPECT_TRUE(clean.before != clean.after || !setup.doneTexts.empty())
        << "the fault-free run changed nothing; the sweep would prove nothing";

    for (Int64 n = 1; n <= setup.limit; ++n) {
        const Int64 before = GS::LiveMemoryHandleCount();
        Detail::Run run;
        const std::string label = "call " + std::to_string(n) + " failing";
        if (!Detail::Play(setup, n, run, label))
            return counts;
        EXPECT_EQ(GS::LiveMemoryHandleCount(), before) << label << ": leaked";
        if (!run.failed)
            return counts;
        ++counts.runs;
        const bool told = !run.alerts.empty();
        std::string alerts;
        for (const std::string& a : run.alerts)
            alerts += "  alert: " + a + "\n";
        if (run.after == clean.after) {
            ++counts.asFaultFree;
            continue;
        }
        if (Detail::ShowsDone(run.alerts, 0, setup.doneTexts)) {
            ++counts.broken;
            ADD_FAILURE() << label << ": the model differs from the fault-free run, yet the done message shows\n"
                          << alerts << FirstDifference(clean.after, run.after);
            continue;
        }
        // A command that could not do all of it says so once, at its end.
        if (run.alerts.size() > 1) {
            ++counts.broken;
            ADD_FAILURE() << label << ": the user was told " << run.alerts.size() << " times\n" << alerts;
            continue;
        }
        if (run.after == run.before) {
            ++(told ? counts.backTold : counts.backSilent);
            continue;
        }
        if (told) {
            ++counts.otherTold;
            continue;
        }
        ++counts.broken;
        ADD_FAILURE() << label << ": the model is neither the fault-free result nor as it was, and the user was "
                      << "told nothing\n  against the fault-free run:\n"
                      << FirstDifference(clean.after, run.after) << "  against the model before:\n"
                      << FirstDifference(run.before, run.after);
    }
    ADD_FAILURE() << "the command makes more than " << setup.limit << " host calls";
    return counts;
}

// Plays the sweep with the invariant (fault-free result, or the model as
// before, or a message; never the done message over another result) and
// prints its counts for the sweep report, one line per command.
inline Counts SweepChecked(const char* what, const SweepSetup& setup)
{
    const Counts counts = SweepWithInvariant(setup);
    EXPECT_GT(counts.runs, 0) << what << ": no call failed";
    EXPECT_EQ(counts.broken, 0) << what;
    std::printf("[sweep] %s: %s\n", what, counts.Text().c_str());
    std::fflush(stdout);
    std::string key = "sweep";
    for (const char* c = what; *c != 0; ++c)
        key += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    ::testing::Test::RecordProperty(key, counts.Text());
    return counts;
}

inline Counts SweepChecked(const char* what, std::function<void(SimHost::Host&)> prepare,
                           std::function<void(SimHost::Host&)> command, Int64 limit,
                           std::vector<std::string> doneTexts = {})
{
    SweepSetup setup;
    setup.prepare = std::move(prepare);
    setup.command = std::move(command);
    setup.limit = limit;
    setup.doneTexts = std::move(doneTexts);
    return SweepChecked(what, setup);
}

}  // namespace SweepInvariant
