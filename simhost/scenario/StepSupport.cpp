#include "simhost/scenario/Steps.hpp"
#include <cmath>

namespace SimHost {

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

Int32 ReadLayer(const JsonObject& step, const std::string& key)
{
    return static_cast<Int32>(step.IntegerIn(key, 1, 1, 2147483647));
}

Int16 ReadStory(const JsonObject& step, const std::string& key)
{
    return static_cast<Int16>(step.IntegerIn(key, 0, -32768, 32767));
}

namespace {
const std::map<std::string, API_ElemTypeID>& ElementTypes()
{
    static const std::map<std::string, API_ElemTypeID> types = {
        {"wall", API_WallID}, {"column", API_ColumnID}, {"beam", API_BeamID}, {"window", API_WindowID},
        {"door", API_DoorID}, {"object", API_ObjectID}, {"slab", API_SlabID}, {"roof", API_RoofID},
        {"mesh", API_MeshID}, {"opening", API_OpeningID}};
    return types;
}
}  // namespace

API_ElemTypeID ElementType(const JsonObject& step, const std::string& key)
{
    std::string name = step.String(key);
    auto it = ElementTypes().find(name);
    if (it == ElementTypes().end())
        step.Fail(key, "unknown element type '" + name + "'");
    return it->second;
}

const char* ElementTypeName(API_ElemTypeID type)
{
    for (const auto& kv : ElementTypes())
        if (kv.second == type)
            return kv.first.c_str();
    return "element";
}

GdlParam ReadParamValue(const JsonObject& parent, const std::string& key, bool allowBool)
{
    GdlParam p;
    p.name = key;
    const picojson::value& v = parent.Raw().at(key);
    if (v.is<double>()) {
        p.kind = GdlParam::Kind::Number;
        p.number = v.get<double>();
    } else if (allowBool && v.is<bool>()) {
        p.kind = GdlParam::Kind::Number;
        p.number = v.get<bool>() ? 1.0 : 0.0;
    } else if (v.is<std::string>()) {
        p.kind = GdlParam::Kind::Text;
        p.text = GS::DecodeText(v.get<std::string>(), CC_UTF8);
    } else if (v.is<picojson::object>()) {
        JsonObject arr = parent.Object(key);
        arr.Only({"rows", "cols", "values"});
        // Large enough for any table a part holds; the bound keeps
        // rows x cols a count.
        p.dim1 = static_cast<Int32>(arr.IntegerIn("rows", 1, 1, 100000));
        p.dim2 = static_cast<Int32>(arr.IntegerIn("cols", 1, 1, 100000));
        const picojson::array& values = arr.Array("values");
        size_t n = static_cast<size_t>(p.dim1) * static_cast<size_t>(p.dim2);
        if (values.size() != n)
            arr.Fail("values", "'" + arr.PathOf("values") + "' must hold rows x cols = " + std::to_string(n) + " values");
        bool texts = !values.empty() && values[0].is<std::string>();
        p.kind = texts ? GdlParam::Kind::Texts : GdlParam::Kind::Numbers;
        for (const auto& item : values) {
            if (texts != item.is<std::string>() || (!texts && !item.is<double>()))
                arr.Fail("values", "'" + arr.PathOf("values") + "' must be all numbers or all texts");
            if (texts)
                p.texts.push_back(GS::DecodeText(item.get<std::string>(), CC_UTF8));
            else
                p.numbers.push_back(item.get<double>());
        }
    } else {
        parent.Fail(key, "'" + parent.PathOf(key) + "' must be a number, a text or {\"rows\", \"cols\", \"values\"}" +
                             (allowBool ? " or true or false" : ""));
    }
    return p;
}

GdlParams ReadParams(const JsonObject& step, const std::string& key)
{
    GdlParams out;
    if (!step.Has(key))
        return out;
    JsonObject params = step.Object(key);
    for (const auto& kv : params.Raw())
        out.push_back(ReadParamValue(params, kv.first));
    return out;
}

std::string ReadHostText(const JsonObject& parent, const std::string& path, const picojson::value& value)
{
    if (value.is<std::string>())
        return value.get<std::string>();
    if (value.is<picojson::object>()) {
        JsonObject texts(parent.Document(), value, path);
        texts.Only({"24", "25"});
        std::string host = std::to_string(HOST_VERSION);
        if (!texts.Has(host))
            texts.Fail(host, "'" + path + "' gives no text for host " + host);
        return texts.String(host);
    }
    parent.Document().Fail(path, "'" + path + "' must be a text, or texts by host: {\"24\": \"...\", \"25\": \"...\"}");
}

std::string ReadHostText(const JsonObject& parent, const std::string& key)
{
    auto it = parent.Raw().find(key);
    if (it == parent.Raw().end())
        parent.Fail(key, "'" + parent.PathOf(key) + "' is missing");
    return ReadHostText(parent, parent.PathOf(key), it->second);
}

EntryRef ReadEntry(const JsonObject& step)
{
    EntryRef ref;
    auto it = step.Raw().find("entry");
    if (it == step.Raw().end())
        step.Fail("entry", "'" + step.PathOf("entry") + "' is missing: a number or a label");
    if (it->second.is<std::string>() || it->second.is<picojson::object>())
        ref.label = ReadHostText(step, "entry");
    else if (step.Integer("entry") < 0)
        step.Fail("entry", "'" + step.PathOf("entry") + "' counts entries from 0");
    else
        ref.index = static_cast<USize>(step.IntegerIn("entry", 0, 0, 2147483647));
    return ref;
}

Int64 FindEntry(const Host& host, const EntryRef& ref)
{
    if (ref.label.empty())
        return static_cast<Int64>(ref.index);
    return host.user.PaletteEntryByLabel(ref.label);
}

API_Guid NamedElement(const JsonObject& step, const std::string& key, const RunContext& ctx, const std::string& name)
{
    auto it = ctx.names.find(name);
    if (it == ctx.names.end())
        step.Fail(key, "no element is named '" + name + "'");
    return it->second;
}

API_ElemPartId ReadPlaneId(const JsonObject& parent, const std::string& path, const picojson::value& value)
{
    const picojson::array* a = value.is<picojson::array>() ? &value.get<picojson::array>() : nullptr;
    bool ok = a != nullptr && a->size() == 3;
    for (USize i = 0; ok && i < 3; ++i) {
        const double d = (*a)[i].is<double>() ? (*a)[i].get<double>() : 0.5;
        ok = d >= -2147483648.0 && d <= 2147483647.0 && std::floor(d) == d;
    }
    if (!ok)
        parent.Document().Fail(path, "'" + path + "' must be a plane id [a, b, c] of three whole numbers");
    return {static_cast<Int32>((*a)[0].get<double>()), static_cast<Int32>((*a)[1].get<double>()),
            static_cast<Int32>((*a)[2].get<double>())};
}

API_Coord3D ReadPoint3D(const JsonObject& parent, const std::string& path, const picojson::value& value, bool* hasZ)
{
    bool ok = value.is<picojson::array>();
    const picojson::array* items = ok ? &value.get<picojson::array>() : nullptr;
    ok = ok && (items->size() == 2 || items->size() == 3);
    for (USize i = 0; ok && i < items->size(); ++i)
        ok = (*items)[i].is<double>();
    if (!ok)
        parent.Document().Fail(path, "'" + path + "' is a point [x, y] or [x, y, z]");
    API_Coord3D p = {(*items)[0].get<double>(), (*items)[1].get<double>(), 0.0};
    if (items->size() == 3)
        p.z = (*items)[2].get<double>();
    if (hasZ != nullptr)
        *hasZ = items->size() == 3;
    return p;
}

}  // namespace SimHost
