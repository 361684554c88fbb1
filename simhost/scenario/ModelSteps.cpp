// Steps that build the model: libraries, layers, elements, placed objects
// and the selection.
#include "simhost/scenario/Steps.hpp"

namespace SimHost {

namespace {

StepAction ParseLoadLibrary(const JsonObject& step)
{
    step.Only({"do", "path"});
    std::string path = step.Has("path") ? Beside(step.Document().File(), step.String("path")) : "";
    return [=](Host& host, RunContext&) {
        std::string error;
        if (!host.libraries.Activate(IO::Location(path.empty() ? host.session.DefaultLibraryPath() : path), error))
            step.Fail("path", error);
    };
}

StepAction ParseLayer(const JsonObject& step)
{
    step.Only({"do", "index", "name", "hidden", "locked"});
    auto index = static_cast<Int32>(ReadLayer(step, "index"));
    bool hasName = step.Has("name"), hasHidden = step.Has("hidden"), hasLocked = step.Has("locked");
    std::string name = step.String("name");
    bool hidden = step.Bool("hidden"), locked = step.Bool("locked");
    return [=](Host& host, RunContext&) {
        Layer& layer = host.model.layers[index];
        if (hasName) layer.name = name;
        if (hasHidden) layer.hidden = hidden;
        if (hasLocked) layer.locked = locked;
    };
}

StepAction ParseAddElement(const JsonObject& step)
{
    step.Only({"do", "type", "name", "layer", "connectedTo", "shape"});
    API_ElemTypeID type = ElementType(step, "type");
    auto layer = ReadLayer(step, "layer");
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
        if (!connectedTo.empty())
            host.model.Find(NamedElement(step, "connectedTo", ctx, connectedTo))->connected.push_back(guid);
    };
}

StepAction ParsePlace(const JsonObject& step)
{
    step.Only({"do", "part", "name", "layer", "params", "at"});
    std::string part = step.String("part");
    std::string name = step.String("name");
    auto layer = ReadLayer(step, "layer");
    GdlParams params = ReadParams(step, "params");
    // Where the object stands: [x, y] or [x, y, level]; the origin when
    // not given.
    const bool hasAt = step.Has("at");
    const API_Coord3D at = hasAt ? ReadPoint3D(step, step.PathOf("at"), step.Raw().at("at")) : API_Coord3D{0, 0, 0};
    return [=](Host& host, RunContext& ctx) {
        if (host.libraries.IndexOfPart(part) == 0)
            step.Fail("part", "part '" + part + "' is not in an active library (add a loadLibrary step first)");
        Element& e = host.PlaceObject(part, params, layer);
        if (hasAt) {
            e.Object().pos = {at.x, at.y};
            e.Object().level = at.z;
        }
        if (!name.empty())
            ctx.names[name] = e.guid;
    };
}

StepAction ParseSelect(const JsonObject& step)
{
    step.Only({"do", "names", "all"});
    bool all = step.Bool("all", false);
    std::vector<std::string> names;
    for (USize i = 0; i < step.Array("names").size(); ++i)
        names.push_back(step.ItemString("names", i));
    return [=](Host& host, RunContext& ctx) {
        std::vector<API_Guid> guids;
        // Select All takes what the window shows: the elements of the
        // current database, not the copies in a detail drawing.
        if (all)
            for (const auto& e : host.model.Elements())
                if (e.database == host.model.currentDatabase)
                    guids.push_back(e.guid);
        for (const auto& n : names)
            guids.push_back(NamedElement(step, "names", ctx, n));
        host.user.ChangeSelection(guids);
    };
}

}  // namespace

void AddModelSteps(StepTable& table)
{
    table["loadLibrary"] = {ParseLoadLibrary};
    table["layer"] = {ParseLayer};
    table["addElement"] = {ParseAddElement};
    table["place"] = {ParsePlace};
    // The add-on hears of the new selection.
    table["select"] = {ParseSelect, Reach::AddOn};
}

}  // namespace SimHost
