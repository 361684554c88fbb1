// The Slab, Wall and Roof commands over many elements: two layers placed
// into N walls, N slabs and N / 10 roofs of ten planes, each element type in
// one command through the palette of the add-on loaded into the stand-in
// host, with every pick played. Prints per created object the add-on's own
// time (the host's time inside its calls taken out; the wall-geometry
// library counts as the add-on's), the host calls and the peak memory, for
// each size given, so that the cost per object can be compared across
// sizes.
//
//   placing_bench [sizes...]     default 100 1000
#include "simhost/core/SimHost.hpp"
#include "simhost/ui/ScriptedUser.hpp"
#include "bench/BenchSupport.hpp"
#include "bench/HostLogs.hpp"
#include <optional>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "tests/support/GdlParams.hpp"
#include "tests/support/Shapes.hpp"

namespace {

using TestParams::Number;

enum Entry : USize { Slab = 3, Wall = 4, Roof = 5 };

SimHost::SettingsDialogAnswer Layer(double position)
{
    SimHost::SettingsDialogAnswer a;
    a.part = "rf_mesh";
    a.params = {Number("iPosition", position)};
    return a;
}

using TestShapes::Rectangle;

SimHost::PointAnswer Click(double x, double y)
{
    SimHost::PointAnswer a;
    a.click = {x, y, 0};
    return a;
}

struct Figures {
    double ownMicroseconds = 0, calls = 0, peakBytes = 0;
    size_t objects = 0;
};

// Adds `count` elements of the kind, selects them, scripts two layers and
// their picks, and measures the command.
Figures Run(USize entry, int count)
{
    SimHost::Host host;
    std::string error;
    if (!host.session.LoadAddOn(ADDON_PATH, error) || !host.session.StartAddOn()) {
        std::fprintf(stderr, "placing_bench: cannot start the add-on: %s\n", error.c_str());
        std::exit(1);
    }
    host.user.RunMenuCommand(32510, 1);
    std::vector<API_Guid> elements;
    for (int i = 0; i < count; ++i) {
        const double y = 10.0 * i;
        if (entry == Wall) {
            SimHost::Element& e = host.model.Add(API_WallID);
            SimHost::WallPart* w = e.As<SimHost::WallPart>();
            w->record.begC = {0, y};
            w->record.endC = {6, y};
            w->record.referenceLineLocation = 4;
            w->record.offsetFromOutside = 0.15;
            elements.push_back(e.guid);
        } else if (entry == Slab) {
            SimHost::Element& e = host.model.Add(API_SlabID);
            SimHost::SlabPart slab;
            slab.outline = Rectangle(0, y, 8, y + 6);
            slab.outline.holes.push_back({{3, y + 2}, {5, y + 2}, {5, y + 4}, {3, y + 4}});
            e.part = slab;
            elements.push_back(e.guid);
        } else {
            SimHost::Element& e = host.model.Add(API_RoofID);
            e.part = TestShapes::RoofOfPlanes(10, 0.5, y);
            elements.push_back(e.guid);
        }
    }
    host.user.ChangeSelection(elements);
    const double position = entry == Wall ? 2 : entry == Slab ? 1 : 0;
    host.user.settingsDialogs.push_back(Layer(position));
    host.user.settingsDialogs.push_back(Layer(position));
    if (entry != Roof)
        for (int layer = 0; layer < 2; ++layer)
            for (int i = 0; i < count; ++i)
                host.user.pointInputs.Give(Click(3, 10.0 * i + (layer == 0 ? 0.1 : -0.1)));
    host.user.alertButtons = {2, 1};

    // Each element gets two layers of objects.
    std::optional<Bench::ReservedHostLogs> logs;
    logs.emplace(host, Bench::HostLogEntriesPerObject * 2 * static_cast<size_t>(count) * (entry == Roof ? 10 : 1));
    const size_t base = Bench::CurrentBytes();
    Bench::StartPeak();
    host.recorder.hostCallNanoseconds = 0;
    host.recorder.hostCallCount = 0;
    const Bench::Clock::time_point start = Bench::Clock::now();
    host.user.ClickPaletteEntry(entry);
    const double total = Bench::Seconds(start);
    logs.reset();

    Figures f;
    for (const SimHost::Element& e : host.model.Elements())
        if (e.As<SimHost::ObjectPart>() != nullptr)
            ++f.objects;
    const double objects = f.objects > 0 ? static_cast<double>(f.objects) : 1.0;
    f.ownMicroseconds = (total - static_cast<double>(host.recorder.hostCallNanoseconds) * 1e-9) * 1e6 / objects;
    f.calls = static_cast<double>(host.recorder.hostCallCount) / objects;
    f.peakBytes = static_cast<double>(Bench::PeakBytes() - base) / objects;
    if (!host.recorder.faults.empty())
        std::fprintf(stderr, "placing_bench: the add-on misbehaved: %s\n", host.recorder.faults.front().what.c_str());
    host.session.UnloadAddOn(true);
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<int> sizes = Bench::Sizes(argc, argv, {100, 1000});
    std::printf("%-6s %8s %9s %14s %12s %14s\n", "kind", "elements", "objects", "own us/object", "calls/object",
                "peak B/object");
    for (int n : sizes) {
        struct Kind {
            const char* name;
            USize entry;
            int count;
        };
        for (const Kind& k : {Kind{"wall", Wall, n}, Kind{"slab", Slab, n}, Kind{"roof", Roof, n / 10}}) {
            if (k.count < 1)
                continue;
            const Figures f = Run(k.entry, k.count);
            std::printf("%-6s %8d %9zu %14.2f %12.2f %14.0f\n", k.name, k.count, f.objects, f.ownMicroseconds, f.calls,
                        f.peakBytes);
        }
    }
    return 0;
}
