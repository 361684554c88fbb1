#include "simhost/scenario/Scenario.hpp"
#include "simhost/scenario/HostQueries.hpp"
#include "simhost/scenario/Steps.hpp"
#include "platform/gs/CH.hpp"
#include <cctype>
#include <ostream>
#include <sstream>

namespace SimHost {

namespace {

// "Load library / start toolbar^E3^ES^EE^EI^ED^EL^EW^ET^32600": the item
// text before the first '^', and the icon number after the last one.
std::string MenuItemText(const std::string& raw, std::string* icon)
{
    size_t caret = raw.find('^');
    if (icon != nullptr) {
        size_t last = raw.find_last_of('^');
        *icon = (last != std::string::npos && last + 1 < raw.size() && std::isdigit(static_cast<unsigned char>(raw[last + 1])))
                    ? raw.substr(last + 1)
                    : "";
    }
    return caret == std::string::npos ? raw : raw.substr(0, caret);
}

void WriteMenu(const MenuRegistration& m, std::ostream& out)
{
    out << "  menu " << m.menuStrResID << " (prompts " << m.promptStrResID << ", position " << m.position
        << ", flags " << m.flags << ")";
    const std::vector<std::string>& entries = m.texts;
    bool ownMenu = entries.size() > 2;  // a title, a submenu title, then items
    if (ownMenu) {
        out << ": \"" << entries[0] << "\" > \"" << entries[1] << "\"\n";
        for (USize i = 2; i < entries.size(); ++i) {
            std::string icon;
            std::string text = MenuItemText(entries[i], &icon);
            out << "    item " << i - 1 << ": \"" << text << "\"" << (icon.empty() ? "" : " icon " + icon) << "\n";
        }
    } else {
        out << "\n";
        for (USize i = 0; i < entries.size(); ++i)
            out << "    item " << i + 1 << ": \"" << MenuItemText(entries[i], nullptr) << "\"\n";
    }
}

std::string ParamText(const GdlParam& p)
{
    std::ostringstream os;
    switch (p.kind) {
    case GdlParam::Kind::Number: os << p.number; break;
    case GdlParam::Kind::Text: os << '"' << GS::EncodeText(p.text, CC_UTF8) << '"'; break;
    case GdlParam::Kind::Numbers: os << p.dim1 << "x" << p.dim2 << " numbers"; break;
    case GdlParam::Kind::Texts: os << p.dim1 << "x" << p.dim2 << " texts"; break;
    }
    return os.str();
}

// The view's zooms, resets and rebuilds, and the pictures saved from it
// (paths in the temporary folder shown as "<temp>/name"); nothing when the
// view was not touched.
void WriteView(const Host& host, std::ostream& out)
{
    const View& view = host.view;
    if (view.zoomCount == 0 && view.resetCount == 0 && view.rebuildCount == 0 && view.pictures.empty())
        return;
    out << "-- view: zoomed " << view.zoomCount << " times, zoom reset " << view.resetCount << " times, rebuilt "
        << view.rebuildCount << " times\n";
    for (const SavedPicture& p : view.pictures)
        out << "  picture " << view.temporaryFolder.Shown(p.path) << ": " << p.width << " x " << p.height
            << (p.section ? ", a section shown" : "") << "\n";
}

// The parameters that tell the add-on's objects apart in a report.
const char* const KeyParams[] = {"strIronID", "iPosition", "minApiVersion", "maxApiVersion"};

void WriteWall(const WallPart& wall, std::ostream& out)
{
    const API_WallType& w = wall.record;
    out << " from " << w.begC.x << " " << w.begC.y << " to " << w.endC.x << " " << w.endC.y << " thickness "
        << w.thickness << " height " << w.height << " bottom " << w.bottomOffset;
    if (w.flipped)
        out << " flipped";
    if (w.angle != 0)
        out << " arc " << w.angle;
    if (w.slantCode != 0)
        out << " slant " << w.slantCode << " " << w.slantAlpha << " " << w.slantBeta;
    if (w.structureKind == 1)
        out << " composite " << w.compositeIndex;
    else if (w.structureKind == 2)
        out << " profiled";
    out << " reference " << w.referenceLineLocation << " " << w.offsetFromOutside;
    if (wall.bodies != 1)
        out << " bodies " << wall.bodies;
    for (const WallOpening& o : wall.openings)
        out << " opening " << o.along << " " << o.sill << " " << o.width << "x" << o.height;
}

void WriteModel(const Host& host, std::ostream& out)
{
    out << "-- model: " << host.model.Elements().size() << " elements\n";
    for (const auto& e : host.model.Elements()) {
        out << "  " << ElementTypeName(e.type) << " " << GuidText(e.guid) << " layer " << e.layer;
        if (const DetailDrawing* d = host.model.databases.Find(e.database))
            out << " in detail " << d->number;
        if (const ObjectPart* object = e.As<ObjectPart>()) {
            const LibraryPartDef* part = host.libraries.PartOfIndex(object->libInd);
            out << " part " << (part != nullptr ? part->name : "?");
            for (const char* name : KeyParams)
                if (const GdlParam* p = FindParam(object->params, name))
                    out << " " << name << "=" << ParamText(*p);
        }
        if (const WallPart* wall = e.As<WallPart>())
            WriteWall(*wall, out);
        out << "\n";
    }
    if (host.model.locationOffset.x != 0 || host.model.locationOffset.y != 0)
        out << "  location offset " << host.model.locationOffset.x << " " << host.model.locationOffset.y << "\n";
}

// The undo history, and what the add-on created and deleted.
void WriteUndo(const Host& host, std::ostream& out)
{
    out << "-- undo history: " << host.undo.steps.size() << " step" << (host.undo.steps.size() == 1 ? "" : "s") << "\n";
    for (USize i = 0; i < host.undo.steps.size(); ++i)
        out << "  " << i + 1 << ". \"" << host.undo.steps[i].name << "\"\n";
    for (const auto& name : host.undo.undone)
        out << "  undone: \"" << name << "\"\n";
    if (!host.recorder.createdElements.empty() || !host.recorder.deletedElements.empty()) {
        out << "-- created and deleted elements\n";
        for (const API_Guid& g : host.recorder.createdElements)
            out << "  created " << GuidText(g) << "\n";
        for (const API_Guid& g : host.recorder.deletedElements)
            out << "  deleted " << GuidText(g) << "\n";
    }
}

// The detail drawings with their names, references and how many elements
// each holds; the window's database.
void WriteDatabases(const Host& host, std::ostream& out)
{
    const Databases& dbs = host.model.databases;
    if (dbs.details.empty())
        return;
    out << "-- detail drawings\n";
    for (const DetailDrawing& d : dbs.details) {
        USize count = 0;
        for (const auto& e : host.model.Elements())
            count += e.database == d.id ? 1 : 0;
        out << "  " << d.number << " \"" << GS::EncodeText(d.name, CC_UTF8) << "\" reference \""
            << GS::EncodeText(d.ref, CC_UTF8) << "\": " << count << " element" << (count == 1 ? "" : "s") << "\n";
    }
    const DetailDrawing* shown = dbs.Find(host.model.currentDatabase);
    out << "  window: " << (shown == nullptr ? std::string("floor plan") : "detail " + std::to_string(shown->number))
        << "\n";
}

// The table every cutting-list object computed, a line per row, the cells
// separated by " | ".
void WriteListTables(const Host& host, std::ostream& out)
{
    bool first = true;
    for (const auto& e : host.model.Elements()) {
        const ObjectPart* object = e.As<ObjectPart>();
        const LibraryPartDef* part = object != nullptr ? host.libraries.PartOfIndex(object->libInd) : nullptr;
        if (part == nullptr || part->name != "rf_list")
            continue;
        const GdlParam* table = FindParam(object->params, "tableContentTexts");
        if (table == nullptr || table->kind != GdlParam::Kind::Texts)
            continue;
        if (first)
            out << "-- cutting lists\n";
        first = false;
        out << "  " << GuidText(e.guid) << "\n";
        for (Int32 r = 0; r < table->dim1; ++r) {
            out << "   ";
            for (Int32 c = 0; c < table->dim2; ++c) {
                const size_t i = static_cast<size_t>(r) * static_cast<size_t>(table->dim2) + static_cast<size_t>(c);
                out << (c == 0 ? " " : " | ") << (i < table->texts.size() ? GS::EncodeText(table->texts[i], CC_UTF8) : "");
            }
            out << "\n";
        }
    }
}

void WriteProgress(const Host& host, std::ostream& out)
{
    if (host.recorder.progressWindows.empty())
        return;
    out << "-- progress windows\n";
    for (const auto& w : host.recorder.progressWindows) {
        out << "  \"" << w.title << "\" (" << w.phaseCount << " phase" << (w.phaseCount == 1 ? "" : "s") << ")"
            << (w.cancelled ? " cancelled" : "") << (w.open ? " left open" : "") << "\n";
        for (const auto& ph : w.phases)
            out << "    \"" << ph.text << "\" " << ph.value << "/" << ph.maximum << (ph.warning ? " with warning" : "") << "\n";
    }
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

void WriteReport(const Host& host, std::ostream& out)
{
    out << "-- events\n";
    for (const auto& e : host.recorder.events)
        out << "  " << e << "\n";
    out << "-- add-on\n";
    out << "  name: \"" << host.session.addOnName << "\"\n";
    out << "  description: \"" << host.session.addOnDescription << "\"\n";
    out << "  keep-in-memory requests: " << host.session.keepInMemoryCalls << "\n";
    out << "-- menus\n";
    for (const auto& m : host.session.menus)
        WriteMenu(m, out);
    out << "-- handlers\n";
    for (const auto& h : host.session.menuHandlers)
        out << "  menu handler for " << h.first << "\n";
    out << "  element events: " << (host.session.elementEventHandler != nullptr ? "installed" : "none") << "\n";
    out << "  selection change: " << (host.session.selectionChangeHandler != nullptr ? "installed" : "none") << "\n";
    out << "-- palettes\n";
    for (const auto& p : host.session.paletteHistory)
        out << "  registered: reference id " << HexCode(static_cast<UInt32>(p.referenceID)) << ", flags "
            << HexCode(static_cast<UInt32>(p.flags)) << ", GUID {" << Lower(p.guid) << "}\n";
    for (Int32 id : host.session.unregisteredPalettes)
        out << "  unregistered: reference id " << HexCode(static_cast<UInt32>(id)) << "\n";
    out << host.session.paletteAtUnload;
    WriteModel(host, out);
    WriteUndo(host, out);
    WriteDatabases(host, out);
    WriteListTables(host, out);
    WriteProgress(host, out);
    WriteView(host, out);
    if (host.recorder.suspendGroupToggles > 0)
        out << "-- suspend groups toggled " << host.recorder.suspendGroupToggles << " times, now " << (host.model.suspendGroups ? "on" : "off") << "\n";
    out << "-- alerts\n";
    for (USize i = 0; i < host.recorder.alerts.size(); ++i)
        out << "  " << i + 1 << ". " << host.recorder.alerts[i] << "\n";
    if (!host.user.alertsShown.empty()) {
        out << "-- alerts from the add-on's resources\n";
        for (USize i = 0; i < host.user.alertsShown.size(); ++i) {
            const ShownAlert& a = host.user.alertsShown[i];
            out << "  " << i + 1 << ". " << a.resourceId << " \"" << a.title << "\": \"" << a.text << "\" \""
                << a.detail << "\"; pressed " << a.result << " \""
                << (a.result >= 1 && static_cast<size_t>(a.result) <= a.buttons.size() ? a.buttons[static_cast<size_t>(a.result) - 1] : std::string())
                << "\"\n";
        }
    }
    if (!host.recorder.sleeps.empty()) {
        out << "-- waits\n";
        for (UInt32 ms : host.recorder.sleeps)
            out << "  Sleep " << ms << " ms\n";
    }
    std::vector<Queries::CommandRun> commands = Queries::CommandsRun(host);
    if (!commands.empty()) {
        out << "-- commands\n";
        for (USize i = 0; i < commands.size(); ++i)
            out << "  " << i + 1 << ". " << Queries::CommandText(commands[i]) << "\n";
    }
    if (!host.recorder.debugLines.empty()) {
        out << "-- debug output\n";
        for (const auto& l : host.recorder.debugLines)
            out << "  " << l << "\n";
    }
    out << "-- add-on faults: " << host.recorder.faults.size() << "\n";
    for (const auto& f : host.recorder.faults)
        out << "  " << f.what << "\n";
}

}  // namespace SimHost
