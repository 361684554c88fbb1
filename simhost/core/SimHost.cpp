#include "simhost/core/SimHost.hpp"

namespace SimHost {

namespace {
Host* g_current = nullptr;
}  // namespace

void Host::MakeCurrent()
{
    previous = g_current;
    g_current = this;
}

void Host::RestorePrevious() { g_current = previous; }

Host* Host::Current() { return g_current; }

Element& Host::PlaceObject(const std::string& part, const GdlParams& overrides, Int32 layer)
{
    Element& e = model.Add(API_ObjectID, layer);
    ObjectPart& object = e.Object();
    object.libInd = libraries.IndexOfPart(part);
    if (const LibraryPartDef* def = libraries.PartOfIndex(object.libInd))
        object.params = def->defaults;
    for (const GdlParam& p : overrides) {
        bool replaced = false;
        for (auto& q : object.params)
            if (q.name == p.name) {
                q = p;
                replaced = true;
            }
        if (!replaced)
            object.params.push_back(p);
    }
    // A placed object has computed its parameters, as its script does.
    RecomputeObject(e);
    return e;
}

void Host::RecomputeObject(Element& e)
{
    const ObjectPart* object = e.As<ObjectPart>();
    if (object == nullptr)
        return;
    if (const LibraryPartDef* def = libraries.PartOfIndex(object->libInd)) {
        auto behaviour = libraries.behaviours.find(def->name);
        if (behaviour != libraries.behaviours.end())
            behaviour->second(*this, e);
    }
}

}  // namespace SimHost
