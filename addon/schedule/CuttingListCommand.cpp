#include "addon/schedule/CuttingListCommand.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/Owners.hpp"
#include "addon/schedule/PlacementManager.hpp"
#include "addon/schedule/ReadReinforcement.hpp"
#include "addon/schedule/WriteResults.hpp"
#include "addon/services/CommandTrace.hpp"
#include "addon/services/ResStrings.hpp"

namespace {
constexpr Int16 OptimizationPhases = 10;
}  // namespace

bool RunCuttingListOptimization(Int32 mode)
{
    TraceCommand("RunCuttingListOptimization", mode);
    RunGroups run;
    PlacementManager manager;
    // Closed once on every path: by a pass the user cancelled, by the
    // writing, or when the run ends.
    ProgressWindowOwner progress(GetResString(ResStr::Texts::Optimization), OptimizationPhases);
    manager.progress = &progress;

    API_Guid listGuid = APINULLGuid;
    ReadOptions reading;
    reading.mode = static_cast<ReadMode>(mode);
    reading.readComplex = true;
    const bool passed = ReadReinforcementObjects(manager, run, reading, nullptr, &listGuid) &&
                        MakeIdsUnique(manager, run.groups) && SortGroupsById(manager, run.groups) &&
                        CompressGroups(manager, run.groups) && SortGroupsById(manager, run.groups) &&
                        MakeComplexIdsUnique(manager, run.complexGroups) &&
                        SortComplexGroupsById(manager, run.complexGroups) &&
                        CompressComplexGroups(manager, run.complexGroups) &&
                        SortComplexGroupsById(manager, run.complexGroups);
    manager.listGuid = listGuid;
    if (!passed) {
        manager.outcome.Tell();
        return false;
    }
    // Success is reported only when the host ran the step that wrote the
    // results whole and the list was filled in place: a bar schedule is
    // what steel is ordered from. A step that failed was taken back, and
    // the user is told so once.
    const bool written = WriteResultsUndoable(manager, run.groups, &run.complexGroups, nullptr);
    if (!manager.outcome.Tell() || !written || manager.listAborted)
        return false;
    HostReport(GetResString(ResStr::Messages::OptimizationFinished), true);
    return true;
}
