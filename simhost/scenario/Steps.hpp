// The steps of a scenario. A step is parsed (and so fully checked) before
// anything runs; parsing gives the action to play. Each action is one named
// parser; the parsers live by domain: HostSteps.cpp (the host's set-up and
// faults), ModelSteps.cpp (libraries, layers, elements, selection),
// UserSteps.cpp (menus, the palette, the answers to dialogs and point
// input), UndoSteps.cpp (undo), WallSteps.cpp (walls, composites, the
// location offset), PreferenceSteps.cpp (the stored preferences),
// PlacingSteps.cpp (slabs, roofs, the object settings dialog),
// ChangeSteps.cpp (the user's changes and deletions) and Expect.cpp (the
// expect step).
#pragma once
#include "simhost/core/SimHost.hpp"
#include "simhost/ui/ScriptedUser.hpp"
#include "simhost/scenario/Json.hpp"
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace SimHost {

// An expectation that did not hold: where, and what differed.
struct ExpectationFailure {
    std::string step;  // "step 4", "setup step 1"
    int line = 0;
    std::string what;
};

// What steps share while a scenario runs.
struct RunContext {
    // The names given to elements, used by later steps.
    std::map<std::string, API_Guid> names;
    // The add-on file to load (set-up steps may run a copy of it).
    std::string addOn;
    // Where the files the user chooses in file dialogs lie; absolute.
    std::string outDir;
    // The step being played, as messages name it.
    std::string step;

    // The tooltip the last hover showed; none when the hover was not delivered.
    bool toolTipShown = false;
    std::string toolTip;

    // Event-like expectations compare what happened since the previous
    // expectation of the same kind: how far each kind has looked.
    struct Seen {
        USize alerts = 0;
        USize commands = 0;
        USize calls = 0;
        USize requests = 0;
        USize lines = 0;
        USize elementEvents = 0;
        USize resourceAlerts = 0;
    } seen;
    Int32 expectationsChecked = 0;
    std::vector<ExpectationFailure> failedExpectations;

    // The failure a failNthCall step planned.
    bool faultPlanned = false;
    Int64 faultCall = 0;
    std::string faultStep;
    Int64 failableCallsBeforeFault = 0;
};

using StepAction = std::function<void(Host&, RunContext&)>;
using StepParser = std::function<StepAction(const JsonObject&)>;

// Whether a step's action calls into the add-on (a menu command, a palette
// message, a selection or an element change the add-on hears of): such a
// step cannot come after the add-on was unloaded.
enum class Reach { HostOnly, AddOn };

// One action of the table: its parser, and whether it reaches the add-on.
struct StepKind {
    StepKind() = default;
    template <typename Parser>
    StepKind(Parser parser, Reach reach = Reach::HostOnly) : parse(std::move(parser)), reach(reach)
    {
    }
    StepAction operator()(const JsonObject& step) const { return parse(step); }
    StepParser parse;
    Reach reach = Reach::HostOnly;
};
using StepTable = std::map<std::string, StepKind>;

// Each domain adds its actions to the table.
void AddHostSteps(StepTable& table);
void AddModelSteps(StepTable& table);
void AddUserSteps(StepTable& table);
void AddUndoSteps(StepTable& table);
void AddWallSteps(StepTable& table);
void AddPreferenceSteps(StepTable& table);
void AddPlacingSteps(StepTable& table);
void AddChangeSteps(StepTable& table);

// The expect step, `{"expect": {...}}`.
StepAction ParseExpect(const JsonObject& step);

// ------------------------------------------------------------ shared by the parsers

// A path given in a scenario, relative to the scenario file.
std::string Beside(const std::string& scenarioPath, const std::string& path);

// A table slot by its name, with or without the "Host" prefix.
HostSlot SlotByName(const JsonObject& where, const std::string& key, const std::string& name);

// A layer's index ("layer", "index"): 1 (the default) or more.
Int32 ReadLayer(const JsonObject& step, const std::string& key);
// A story's index: negative below the ground floor, 0 (the default) the
// ground floor.
Int16 ReadStory(const JsonObject& step, const std::string& key);

// Element types by the names scenarios use ("wall", "object", ...).
API_ElemTypeID ElementType(const JsonObject& step, const std::string& key);
const char* ElementTypeName(API_ElemTypeID type);

// One parameter value: a number, a text, or {"rows": r, "cols": c, "values": [...]}
// (all numbers or all texts, row by row). With `allowBool`, true and false
// are the numbers 1 and 0.
GdlParam ReadParamValue(const JsonObject& parent, const std::string& key, bool allowBool = false);
// "params": {"name": value, ...}
GdlParams ReadParams(const JsonObject& step, const std::string& key);

// A text that may differ by host: "text", or {"24": "text", "25": "besedilo"}.
std::string ReadHostText(const JsonObject& parent, const std::string& key);
std::string ReadHostText(const JsonObject& parent, const std::string& path, const picojson::value& value);

// A palette entry named by its number (0 is the first) or by its label as
// the add-on's language shows it.
struct EntryRef {
    USize index = 0;
    std::string label;
};
EntryRef ReadEntry(const JsonObject& step);
// The entry's number; -1 when no entry shows the label.
Int64 FindEntry(const Host& host, const EntryRef& ref);

// The element a step names; a name no step gave refuses the scenario.
API_Guid NamedElement(const JsonObject& step, const std::string& key, const RunContext& ctx, const std::string& name);

// "outline": [[x, y], ...] (at least three points) and "holes": [[[x, y], ...], ...].
PolygonRings ReadRings(const JsonObject& step);
// One plane of a roof of several: "id" (three numbers), "thickness",
// "level", "slope" (degrees), "pivot", "risesLeft", "outline", "holes".
RoofPlaneDef ReadRoofPlane(const JsonObject& plane);

// A roof plane's id [a, b, c], three whole numbers of 32 bits, at `path`.
API_ElemPartId ReadPlaneId(const JsonObject& parent, const std::string& path, const picojson::value& value);

// A point [x, y] or [x, y, z] at `path` of the document; z is 0 when not
// given, and `hasZ` (when asked) tells which.
API_Coord3D ReadPoint3D(const JsonObject& parent, const std::string& path, const picojson::value& value,
                      bool* hasZ = nullptr);

}  // namespace SimHost
