// The whole Cutting List over bars placed in the stand-in host: fresh bars
// without IDs, of 200 kinds, with a cutting-list object among them, read,
// optimised and written back; then a second run over the same bars, which
// now carry their IDs. For reading, the passes and the writing apart, and
// for the whole run, prints the add-on's own time (the host's time inside
// its calls taken out), the host calls per object and the peak memory per
// object.
//
//   cutting_list_bench [sizes...]     default 10000 100000
#include "addon/host/HostBinding.hpp"
#include "addon/schedule/ReadReinforcement.hpp"
#include "addon/schedule/WriteResults.hpp"
#include "simhost/core/SimHost.hpp"
#include "bench/BenchBars.hpp"
#include "bench/BenchSupport.hpp"
#include "bench/HostLogs.hpp"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>


namespace {


// A host with `count` placed bars of 200 kinds in a random order and one
// cutting list.
std::unique_ptr<SimHost::Host> HostWithBars(int count)
{
    auto host = Bench::HostWithBars(count);
    host->PlaceObject("rf_list", {});
    return host;
}

// More host calls than the Cutting List makes per object (20 at most).
constexpr size_t LogEntriesPerObject = 32;

// One stage of a run: its own time, the host's and the calls, the peak.
class Stage {
public:
    Stage(SimHost::Host& h, int objects)
        : host(h), logs(h, LogEntriesPerObject * static_cast<size_t>(objects)), base(Bench::CurrentBytes())
    {
        Bench::StartPeak();
        host.recorder.hostCallNanoseconds = 0;
        host.recorder.hostCallCount = 0;
        start = std::chrono::steady_clock::now();
    }
    void End(double& own, double& calls, double& peak, int objects)
    {
        const double total = Bench::Seconds(start);
        const double hostSeconds = static_cast<double>(host.recorder.hostCallNanoseconds) * 1e-9;
        own += total - hostSeconds;
        calls += static_cast<double>(host.recorder.hostCallCount) / objects;
        peak = std::max(peak, static_cast<double>(Bench::PeakBytes() - base) / objects);
    }

private:
    SimHost::Host& host;
    Bench::ReservedHostLogs logs;  // made before the base is taken
    size_t base;
    std::chrono::steady_clock::time_point start;
};

struct Figures {
    double own[3] = {};  // reading, passes, writing
    double calls[3] = {};
    double peak[3] = {};
    int groups = 0;
    bool done = false;
    bool written = false;
};

Figures Run(SimHost::Host& host, int objects)
{
    Figures f;
    RunGroups run;
    ProgressWindowOwner window("Optimization", 10);
    PlacementManager manager;
    manager.progress = &window;
    API_Guid list = APINULLGuid;
    ReadOptions reading;  // as the Cutting List reads
    reading.readComplex = true;
    {
        Stage s(host, objects);
        f.done = ReadReinforcementObjects(manager, run, reading, nullptr, &list);
        s.End(f.own[0], f.calls[0], f.peak[0], objects);
    }
    {
        Stage s(host, objects);
        f.done = f.done && MakeIdsUnique(manager, run.groups) && SortGroupsById(manager, run.groups) &&
                 CompressGroups(manager, run.groups) && SortGroupsById(manager, run.groups) &&
                 MakeComplexIdsUnique(manager, run.complexGroups) &&
                 SortComplexGroupsById(manager, run.complexGroups) &&
                 CompressComplexGroups(manager, run.complexGroups) && SortComplexGroupsById(manager, run.complexGroups);
        s.End(f.own[1], f.calls[1], f.peak[1], objects);
    }
    manager.listGuid = list;
    if (f.done) {
        // The body of the undoable step, as the host runs it: inside the
        // host's scope for changes (outside it every change is refused and
        // nothing is written), without the host's copy of the model for
        // undo, which is no part of the add-on's work.
        SimHost::NotificationScope changes(host.undo);
        Stage s(host, objects);
        f.written = WriteResults(manager, run.groups, &run.complexGroups, nullptr) == NoError;
        s.End(f.own[2], f.calls[2], f.peak[2], objects);
    }
    f.groups = run.groups.GetItemCount();
    return f;
}

void Print(const char* title, int size, const Figures& f)
{
    const char* stages[] = {"reading", "passes", "writing"};
    double own = 0;
    double calls = 0;
    double peak = 0;
    for (int i = 0; i < 3; ++i) {
        std::printf("%10d %-7s %-8s %12.4f %14.2f %14.1f\n", size, title, stages[i], f.own[i], f.calls[i], f.peak[i]);
        own += f.own[i];
        calls += f.calls[i];
        peak = std::max(peak, f.peak[i]);
    }
    std::printf("%10d %-7s %-8s %12.4f %14.2f %14.1f   (%d groups%s)\n", size, title, "whole", own, calls, peak, f.groups,
                !f.done ? ", the chain stopped" : !f.written ? ", the writing failed" : "");
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<int> sizes = Bench::Sizes(argc, argv, {10000, 100000});

    std::printf("%10s %-7s %-8s %12s %14s %14s\n", "bars", "run", "stage", "add-on s", "calls/object", "peak B/object");
    for (int size : sizes) {
        const Bench::Clock::time_point setup = Bench::Clock::now();
        std::unique_ptr<SimHost::Host> host = HostWithBars(size);
        std::printf("%10d model of the bars made by the host in %.4f s\n", size, Bench::Seconds(setup));
        HostBinding::ReceiveTable(host->Table());
        HostBinding::SetToken(host->session.AttachLinkedAddOn());
        Print("first", size, Run(*host, size + 1));
        Print("second", size, Run(*host, size + 1));
        HostBinding::Reset();
        host->session.DetachLinkedAddOn();
    }
    return 0;
}
