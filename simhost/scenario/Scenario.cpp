#include "Scenario.hpp"
#include "gs/Memory.hpp"
#include <cstdlib>
#include <fstream>
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

// What steps share while a scenario runs: the names given to elements.
struct RunContext {
    std::map<std::string, API_Guid> names;
};

using StepHandler = std::function<void(Host&, RunContext&, const JsonObject&)>;

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
    const picojson::object& obj = step.Object(key).Raw();
    for (const auto& kv : obj) {
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

void Name(RunContext& ctx, const JsonObject& step, const API_Guid& guid)
{
    if (step.Has("name"))
        ctx.names[step.String("name")] = guid;
}

API_Guid Named(const RunContext& ctx, const JsonObject& step, const std::string& key, const std::string& name)
{
    auto it = ctx.names.find(name);
    if (it == ctx.names.end())
        step.Fail(key, "no element is named '" + name + "'");
    return it->second;
}

// The actions a step can name. Each validates its own keys.
const std::map<std::string, StepHandler>& StepHandlers()
{
    static const std::map<std::string, StepHandler> handlers = {
        {"unload",
         [](Host& host, RunContext&, const JsonObject& step) {
             step.Only({"do", "freeData"});
             host.UnloadAddOn(step.Bool("freeData", true));
         }},
        {"emptySlot",
         [](Host& host, RunContext&, const JsonObject& step) {
             step.Only({"do", "slot"});
             host.EmptySlot(SlotByName(step, "slot", step.String("slot")));
         }},
        {"failCall",
         [](Host& host, RunContext&, const JsonObject& step) {
             step.Only({"do", "slot", "code", "times"});
             host.FailSlot(SlotByName(step, "slot", step.String("slot")), static_cast<GSErrCode>(step.Code("code", APIERR_GENERAL)),
                           static_cast<Int32>(step.Integer("times", -1)));
         }},
        {"failRequest",
         [](Host& host, RunContext&, const JsonObject& step) {
             step.Only({"do", "request", "code", "times"});
             std::string code = step.String("request");
             if (code.size() != 4)
                 step.Fail("request", "a request code has four letters");
             char c[5] = {code[0], code[1], code[2], code[3], 0};
             host.FailRequest(c, static_cast<GSErrCode>(step.Code("code", APIERR_GENERAL)), static_cast<Int32>(step.Integer("times", -1)));
         }},
        {"cancelProgress",
         [](Host& host, RunContext&, const JsonObject& step) {
             step.Only({"do", "atCheck"});
             host.cancelAtCheck = host.cancelChecks + static_cast<Int32>(step.Integer("atCheck", 1));
         }},
        {"loadLibrary",
         [](Host& host, RunContext&, const JsonObject& step) {
             step.Only({"do", "path"});
             std::string path = step.Has("path") ? Beside(step.Document().File(), step.String("path")) : host.DefaultLibraryPath();
             std::string error;
             if (!host.ActivateLibrary(IO::Location(path), error))
                 step.Fail("path", error);
         }},
        {"layer",
         [](Host& host, RunContext&, const JsonObject& step) {
             step.Only({"do", "index", "name", "hidden", "locked"});
             Layer& layer = host.model.layers[static_cast<Int32>(step.Integer("index", 1))];
             layer.name = step.String("name", layer.name);
             layer.hidden = step.Bool("hidden", layer.hidden);
             layer.locked = step.Bool("locked", layer.locked);
         }},
        {"addElement",
         [](Host& host, RunContext& ctx, const JsonObject& step) {
             step.Only({"do", "type", "name", "layer"});
             Element& e = host.AddElement(ElementType(step, "type"), static_cast<Int32>(step.Integer("layer", 1)));
             Name(ctx, step, e.guid);
         }},
        {"place",
         [](Host& host, RunContext& ctx, const JsonObject& step) {
             step.Only({"do", "part", "name", "layer", "params"});
             std::string part = step.String("part");
             if (host.LibIndexOfPart(part) == 0)
                 step.Fail("part", "part '" + part + "' is not in an active library (add a loadLibrary step first)");
             Element& e = host.PlaceObject(part, ReadParams(step, "params"), static_cast<Int32>(step.Integer("layer", 1)));
             Name(ctx, step, e.guid);
         }},
        {"select",
         [](Host& host, RunContext& ctx, const JsonObject& step) {
             step.Only({"do", "names", "all"});
             std::vector<API_Guid> guids;
             if (step.Bool("all", false))
                 for (const auto& e : host.model.Elements())
                     guids.push_back(e.guid);
             for (USize i = 0; i < step.Array("names").size(); ++i)
                 guids.push_back(Named(ctx, step, "names", step.ItemString("names", i)));
             host.Select(guids);
         }},
    };
    return handlers;
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

        // Validate every step before anything runs, so that a malformed
        // scenario is refused as a whole.
        const auto& handlers = StepHandlers();
        auto checkAction = [&](const JsonObject& step) {
            std::string action = step.String("do");
            if (action.empty())
                step.Fail("do", "a step needs 'do', the action to play");
            if (handlers.find(action) == handlers.end())
                step.Fail("do", "unknown action '" + action + "'");
        };
        for (USize i = 0; i < top.Array("setup").size(); ++i)
            checkAction(top.Item("setup", i));
        for (USize i = 0; i < top.Array("steps").size(); ++i)
            checkAction(top.Item("steps", i));

        Int64 handlesBefore = GS::LiveMemoryHandleCount();
        int exitCode = 0;
        {
            Host host;
            RunContext ctx;
            host.environmentKind = static_cast<API_EnvirKind>(top.Integer("environmentKind", 1));
            report << "== scenario " << scenarioPath << " on host " << HOST_VERSION << " ==\n";
            if (top.Has("description"))
                report << top.String("description") << "\n";
            // Set-up steps run before the add-on is loaded, so that they can
            // empty table slots and prepare failures of the start-up calls.
            for (USize i = 0; i < top.Array("setup").size(); ++i) {
                JsonObject step = top.Item("setup", i);
                handlers.at(step.String("do"))(host, ctx, step);
            }
            std::string error;
            if (!host.LoadAddOn(addOn, error)) {
                errors << "simhost" << HOST_VERSION << ": " << error << "\n";
                return 3;
            }
            host.StartAddOn();
            for (USize i = 0; i < top.Array("steps").size(); ++i) {
                JsonObject step = top.Item("steps", i);
                host.events.push_back("-- step " + std::to_string(i + 1) + ": " + step.String("do"));
                handlers.at(step.String("do"))(host, ctx, step);
            }
            if (host.AddOnLoaded())
                host.UnloadAddOn(true);
            WriteReport(host, report);
            if (!host.faults.empty())
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
