// What the scenario runner and its expectations read of the host's state,
// in one place: the checks of the expect step and the report's summaries
// ask here, never the host's members directly.
#pragma once
#include "simhost/core/SimHost.hpp"
#include "simhost/ui/ScriptedUser.hpp"
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace SimHost {
namespace Queries {

// One command the add-on ran, as it announced it on its debug output:
// "[zolva] command <Name> <argument>". That form is the add-on's contract
// (addon/services/CommandTrace.hpp), the one text of its debug output the
// host reads.
struct CommandRun {
    std::string name;
    bool hasArgument = false;
    Int64 argument = 0;
};
// The command a debug line announces; false for any other line.
bool ParseCommandLine(const std::string& line, CommandRun& command);
std::vector<CommandRun> CommandsRun(const Host& host);
std::string CommandText(const CommandRun& command);

const std::vector<std::string>& Alerts(const Host& host);
// Host calls by name in call order ("GetElement", "Sleep", ...), and the
// requests of the dispatching calls ("RPAS", ...).
const std::vector<std::string_view>& Calls(const Host& host);
const std::vector<std::string>& Requests(const Host& host);
// The calls made so far that an injected failure can reach.
Int64 FailableCallCount(const Host& host);
bool PlannedFailureHappened(const Host& host);

Model::ElementRange Elements(const Host& host);
const Element* FindElement(const Host& host, const API_Guid& guid);
// The library part's name of an object; empty for other elements.
std::string PartName(const Host& host, const Element& element);
// An object's GDL parameters; null for other elements.
const GdlParams* Parameters(const Element& element);

// The objects linked to an element; nothing while the host does not model
// links between elements.
std::optional<std::vector<API_Guid>> LinkedObjects(const Host& host, const API_Guid& element);
// The name of the last step that can be undone; nothing when there is none.
std::optional<std::string> LastUndoStepName(const Host& host);
// The names of the steps that can be undone, oldest first.
std::vector<std::string> UndoStepNames(const Host& host);

// The add-on's palette as the screen shows it.
struct PaletteState {
    std::string title;
    bool visible = false;
    Int32 width = 0, height = 0;
};
struct EntryState {
    std::string label;
    bool enabled = false;
    bool visible = false;
    bool pushMenu = false;
    bool checked = false;
    Int32 item = 0;  // a push menu's chosen item
};
std::optional<PaletteState> Palette(const Host& host);
std::optional<EntryState> PaletteEntry(const Host& host, USize entry);

// Every rubber line drawn during point inputs, in order; the lines drawn
// at the last point input's click (none when it was cancelled or none was shown).
const std::vector<DrawnLine>& RubberLines(const Host& host);
std::vector<DrawnLine> LinesAtLastClick(const Host& host);
// The highlighted elements; the last box the view was zoomed to.
std::vector<API_Guid> Highlighted(const Host& host);
std::optional<API_Box> LastZoom(const Host& host);
// The element events the host had for the add-on, in order.
const std::vector<ElementEventSent>& ElementEvents(const Host& host);

}  // namespace Queries
}  // namespace SimHost
