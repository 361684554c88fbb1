// A wall with many windows: a 31 m wall with N windows gets two layers, one
// on each side, through the Wall command of the add-on loaded into the
// stand-in host; then the user moves the wall and the add-on brings both
// objects along inside the host's notification. For each N it prints, for
// the placing and for the move, the whole time, the add-on's own time (the
// host's time inside its calls taken out; the wall-geometry library's work
// counts as the add-on's), the host calls per object and the peak memory;
// and the whole time per window, which stays flat when the cost grows with
// the windows and not with their square.
//
//   wall_windows_bench [window counts...]     default 10 20 40 80
#include "simhost/core/SimHost.hpp"
#include "simhost/ui/ScriptedUser.hpp"
#include "simhost/model/ElementEdit.hpp"
#include "bench/BenchSupport.hpp"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr USize WallEntry = 4;
constexpr double WallLength = 31.0;

SimHost::SettingsDialogAnswer Layer()
{
    SimHost::SettingsDialogAnswer a;
    a.part = "rf_mesh";
    SimHost::GdlParam p;
    p.name = "iPosition";
    p.kind = SimHost::GdlParam::Kind::Number;
    p.number = 2;
    a.params = {p};
    return a;
}

SimHost::PointAnswer Click(double x, double y)
{
    SimHost::PointAnswer a;
    a.click = {x, y, 0};
    return a;
}

struct Figures {
    double seconds = 0, ownSeconds = 0, calls = 0, peakBytes = 0;
};

// Runs `step` and measures it; `objects` is what the calls are counted per.
template <typename Step> Figures Measure(SimHost::Host& host, double objects, Step step)
{
    const size_t base = Bench::CurrentBytes();
    Bench::StartPeak();
    host.recorder.hostCallNanoseconds = 0;
    host.recorder.hostCallCount = 0;
    const Bench::Clock::time_point start = Bench::Clock::now();
    step();
    Figures f;
    f.seconds = Bench::Seconds(start);
    f.ownSeconds = f.seconds - static_cast<double>(host.recorder.hostCallNanoseconds) * 1e-9;
    f.calls = static_cast<double>(host.recorder.hostCallCount) / objects;
    f.peakBytes = static_cast<double>(Bench::PeakBytes() - base);
    return f;
}

void Print(const char* phase, int windows, const Figures& f)
{
    std::printf("%-6s %8d %10.3f %10.4f %10.2f %12.0f %12.2f\n", phase, windows, f.seconds, f.ownSeconds, f.calls,
                f.peakBytes / 1024.0, f.seconds * 1e3 / windows);
}

bool Run(int windows)
{
    SimHost::Host host;
    std::string error;
    if (!host.session.LoadAddOn(ADDON_PATH, error) || !host.session.StartAddOn()) {
        std::fprintf(stderr, "wall_windows_bench: cannot start the add-on: %s\n", error.c_str());
        return false;
    }
    host.user.RunMenuCommand(32510, 1);

    SimHost::Element& e = host.model.Add(API_WallID);
    SimHost::WallPart& wall = *e.As<SimHost::WallPart>();
    wall.record.begC = {0, 0};
    wall.record.endC = {WallLength, 0};
    wall.record.referenceLineLocation = 4;
    wall.record.offsetFromOutside = 0.15;
    // Evenly spaced windows, each half as wide as its share of the wall
    // (at most 1 m).
    const double pitch = WallLength / (windows + 1);
    const double width = std::min(1.0, pitch / 2);
    for (int i = 1; i <= windows; ++i)
        wall.openings.push_back({i * pitch - width / 2, 0.9, width, 1.2});
    const API_Guid guid = e.guid;

    host.user.ChangeSelection({guid});
    host.user.settingsDialogs.push_back(Layer());
    host.user.settingsDialogs.push_back(Layer());
    // Both clicks just off the wall's ends of a window-free stretch.
    host.user.pointInputs.Give(Click(pitch / 4, 0.1));
    host.user.pointInputs.Give(Click(pitch / 4, -0.1));
    host.user.alertButtons = {2, 1};

    const Figures placed = Measure(host, 2, [&] { host.user.ClickPaletteEntry(WallEntry); });
    size_t objects = 0;
    for (const SimHost::Element& x : host.model.Elements())
        if (x.As<SimHost::ObjectPart>() != nullptr)
            ++objects;

    SimHost::ElementEdit move;
    move.move = API_Coord{1.5, 2.0};
    std::string why;
    bool moved = false;
    const Figures update = Measure(host, 2, [&] {
        moved = host.user.ChangeElements(
            move.ActionName(), APINotifyElement_Edit, {guid},
            [&](SimHost::Element& x, std::string& reason) { return SimHost::ApplyEdit(move, host.model, x, reason); },
            why);
    });

    bool sound = true;
    if (objects != 2 || !moved) {
        std::fprintf(stderr, "wall_windows_bench: %zu objects placed, moved: %s %s\n", objects, moved ? "yes" : "no",
                     why.c_str());
        sound = false;
    }
    if (!host.recorder.faults.empty()) {
        std::fprintf(stderr, "wall_windows_bench: the add-on misbehaved: %s\n", host.recorder.faults.front().what.c_str());
        sound = false;
    }
    Print("place", windows, placed);
    Print("move", windows, update);
    host.session.UnloadAddOn(true);
    return sound;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<int> sizes = Bench::Sizes(argc, argv, {10, 20, 40, 80});
    std::printf("%-6s %8s %10s %10s %10s %12s %12s\n", "phase", "windows", "total s", "add-on s", "calls/obj",
                "peak KiB", "ms/window");
    bool sound = true;
    for (int n : sizes)
        if (n > 0)
            sound = Run(n) && sound;
    return sound ? 0 : 1;
}
