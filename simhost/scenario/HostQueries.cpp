#include "simhost/scenario/HostQueries.hpp"
#include "simhost/ui/PaletteView.hpp"
#include "platform/dg/DG.hpp"
#include <cerrno>
#include <cstdlib>

namespace SimHost {
namespace Queries {

bool ParseCommandLine(const std::string& line, CommandRun& command)
{
    static const std::string prefix = "[zolva] command ";
    if (line.compare(0, prefix.size(), prefix) != 0)
        return false;
    std::string rest = line.substr(prefix.size());
    size_t space = rest.find(' ');
    command = CommandRun();
    command.name = rest.substr(0, space);
    if (command.name.empty())
        return false;
    if (space == std::string::npos)
        return true;  // announced without its argument: shown so, never equal to one
    std::string argument = rest.substr(space + 1);
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(argument.c_str(), &end, 10);
    if (!argument.empty() && end != nullptr && *end == '\0' && errno == 0) {
        command.hasArgument = true;
        command.argument = value;
    }
    return true;
}

std::vector<CommandRun> CommandsRun(const Host& host)
{
    std::vector<CommandRun> commands;
    CommandRun command;
    for (const auto& line : host.recorder.debugLines)
        if (ParseCommandLine(line, command))
            commands.push_back(command);
    return commands;
}

std::string CommandText(const CommandRun& command)
{
    return command.name + (command.hasArgument ? " " + std::to_string(command.argument) : " (no argument)");
}

const std::vector<std::string>& Alerts(const Host& host) { return host.recorder.alerts; }
const std::vector<std::string_view>& Calls(const Host& host) { return host.recorder.callLog; }
const std::vector<std::string>& Requests(const Host& host) { return host.recorder.requestLog; }
Int64 FailableCallCount(const Host& host) { return host.faultPlan.FailableCallCount(); }
bool PlannedFailureHappened(const Host& host) { return host.faultPlan.NthCallFailed(); }

Model::ElementRange Elements(const Host& host) { return host.model.Elements(); }
const Element* FindElement(const Host& host, const API_Guid& guid) { return host.model.Find(guid); }

std::string PartName(const Host& host, const Element& element)
{
    const ObjectPart* object = element.As<ObjectPart>();
    if (object == nullptr)
        return "";
    const LibraryPartDef* part = host.libraries.PartOfIndex(object->libInd);
    return part != nullptr ? part->name : "";
}

const GdlParams* Parameters(const Element& element)
{
    const ObjectPart* object = element.As<ObjectPart>();
    return object != nullptr ? &object->params : nullptr;
}

std::optional<std::vector<API_Guid>> LinkedObjects(const Host& host, const API_Guid& element)
{
    std::vector<API_Guid> objects;
    if (const std::vector<API_Guid>* linked = host.model.links.LinkedTo(element))
        for (const API_Guid& g : *linked)
            if (const Element* e = host.model.Find(g); e != nullptr && e->As<ObjectPart>() != nullptr)
                objects.push_back(g);
    return objects;
}

std::optional<std::string> LastUndoStepName(const Host& host)
{
    const std::string* name = host.undo.LastStepName();
    return name != nullptr ? std::optional<std::string>(*name) : std::nullopt;
}

std::vector<std::string> UndoStepNames(const Host& host)
{
    std::vector<std::string> names;
    for (const UndoStep& step : host.undo.steps)
        names.push_back(step.name);
    return names;
}

std::optional<PaletteState> Palette(const Host& host)
{
    const DG::Palette* palette = host.user.AddOnPalette();
    if (palette == nullptr)
        return std::nullopt;
    PaletteState state;
    state.title = palette->GetTitle().ToUtf8();
    state.visible = palette->IsVisible();
    state.width = palette->GetClientWidth();
    state.height = palette->GetClientHeight();
    return state;
}

std::optional<EntryState> PaletteEntry(const Host& host, USize entry)
{
    const DG::Palette* palette = host.user.AddOnPalette();
    if (palette == nullptr)
        return std::nullopt;
    std::vector<PaletteEntryView> entries = PaletteEntries(*palette);
    if (entry >= entries.size())
        return std::nullopt;
    const PaletteEntryView& view = entries[entry];
    EntryState state;
    state.label = view.Label();
    state.enabled = view.control->IsEnabled();
    state.visible = view.control->IsVisible();
    state.pushMenu = view.pushMenu != nullptr;
    if (view.pushMenu != nullptr) {
        state.checked = view.pushMenu->IsChecked();
        state.item = view.pushMenu->GetSelectedItem();
    }
    return state;
}

const std::vector<DrawnLine>& RubberLines(const Host& host) { return host.user.pointInputs.lines; }

std::vector<DrawnLine> LinesAtLastClick(const Host& host)
{
    const std::vector<ShownPointInput>& shown = host.user.pointInputs.shown;
    if (shown.empty() || shown.back().stops.empty() || !shown.back().stops.back().click)
        return {};
    return shown.back().stops.back().lines;
}

std::vector<API_Guid> Highlighted(const Host& host)
{
    std::vector<API_Guid> guids;
    for (const auto& item : host.view.highlight)
        guids.push_back(item.first);
    return guids;
}

std::optional<API_Box> LastZoom(const Host& host)
{
    if (host.view.zooms.empty())
        return std::nullopt;
    return host.view.zooms.back();
}

const std::vector<ElementEventSent>& ElementEvents(const Host& host) { return host.recorder.elementEvents; }

}  // namespace Queries
}  // namespace SimHost
