// The Cutting List's reading and its full chain of passes over placed bars
// in the stand-in host: fresh bars without IDs, of 200 kinds, on a visible
// layer of one story. Prints the add-on's own time (the host's time inside
// its calls taken out), the host calls per object, the peak memory per
// object, and how many times faster the add-on is than the plain algorithms
// of the tests on 2,000 bars.
//
//   reading_bench [--no-reference] [sizes...]     default 1000 10000 100000
#include "addon/host/HostBinding.hpp"
#include "bench/BenchSupport.hpp"
#include "bench/HostLogs.hpp"
#include "addon/schedule/ReadReinforcement.hpp"
#include "simhost/core/SimHost.hpp"
#include "bench/BenchBars.hpp"
#include "tests/unit/schedule/LiteralPasses.hpp"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>



namespace {

using Bench::HostWithBars;

struct Result {
    double ownSeconds = 0;
    double hostSeconds = 0;
    double callsPerObject = 0;
    double peakBytesPerObject = 0;
    int groups = 0;
    double literalSeconds = 0;
};

Result Run(int count, bool literal)
{
    std::unique_ptr<SimHost::Host> host = HostWithBars(count);
    HostBinding::ReceiveTable(host->Table());
    HostBinding::SetToken(host->session.AttachLinkedAddOn());
    Result result;
    {
        const Bench::ReservedHostLogs logs(*host, Bench::HostLogEntriesPerObject * static_cast<size_t>(count));
        const size_t base = Bench::CurrentBytes();
        Bench::StartPeak();
        host->recorder.hostCallNanoseconds = 0;
        host->recorder.hostCallCount = 0;
        const auto start = Bench::Clock::now();
        RunGroups run;
        bool done;
        {
            ProgressWindowOwner window("Optimization", 10);
            PlacementManager manager;
            manager.progress = &window;
            API_Guid list = APINULLGuid;
            ReadOptions reading;  // as the Cutting List reads
            reading.readComplex = true;
            done = ReadReinforcementObjects(manager, run, reading, nullptr, &list) &&
                   MakeIdsUnique(manager, run.groups) && SortGroupsById(manager, run.groups) &&
                   CompressGroups(manager, run.groups) && SortGroupsById(manager, run.groups) &&
                   MakeComplexIdsUnique(manager, run.complexGroups) &&
                   SortComplexGroupsById(manager, run.complexGroups) &&
                   CompressComplexGroups(manager, run.complexGroups) &&
                   SortComplexGroupsById(manager, run.complexGroups);
        }
        const double total = Bench::Seconds(start);
        if (!done)
            std::printf("the chain stopped\n");
        result.hostSeconds = static_cast<double>(host->recorder.hostCallNanoseconds) * 1e-9;
        result.ownSeconds = total - result.hostSeconds;
        result.callsPerObject = static_cast<double>(host->recorder.hostCallCount) / count;
        result.peakBytesPerObject = static_cast<double>(Bench::PeakBytes() - base) / count;
        result.groups = run.groups.GetItemCount();

        if (literal) {
            // The plain algorithms on the same records as read.
            std::vector<IronProperties> records;
            for (const IronArrayByProperty* g : run.groups)
                for (const IronProperties* m : g->members)
                    records.push_back(*m);
            const auto from = Bench::Clock::now();
            RunGroups plain;
            for (const IronProperties& r : records)
                Literal::Join(plain, std::make_unique<IronProperties>(r), "", false);
            Literal::RunPassChain(plain);
            result.literalSeconds = Bench::Seconds(from);
        }
    }
    HostBinding::Reset();
    host->session.DetachLinkedAddOn();
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    bool reference = true;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--no-reference")
            reference = false;
        else
            sizes.push_back(std::atoi(argv[i]));
    }
    if (sizes.empty())
        sizes = {1000, 10000, 100000};

    std::printf("%10s %8s %14s %14s %14s %14s\n", "bars", "groups", "add-on s", "host s", "calls/object",
                "peak B/object");
    double previous = 0;
    int previousSize = 0;
    for (int size : sizes) {
        const Result r = Run(size, false);
        std::printf("%10d %8d %14.4f %14.4f %14.2f %14.1f", size, r.groups, r.ownSeconds, r.hostSeconds,
                    r.callsPerObject, r.peakBytesPerObject);
        if (previousSize > 0)
            std::printf("   x%.1f against %d", r.ownSeconds / previous, previousSize);
        std::printf("\n");
        previous = r.ownSeconds;
        previousSize = size;
    }

    if (!reference)
        return 0;
    const int referenceSize = 2000;
    const Result r = Run(referenceSize, true);
    std::printf("\n%d bars: the add-on's own time %.5f s (reading and passes); the plain algorithms' passes %.3f s; "
                "%.0f times faster\n",
                referenceSize, r.ownSeconds, r.literalSeconds, r.literalSeconds / r.ownSeconds);
    return 0;
}
