// The update of linked reinforcement when its element moves: a wall, a
// slab and a roof of ten planes, each carrying the given number of linked
// objects, are moved and their objects brought along, as the element
// notification does. For each it prints the add-on's own time per object
// (the host's time inside its calls taken out; the wall-geometry library's
// work for the wall's faces is the add-on's), the host calls per object and
// the peak memory per object.
//
// The roof's objects come ten at a time, one per plane, as ten layer
// settings place them; the update keeps the first object of each plane and
// deletes the rest.
//
//   update_bench [sizes...]     default 100 1000
#include "addon/host/HostBinding.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostQueries.hpp"
#include "addon/host/Owners.hpp"
#include "addon/walls/HostReinforcement.hpp"
#include "addon/walls/SidePicking.hpp"
#include "addon/walls/UpdateReinforcement.hpp"
#include "bench/BenchSupport.hpp"
#include "bench/HostLogs.hpp"
#include "simhost/core/SimHost.hpp"
#include "simhost/core/UndoHistory.hpp"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "tests/support/Shapes.hpp"

namespace {

using TestShapes::Rectangle;

// Places `layers` layers of a mesh on the element, as the command does.
void Place(SimHost::Host& host, const API_Guid& element, const API_Sector& sector, int layers)
{
    SimHost::Element& seed = host.PlaceObject("rf_mesh", {});
    const API_Guid seedGuid = seed.guid;
    API_Element objectTemplate;
    ReadElement(seedGuid, objectTemplate);
    {
        MemoOwner memo;
        HostGetMemo(seedGuid, &memo.Get(), APIMemoMask_AddPars);
        SimHost::NotificationScope scope(host.undo);
        for (int i = 0; i < layers; ++i)
            GenerateHostReinforcement(element, objectTemplate, memo->params, sector);
    }
    host.model.Remove(seedGuid);
}

struct Figures {
    double own = 0;
    double calls = 0;
    double peak = 0;
};

Figures Measure(SimHost::Host& host, const API_Guid& element, int objects)
{
    Figures f;
    const Bench::ReservedHostLogs logs(host, Bench::HostLogEntriesPerObject * static_cast<size_t>(objects));
    const size_t base = Bench::CurrentBytes();
    Bench::StartPeak();
    host.recorder.hostCallNanoseconds = 0;
    host.recorder.hostCallCount = 0;
    const auto start = Bench::Clock::now();
    {
        SimHost::NotificationScope scope(host.undo);
        UpdateLinkedReinforcement(element);
    }
    const double total = Bench::Seconds(start);
    f.own = (total - static_cast<double>(host.recorder.hostCallNanoseconds) * 1e-9) / objects;
    f.calls = static_cast<double>(host.recorder.hostCallCount) / objects;
    f.peak = static_cast<double>(Bench::PeakBytes() - base) / objects;
    return f;
}

void Print(const char* element, int size, const Figures& f)
{
    std::printf("%10d %-6s %14.2f %14.2f %14.1f\n", size, element, f.own * 1e6, f.calls, f.peak);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<int> sizes = Bench::Sizes(argc, argv, {100, 1000});

    std::printf("%10s %-6s %14s %14s %14s\n", "objects", "host", "add-on us/obj", "calls/object", "peak B/object");
    for (int size : sizes) {
        SimHost::Host host;
        std::string error;
        if (!host.libraries.Activate(IO::Location(std::string(LIBRARY_DIR) + "/Zolva_Reinforcement.lcf"), error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 2;
        }
        HostBinding::ReceiveTable(host.Table());
        HostBinding::SetToken(host.session.AttachLinkedAddOn());

        SimHost::Element& wall = host.model.Add(API_WallID);
        wall.As<SimHost::WallPart>()->record.endC = {6, 0};
        const API_Guid wallGuid = wall.guid;
        API_Element record;
        ReadElement(wallGuid, record);
        const WallSideCornersType sides = ReadWallSides(wallGuid, record.wall);
        Place(host, wallGuid, DirectedWallSide(sides, record.wall.begC, record.wall.endC, true), size / 2);
        Place(host, wallGuid, DirectedWallSide(sides, record.wall.begC, record.wall.endC, false), size - size / 2);

        SimHost::Element& slab = host.model.Add(API_SlabID);
        SimHost::SlabPart slabPart;
        slabPart.outline = Rectangle(0, 10, 8, 16);
        slab.part = slabPart;
        const API_Guid slabGuid = slab.guid;
        Place(host, slabGuid, API_Sector{{0, 10}, {8, 10}}, size);

        SimHost::Element& roof = host.model.Add(API_RoofID);
        roof.part = TestShapes::RoofOfPlanes(10, 0.5, 20);
        const API_Guid roofGuid = roof.guid;
        Place(host, roofGuid, API_Sector{}, size / 10);

        // The user moves all three.
        SimHost::WallPart& w = *host.model.Find(wallGuid)->As<SimHost::WallPart>();
        w.record.begC = {1, 1};
        w.record.endC = {7, 1};
        host.model.Find(slabGuid)->As<SimHost::SlabPart>()->outline = Rectangle(1, 11, 9, 17);
        for (auto& plane : host.model.Find(roofGuid)->As<SimHost::RoofPart>()->planes) {
            for (auto& c : plane.outline.contour)
                c.x += 1;
            plane.pivotBegin.x += 1;
            plane.pivotEnd.x += 1;
        }
        Print("wall", size, Measure(host, wallGuid, size));
        Print("slab", size, Measure(host, slabGuid, size));
        Print("roof", size, Measure(host, roofGuid, size));

        HostBinding::Reset();
        host.session.DetachLinkedAddOn();
    }
    return 0;
}
