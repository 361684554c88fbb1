// The worst common run of the cutting list: a first list over a building
// whose bars carry no IDs yet, so that every bar starts a group of its own
// before the groups of equal bars are merged. Runs the grouping of the
// reading and the passes of the Cutting List chain, in their order, over
// fresh bars of 200 kinds built as records, with a progress window, and the
// plain algorithms over a smaller set for comparison. Prints the time and
// the peak memory per record.
//
//   schedule_bench [--no-reference] [sizes...]     default: 1000 10000 100000
#include "addon/host/HostBinding.hpp"
#include "bench/BenchSupport.hpp"
#include "addon/schedule/PlacementManager.hpp"
#include "tests/unit/schedule/LiteralPasses.hpp"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>



namespace {

// The host's progress window, answering at once and never cancelled.
GSErrCode ProgressRequests(HostToken, API_RequestCode, void*, void*, void*) { return NoError; }

constexpr int Kinds = 200;

// Fresh bars without IDs: `count` records of 200 kinds in a random order.
std::vector<IronProperties> FreshBars(int count)
{
    std::mt19937 random(12345);
    std::vector<IronProperties> bars;
    bars.reserve(static_cast<size_t>(count));
    for (int n = 1; n <= count; ++n) {
        const int kind = std::uniform_int_distribution<int>(0, Kinds - 1)(random);
        IronProperties p;
        p.guid.time_low = static_cast<UInt32>(n);
        p.isBar = true;
        p.isListing = true;
        const double form[] = {0, 1, 3, 0};
        const double data[] = {8.0 + 2 * (kind % 10), 1.0 + kind / 10, 1};
        const double extra[] = {0.5};
        p.ironType.AppendRow(form, 4);
        p.ironData.AppendRow(data, 3);
        p.ironExtraData.AppendRow(extra, 1);
        p.listingColumns.Resize(1);
        p.listingColumns.At(0, 0) = 1;
        p.listingColumns.At(0, 3) = data[1];
        p.quality = "B500B";
        bars.push_back(p);
    }
    return bars;
}

struct Result {
    std::vector<double> phases;  // seconds at the end of the grouping and of each individual pass
    double seconds = 0;
    size_t peakBytes = 0;
    int groups = 0;
};

// The grouping and the chain of the Cutting List, as the add-on runs them.
Result RunChain(const std::vector<IronProperties>& bars)
{
    const size_t base = Bench::CurrentBytes();
    Bench::StartPeak();
    const auto start = Bench::Clock::now();
    Result result;
    {
        ProgressWindowOwner window("Optimization", 10);
        PlacementManager manager;
        manager.progress = &window;
        RunGroups run;
        {
            IronGroupJoiner joiner(run, false);
            for (const IronProperties& bar : bars)
                joiner.Join(std::make_unique<IronProperties>(bar), "");
        }
        result.phases.push_back(Bench::Seconds(start));
        bool done = true;
        for (bool (*pass)(PlacementManager&, IronGroups&) : {&MakeIdsUnique, &SortGroupsById, &CompressGroups, &SortGroupsById}) {
            done = done && pass(manager, run.groups);
            result.phases.push_back(Bench::Seconds(start));
        }
        for (bool (*pass)(PlacementManager&, ComplexIronGroups&) :
             {&MakeComplexIdsUnique, &SortComplexGroupsById, &CompressComplexGroups, &SortComplexGroupsById})
            done = done && pass(manager, run.complexGroups);
        if (!done)
            std::printf("the chain stopped\n");
        result.groups = run.groups.GetItemCount();
        result.seconds = std::chrono::duration<double>(Bench::Clock::now() - start).count();
    }
    result.peakBytes = Bench::PeakBytes() - base;
    return result;
}

// The same with the plain algorithms, silent.
Result RunLiteral(const std::vector<IronProperties>& bars)
{
    const auto start = Bench::Clock::now();
    Result result;
    RunGroups run;
    for (const IronProperties& bar : bars)
        Literal::Join(run, std::make_unique<IronProperties>(bar), "", false);
    Literal::RunPassChain(run);
    result.groups = run.groups.GetItemCount();
    result.seconds = std::chrono::duration<double>(Bench::Clock::now() - start).count();
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<void*> table(HostFunctionCount, nullptr);
    table[static_cast<UInt32>(HostSlot::Interface)] =
        reinterpret_cast<void*>(static_cast<HostSlotFn<HostSlot::Interface>>(&ProgressRequests));
    HostBinding::ReceiveTable(table.data());

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

    std::printf("%10s %8s %12s %16s %14s\n", "records", "groups", "seconds", "us per record", "peak B/record");
    double previous = 0;
    int previousSize = 0;
    for (int size : sizes) {
        const std::vector<IronProperties> bars = FreshBars(size);
        const Result r = RunChain(bars);
        std::printf("%10d %8d %12.4f %16.3f %14.1f", size, r.groups, r.seconds, 1e6 * r.seconds / size,
                    static_cast<double>(r.peakBytes) / size);
        if (previousSize > 0)
            std::printf("   x%.1f against %d", r.seconds / previous, previousSize);
        std::printf("\n           grouping %.4f s, IDs %.4f s, sort %.4f s, compress %.4f s, sort %.4f s\n", r.phases[0],
                    r.phases[1] - r.phases[0], r.phases[2] - r.phases[1], r.phases[3] - r.phases[2], r.phases[4] - r.phases[3]);
        previous = r.seconds;
        previousSize = size;
    }

    if (!reference)
        return 0;
    const int referenceSize = 2000;
    const std::vector<IronProperties> bars = FreshBars(referenceSize);
    const Result fast = RunChain(bars);
    const Result literal = RunLiteral(bars);
    std::printf("\nplain algorithms on %d records: %.3f s (%d groups); the add-on's: %.5f s (%d groups); %.0f times faster\n",
                referenceSize, literal.seconds, literal.groups, fast.seconds, fast.groups, literal.seconds / fast.seconds);
    HostBinding::Reset();
    return fast.groups == literal.groups ? 0 : 1;
}
