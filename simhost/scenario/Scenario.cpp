#include "simhost/scenario/Scenario.hpp"
#include "platform/gs/Memory.hpp"
#include "simhost/ui/AddOnFolder.hpp"
#include <cstdlib>
#include <fstream>
#include <array>
#include <functional>
#include <iostream>
#include <sstream>
#include <unistd.h>

namespace SimHost {

namespace {

// A picojson parse context that records the line of each value by path.
template <typename Iter> class LineContext {
public:
    LineContext(picojson::value* out, std::map<std::string, int>* lines, picojson::input<Iter>* in, std::string path)
        : out(out), lines(lines), in(in), path(std::move(path))
    {
    }
    bool set_null() { Mark(); *out = picojson::value(); return true; }
    bool set_bool(bool b) { Mark(); *out = picojson::value(b); return true; }
    bool set_number(double f) { Mark(); *out = picojson::value(f); return true; }
    bool parse_string(picojson::input<Iter>& input)
    {
        Mark();
        *out = picojson::value(picojson::string_type, false);
        return picojson::_parse_string(out->get<std::string>(), input);
    }
    bool parse_array_start()
    {
        Mark();
        *out = picojson::value(picojson::array_type, false);
        return true;
    }
    bool parse_array_item(picojson::input<Iter>& input, size_t index)
    {
        picojson::array& a = out->get<picojson::array>();
        a.push_back(picojson::value());
        LineContext child(&a.back(), lines, &input, path + "[" + std::to_string(index) + "]");
        return picojson::_parse(child, input);
    }
    bool parse_array_stop(size_t) { return true; }
    bool parse_object_start()
    {
        Mark();
        *out = picojson::value(picojson::object_type, false);
        return true;
    }
    bool parse_object_item(picojson::input<Iter>& input, const std::string& key)
    {
        picojson::object& o = out->get<picojson::object>();
        LineContext child(&o[key], lines, &input, path.empty() ? key : path + "." + key);
        return picojson::_parse(child, input);
    }
    bool parse_object_stop() { return true; }

private:
    void Mark() { (*lines)[path] = in->line(); }
    picojson::value* out;
    std::map<std::string, int>* lines;
    picojson::input<Iter>* in;
    std::string path;
};

}  // namespace

JsonDocument JsonDocument::Parse(const std::string& file, const std::string& text)
{
    JsonDocument doc;
    doc.file = file;
    using Iter = std::string::const_iterator;
    picojson::input<Iter> in(text.begin(), text.end());
    LineContext<Iter> ctx(&doc.root, &doc.lines, &in, "");
    if (!picojson::_parse(ctx, in)) {
        std::string near;
        for (int i = 0; i < 20; ++i) {
            int c = in.getc();
            if (c == -1 || c == '\n')
                break;
            near.push_back(static_cast<char>(c));
        }
        throw ScenarioError(file, in.line(), "JSON syntax error near: " + near);
    }
    in.skip_ws();
    if (in.getc() != -1)
        throw ScenarioError(file, in.line(), "text after the end of the JSON document");
    return doc;
}

JsonDocument JsonDocument::Load(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    if (!f)
        throw ScenarioError(path, 0, "cannot read the scenario file");
    std::stringstream ss;
    ss << f.rdbuf();
    return Parse(path, ss.str());
}

int JsonDocument::LineOf(const std::string& path) const
{
    // The nearest recorded ancestor gives the line when the value itself is absent.
    std::string p = path;
    while (true) {
        auto it = lines.find(p);
        if (it != lines.end())
            return it->second;
        size_t cut = p.find_last_of(".[");
        if (cut == std::string::npos)
            return p.empty() ? 1 : LineOf("");
        p = p.substr(0, cut);
    }
}

void JsonDocument::Fail(const std::string& path, const std::string& reason) const
{
    throw ScenarioError(file, LineOf(path), reason);
}

JsonObject::JsonObject(const JsonDocument& doc, const picojson::value& value, std::string path)
    : doc(doc), object(nullptr), path(std::move(path))
{
    if (!value.is<picojson::object>())
        doc.Fail(this->path, (this->path.empty() ? std::string("the scenario") : "'" + this->path + "'") +
                                 " must be a JSON object");
    object = &value.get<picojson::object>();
}

const picojson::value* JsonObject::Get(const std::string& key) const
{
    auto it = object->find(key);
    return it == object->end() ? nullptr : &it->second;
}

bool JsonObject::Has(const std::string& key) const { return Get(key) != nullptr; }

void JsonObject::Fail(const std::string& key, const std::string& reason) const { doc.Fail(PathOf(key), reason); }

std::string JsonObject::String(const std::string& key, const std::string& fallback) const
{
    const picojson::value* v = Get(key);
    if (v == nullptr)
        return fallback;
    if (!v->is<std::string>())
        Fail(key, "'" + PathOf(key) + "' must be a text");
    return v->get<std::string>();
}

double JsonObject::Number(const std::string& key, double fallback) const
{
    const picojson::value* v = Get(key);
    if (v == nullptr)
        return fallback;
    if (!v->is<double>())
        Fail(key, "'" + PathOf(key) + "' must be a number");
    return v->get<double>();
}

Int64 JsonObject::Integer(const std::string& key, Int64 fallback) const
{
    if (!Has(key))
        return fallback;
    double d = Number(key);
    if (d != static_cast<double>(static_cast<Int64>(d)))
        Fail(key, "'" + PathOf(key) + "' must be a whole number");
    return static_cast<Int64>(d);
}

UInt32 JsonObject::Code(const std::string& key, UInt32 fallback) const
{
    const picojson::value* v = Get(key);
    if (v == nullptr)
        return fallback;
    if (v->is<double>())
        return static_cast<UInt32>(static_cast<Int64>(v->get<double>()));
    if (v->is<std::string>()) {
        const std::string& s = v->get<std::string>();
        char* end = nullptr;
        unsigned long long n = std::strtoull(s.c_str(), &end, 0);
        if (!s.empty() && end != nullptr && *end == '\0' && n <= 0xFFFFFFFFull)
            return static_cast<UInt32>(n);
    }
    Fail(key, "'" + PathOf(key) + "' must be a code: a number or a text such as \"0x81060001\"");
}

bool JsonObject::Bool(const std::string& key, bool fallback) const
{
    const picojson::value* v = Get(key);
    if (v == nullptr)
        return fallback;
    if (!v->is<bool>())
        Fail(key, "'" + PathOf(key) + "' must be true or false");
    return v->get<bool>();
}

const picojson::array& JsonObject::Array(const std::string& key) const
{
    static const picojson::array empty;
    const picojson::value* v = Get(key);
    if (v == nullptr)
        return empty;
    if (!v->is<picojson::array>())
        Fail(key, "'" + PathOf(key) + "' must be a list");
    return v->get<picojson::array>();
}

JsonObject JsonObject::Object(const std::string& key) const
{
    const picojson::value* v = Get(key);
    if (v == nullptr)
        Fail(key, "'" + PathOf(key) + "' is missing");
    return JsonObject(doc, *v, PathOf(key));
}

JsonObject JsonObject::Item(const std::string& key, USize index) const
{
    return JsonObject(doc, Array(key).at(index), PathOf(key) + "[" + std::to_string(index) + "]");
}

std::string JsonObject::ItemString(const std::string& key, USize index) const
{
    const picojson::value& v = Array(key).at(index);
    if (!v.is<std::string>())
        doc.Fail(PathOf(key) + "[" + std::to_string(index) + "]", "'" + PathOf(key) + "' must list texts");
    return v.get<std::string>();
}

void JsonObject::Only(std::initializer_list<const char*> allowed) const
{
    for (const auto& kv : *object) {
        bool ok = false;
        for (const char* a : allowed)
            ok = ok || kv.first == a;
        if (!ok)
            Fail(kv.first, "unknown key '" + kv.first + "'" + (path.empty() ? "" : " in '" + path + "'"));
    }
}

// ---------------------------------------------------------------- the runner

namespace {

std::string Beside(const std::string& scenarioPath, const std::string& path)
{
    if (path.empty() || path[0] == '/')
        return path;
    size_t slash = scenarioPath.find_last_of('/');
    return slash == std::string::npos ? path : scenarioPath.substr(0, slash + 1) + path;
}

HostSlot SlotByName(const JsonObject& where, const std::string& key, const std::string& name)
{
    for (UInt32 i = 0; i < NamedHostSlotCount; ++i)
        if (name == HostSlotName(i) || name == std::string("Host") + HostSlotName(i))
            return static_cast<HostSlot>(i);
    where.Fail(key, "unknown host call '" + name + "'");
}

// What steps share while a scenario runs: the names given to elements, and
// the add-on file to load (set-up steps may run a copy of it).
struct RunContext {
    std::map<std::string, API_Guid> names;
    std::string addOn;
};

// A step is parsed (and so fully checked) before anything runs; parsing
// gives the action to play.
using StepAction = std::function<void(Host&, RunContext&)>;
using StepParser = std::function<StepAction(const JsonObject&)>;

// A palette entry named by its number (0 is the first) or by its label as
// the add-on's language shows it.
struct EntryRef {
    USize index = 0;
    std::string label;
};

EntryRef ReadEntry(const JsonObject& step)
{
    EntryRef ref;
    auto it = step.Raw().find("entry");
    if (it == step.Raw().end())
        step.Fail("entry", "'" + step.PathOf("entry") + "' is missing: a number or a label");
    if (it->second.is<std::string>())
        ref.label = it->second.get<std::string>();
    else if (step.Integer("entry") < 0)
        step.Fail("entry", "'" + step.PathOf("entry") + "' counts entries from 0");
    else
        ref.index = static_cast<USize>(step.Integer("entry"));
    return ref;
}

USize ResolveEntry(const Host& host, const JsonObject& step, const EntryRef& ref)
{
    if (ref.label.empty())
        return ref.index;
    Int32 index = host.user.PaletteEntryByLabel(ref.label);
    if (index < 0)
        step.Fail("entry", "the palette shows no entry labelled '" + ref.label + "'");
    return static_cast<USize>(index);
}

API_ElemTypeID ElementType(const JsonObject& step, const std::string& key)
{
    static const std::map<std::string, API_ElemTypeID> types = {
        {"wall", API_WallID}, {"column", API_ColumnID}, {"beam", API_BeamID}, {"window", API_WindowID},
        {"door", API_DoorID}, {"object", API_ObjectID}, {"slab", API_SlabID}, {"roof", API_RoofID},
        {"mesh", API_MeshID}, {"opening", API_OpeningID}};
    std::string name = step.String(key);
    auto it = types.find(name);
    if (it == types.end())
        step.Fail(key, "unknown element type '" + name + "'");
    return it->second;
}

// "params": {"name": 1.5, "name": "text", "name": {"rows": r, "cols": c, "values": [...]}}
GdlParams ReadParams(const JsonObject& step, const std::string& key)
{
    GdlParams out;
    if (!step.Has(key))
        return out;
    JsonObject params = step.Object(key);
    for (const auto& kv : params.Raw()) {
        GdlParam p;
        p.name = kv.first;
        if (kv.second.is<double>()) {
            p.kind = GdlParam::Kind::Number;
            p.number = kv.second.get<double>();
        } else if (kv.second.is<std::string>()) {
            p.kind = GdlParam::Kind::Text;
            p.text = GS::DecodeText(kv.second.get<std::string>(), CC_UTF8);
        } else {
            JsonObject arr = params.Object(kv.first);
            arr.Only({"rows", "cols", "values"});
            p.dim1 = static_cast<Int32>(arr.Integer("rows", 1));
            p.dim2 = static_cast<Int32>(arr.Integer("cols", 1));
            const picojson::array& values = arr.Array("values");
            size_t n = static_cast<size_t>(p.dim1) * static_cast<size_t>(p.dim2);
            if (values.size() != n)
                arr.Fail("values", "'" + arr.PathOf("values") + "' must hold rows x cols = " + std::to_string(n) + " values");
            bool texts = !values.empty() && values[0].is<std::string>();
            p.kind = texts ? GdlParam::Kind::Texts : GdlParam::Kind::Numbers;
            for (const auto& v : values) {
                if (texts != v.is<std::string>() || (!texts && !v.is<double>()))
                    arr.Fail("values", "'" + arr.PathOf("values") + "' must be all numbers or all texts");
                if (texts)
                    p.texts.push_back(GS::DecodeText(v.get<std::string>(), CC_UTF8));
                else
                    p.numbers.push_back(v.get<double>());
            }
        }
        out.push_back(std::move(p));
    }
    return out;
}

std::array<char, 5> RequestLetters(const JsonObject& step, const std::string& key)
{
    std::string code = step.String(key);
    if (code.size() != 4)
        step.Fail(key, "a request code has four letters");
    return {code[0], code[1], code[2], code[3], 0};
}

// The actions a step can name. Each checks its own keys.
const std::map<std::string, StepParser>& StepParsers()
{
    static const std::map<std::string, StepParser> parsers = {
        {"unload",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "freeData"});
             bool freeData = step.Bool("freeData", true);
             return [=](Host& host, RunContext&) { host.session.UnloadAddOn(freeData); };
         }},
        {"emptySlot",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "slot"});
             HostSlot slot = SlotByName(step, "slot", step.String("slot"));
             return [=](Host& host, RunContext&) { host.faultPlan.EmptySlot(slot); };
         }},
        {"failCall",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "slot", "code", "times"});
             HostSlot slot = SlotByName(step, "slot", step.String("slot"));
             auto code = static_cast<GSErrCode>(step.Code("code", APIERR_GENERAL));
             auto times = static_cast<Int32>(step.Integer("times", -1));
             return [=](Host& host, RunContext&) { host.faultPlan.FailSlot(slot, code, times); };
         }},
        {"failRequest",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "request", "code", "times"});
             std::array<char, 5> request = RequestLetters(step, "request");
             auto code = static_cast<GSErrCode>(step.Code("code", APIERR_GENERAL));
             auto times = static_cast<Int32>(step.Integer("times", -1));
             return [=](Host& host, RunContext&) {
                 const char letters[5] = {request[0], request[1], request[2], request[3], 0};
                 host.faultPlan.FailRequest(letters, code, times);
             };
         }},
        {"cancelProgress",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "atCheck"});
             auto at = static_cast<Int32>(step.Integer("atCheck", 1));
             return [=](Host& host, RunContext&) { host.user.cancelAtCheck = host.recorder.cancelChecks + at; };
         }},
        {"loadLibrary",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "path"});
             std::string path = step.Has("path") ? Beside(step.Document().File(), step.String("path")) : "";
             return [=](Host& host, RunContext&) {
                 std::string error;
                 if (!host.libraries.Activate(IO::Location(path.empty() ? host.session.DefaultLibraryPath() : path), error))
                     step.Fail("path", error);
             };
         }},
        {"layer",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "index", "name", "hidden", "locked"});
             auto index = static_cast<Int32>(step.Integer("index", 1));
             bool hasName = step.Has("name"), hasHidden = step.Has("hidden"), hasLocked = step.Has("locked");
             std::string name = step.String("name");
             bool hidden = step.Bool("hidden"), locked = step.Bool("locked");
             return [=](Host& host, RunContext&) {
                 Layer& layer = host.model.layers[index];
                 if (hasName) layer.name = name;
                 if (hasHidden) layer.hidden = hidden;
                 if (hasLocked) layer.locked = locked;
             };
         }},
        {"addElement",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "type", "name", "layer", "connectedTo", "shape"});
             API_ElemTypeID type = ElementType(step, "type");
             auto layer = static_cast<Int32>(step.Integer("layer", 1));
             std::string name = step.String("name"), connectedTo = step.String("connectedTo");
             std::vector<API_Coord> shape;
             for (const auto& point : step.Array("shape")) {
                 if (!point.is<picojson::array>() || point.get<picojson::array>().size() != 2 ||
                     !point.get<picojson::array>()[0].is<double>() || !point.get<picojson::array>()[1].is<double>())
                     step.Fail("shape", "'" + step.PathOf("shape") + "' must list points [x, y]");
                 shape.push_back({point.get<picojson::array>()[0].get<double>(), point.get<picojson::array>()[1].get<double>()});
             }
             return [=](Host& host, RunContext& ctx) {
                 Element& e = host.model.Add(type, layer);
                 if (OpeningPart* opening = e.As<OpeningPart>())
                     opening->shape = shape;
                 API_Guid guid = e.guid;
                 if (!name.empty())
                     ctx.names[name] = guid;
                 if (!connectedTo.empty()) {
                     auto it = ctx.names.find(connectedTo);
                     if (it == ctx.names.end())
                         step.Fail("connectedTo", "no element is named '" + connectedTo + "'");
                     host.model.Find(it->second)->connected.push_back(guid);
                 }
             };
         }},
        {"place",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "part", "name", "layer", "params"});
             std::string part = step.String("part");
             std::string name = step.String("name");
             auto layer = static_cast<Int32>(step.Integer("layer", 1));
             GdlParams params = ReadParams(step, "params");
             return [=](Host& host, RunContext& ctx) {
                 if (host.libraries.IndexOfPart(part) == 0)
                     step.Fail("part", "part '" + part + "' is not in an active library (add a loadLibrary step first)");
                 Element& e = host.PlaceObject(part, params, layer);
                 if (!name.empty())
                     ctx.names[name] = e.guid;
             };
         }},
        {"select",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "names", "all"});
             bool all = step.Bool("all", false);
             std::vector<std::string> names;
             for (USize i = 0; i < step.Array("names").size(); ++i)
                 names.push_back(step.ItemString("names", i));
             return [=](Host& host, RunContext& ctx) {
                 std::vector<API_Guid> guids;
                 if (all)
                     for (const auto& e : host.model.Elements())
                         guids.push_back(e.guid);
                 for (const auto& n : names) {
                     auto it = ctx.names.find(n);
                     if (it == ctx.names.end())
                         step.Fail("names", "no element is named '" + n + "'");
                     guids.push_back(it->second);
                 }
                 host.user.ChangeSelection(guids);
             };
         }},
        {"addOnFolder",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "library", "files", "folders", "subfolder"});
             bool library = step.Bool("library", true);
             std::string subfolder = step.String("subfolder");
             std::vector<std::string> files, folders;
             for (USize i = 0; i < step.Array("files").size(); ++i)
                 files.push_back(step.ItemString("files", i));
             for (USize i = 0; i < step.Array("folders").size(); ++i)
                 folders.push_back(step.ItemString("folders", i));
             return [=](Host& host, RunContext& ctx) {
                 if (host.session.AddOnLoaded())
                     step.Fail("do", "'addOnFolder' prepares the add-on's folder: it belongs in 'setup'");
                 try {
                     host.session.addOnFolder = std::make_unique<AddOnFolder>(ctx.addOn, library, subfolder);
                     for (const auto& f : files)
                         host.session.addOnFolder->AddFile(f);
                     for (const auto& f : folders)
                         host.session.addOnFolder->AddFolder(f);
                 } catch (const std::exception& e) {
                     step.Fail("do", std::string("cannot prepare the add-on's folder: ") + e.what());
                 }
                 ctx.addOn = host.session.addOnFolder->AddOnPath();
                 host.recorder.events.push_back("the add-on runs from " + host.session.addOnFolder->Folder());
             };
         }},
        {"menu",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "menu", "item"});
             auto menu = static_cast<Int16>(step.Integer("menu", 32510));
             auto item = static_cast<Int32>(step.Integer("item", 1));
             return [=](Host& host, RunContext&) { host.user.RunMenuCommand(menu, item); };
         }},
        {"paletteMessage",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "message"});
             auto message = static_cast<Int32>(step.Integer("message"));
             if (message < 1 || message > 7)
                 step.Fail("message", "the host's palette messages are 1 to 7");
             return [=](Host& host, RunContext&) {
                 if (message == APIPalMsg_IsPaletteVisible)
                     host.user.AskPaletteVisible();
                 else
                     host.user.SendPaletteMessage(message);
             };
         }},
        {"clickEntry",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "entry"});
             EntryRef entry = ReadEntry(step);
             return [=](Host& host, RunContext&) { host.user.ClickPaletteEntry(ResolveEntry(host, step, entry)); };
         }},
        {"chooseItem",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "entry", "item"});
             EntryRef entry = ReadEntry(step);
             auto item = static_cast<Int16>(step.Integer("item", 1));
             return [=](Host& host, RunContext&) { host.user.ChoosePaletteItem(ResolveEntry(host, step, entry), item); };
         }},
        {"hover",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "entry", "on"});
             EntryRef entry = ReadEntry(step);
             static const std::map<std::string, EntryPart> parts = {
                 {"icon", EntryPart::Control}, {"labelBeside", EntryPart::LabelBeside}, {"labelBelow", EntryPart::LabelBelow}};
             auto part = parts.find(step.String("on", "icon"));
             if (part == parts.end())
                 step.Fail("on", "'on' is \"icon\", \"labelBeside\" or \"labelBelow\"");
             EntryPart on = part->second;
             return [=](Host& host, RunContext&) { host.user.HoverPaletteEntry(ResolveEntry(host, step, entry), on, nullptr); };
         }},
        {"closePalette",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do"});
             return [](Host& host, RunContext&) { host.user.ClosePalette(); };
         }},
        {"resizePalette",
         [](const JsonObject& step) -> StepAction {
             step.Only({"do", "width", "height"});
             auto width = static_cast<Int16>(step.Integer("width", 111));
             auto height = static_cast<Int16>(step.Integer("height", 350));
             return [=](Host& host, RunContext&) { host.user.ResizePalette(width, height); };
         }},
    };
    return parsers;
}

