#include "simhost/library/ActiveLibraries.hpp"
#include "simhost/library/BarBehaviour.hpp"
#include "simhost/library/ComplexBehaviour.hpp"
#include "simhost/library/ListBehaviour.hpp"

namespace SimHost {

ActiveLibraries::ActiveLibraries(std::vector<std::string>& e) : events(e)
{
    for (const char* bar : {"rf_rebar", "rf_single_rebar", "rf_stirrup"})
        behaviours[bar] = [](Host&, Element& e) {
            if (ObjectPart* object = e.As<ObjectPart>())
                ComputeBarListing(*object);
        };
    for (const char* complex : {"rf_beam", "rf_crowning", "rf_column"})
        behaviours[complex] = [](Host&, Element& e) {
            if (ObjectPart* object = e.As<ObjectPart>())
                ComputeComplexBounding(*object);
        };
    behaviours["rf_list"] = [](Host&, Element& e) {
        if (ObjectPart* object = e.As<ObjectPart>())
            ComputeListTable(*object);
    };
}

void ActiveLibraries::ParamsChanged(Host& host, Element& e) const
{
    const ObjectPart* object = e.As<ObjectPart>();
    const LibraryPartDef* part = object != nullptr ? PartOfIndex(object->libInd) : nullptr;
    if (part == nullptr || recomputedOnChange.count(part->name) == 0)
        return;
    auto behaviour = behaviours.find(part->name);
    if (behaviour != behaviours.end())
        behaviour->second(host, e);
}

bool ActiveLibraries::Activate(const IO::Location& location, std::string& error)
{
    ActiveLibrary lib;
    lib.location = location;
    if (!ReadLibraryContainer(location.ToPath(), lib.container, error))
        return false;
    active.push_back(std::move(lib));
    events.push_back("library added: " + location.ToPath());
    return true;
}

std::string ActiveLibraries::ContainerBeside(const std::string& addOnFile)
{
    IO::Location loc(addOnFile);
    loc.DeleteLastLocalName();
    loc.AppendToLocal(IO::Name(HOST_VERSION == 25 ? "Zolva_Reinforcement_SLO.lcf" : "Zolva_Reinforcement.lcf"));
    return loc.ToPath();
}

const LibraryPartDef* ActiveLibraries::PartOfIndex(Int32 libInd) const
{
    Int32 index = 0;
    for (const auto& lib : active)
        for (const auto& part : lib.container.parts)
            if (++index == libInd)
                return &part;
    return nullptr;
}

Int32 ActiveLibraries::IndexOfPart(const std::string& name) const
{
    Int32 index = 0;
    for (const auto& lib : active)
        for (const auto& part : lib.container.parts) {
            ++index;
            if (part.name == name)
                return index;
        }
    return 0;
}

}  // namespace SimHost