std::string DefaultAddOnPath()
{
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    std::string exe = n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
    size_t slash = exe.find_last_of('/');
    std::string dir = slash == std::string::npos ? "." : exe.substr(0, slash);
    return dir + "/Armbrix" + std::to_string(HOST_VERSION) + ".so";
}


}  // namespace

int RunScenario(const std::string& scenarioPath, const RunOptions& options, std::ostream& report, std::ostream& errors)
{
    try {
        JsonDocument doc = JsonDocument::Load(scenarioPath);
        JsonObject top(doc, doc.Root(), "");
        top.Only({"description", "host", "addOn", "environmentKind", "setup", "steps"});
        if (top.Has("host") && top.Integer("host") != HOST_VERSION)
            top.Fail("host", "this scenario is for host " + std::to_string(top.Integer("host")) + ", this is host " +
                                 std::to_string(HOST_VERSION));

        std::string addOn = options.addOnPath;
        if (addOn.empty())
            addOn = top.Has("addOn") ? Beside(scenarioPath, top.String("addOn")) : DefaultAddOnPath();

        // Parse every step before anything runs, so that a malformed
        // scenario is refused as a whole.
        const auto& parsers = StepParsers();
        auto parse = [&](const std::string& list) {
            std::vector<std::pair<std::string, StepAction>> actions;
            for (USize i = 0; i < top.Array(list).size(); ++i) {
                JsonObject step = top.Item(list, i);
                std::string action = step.String("do");
                if (action.empty())
                    step.Fail("do", "a step needs 'do', the action to play");
                auto it = parsers.find(action);
                if (it == parsers.end())
                    step.Fail("do", "unknown action '" + action + "'");
                actions.emplace_back(action, it->second(step));
            }
            return actions;
        };
        auto setup = parse("setup");
        auto steps = parse("steps");

        Int64 handlesBefore = GS::LiveMemoryHandleCount();
        int exitCode = 0;
        {
            Host host;
            RunContext ctx;
            ctx.addOn = addOn;
            host.session.environmentKind = static_cast<API_EnvirKind>(top.Integer("environmentKind", 1));
            report << "== scenario " << scenarioPath << " on host " << HOST_VERSION << " ==\n";
            if (top.Has("description"))
                report << top.String("description") << "\n";
            // Set-up steps run before the add-on is loaded, so that they can
            // empty table slots and prepare failures of the start-up calls.
            for (auto& a : setup)
                a.second(host, ctx);
            std::string error;
            if (!host.session.LoadAddOn(ctx.addOn, error)) {
                errors << "simhost" << HOST_VERSION << ": " << error << "\n";
                return 3;
            }
            host.session.StartAddOn();
            for (USize i = 0; i < steps.size(); ++i) {
                host.recorder.events.push_back("-- step " + std::to_string(i + 1) + ": " + steps[i].first);
                steps[i].second(host, ctx);
            }
            if (host.session.AddOnLoaded())
                host.session.UnloadAddOn(true);
            WriteReport(host, report);
            if (!host.recorder.faults.empty())
                exitCode = 1;
        }
        Int64 leaked = GS::LiveMemoryHandleCount() - handlesBefore;
        report << "memory handles left: " << leaked << "\n";
        if (leaked != 0)
            exitCode = 1;
        return exitCode;
    } catch (const ScenarioError& e) {
        errors << "simhost" << HOST_VERSION << ": malformed scenario: " << e.what() << "\n";
        return 2;
    }
}

}  // namespace SimHost
