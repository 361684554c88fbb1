// The host's active libraries: the containers added (by the user or by
// 'ALIB'), their parts numbered across them from 1, and what each part
// computes when the host asks an object to recompute its parameters.
#pragma once
#include "platform/io/Location.hpp"
#include "simhost/library/LibraryContainer.hpp"
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace SimHost {

class Host;

struct ActiveLibrary {
    IO::Location location;
    LibraryContainer container;
};

// What a part computes when the host asks an object to recompute its
// parameters ('RPAS'): the behaviour its GDL script would have.
using PartBehaviour = std::function<void(Host&, Element&)>;

class ActiveLibraries {
public:
    // The behaviours of the bars (library/BarBehaviour), the complex objects
    // (library/ComplexBehaviour) and the list (library/ListBehaviour) are
    // installed from the start.
    // `events`: the host's events, which hear of every library added.
    explicit ActiveLibraries(std::vector<std::string>& events);

    // Adds a container to the active libraries, as 'ALIB' does; false with
    // the reason when the container cannot be read.
    bool Activate(const IO::Location& location, std::string& error);
    // Library index (1-based, across the active libraries) of the first
    // part with that name, or 0.
    Int32 IndexOfPart(const std::string& name) const;
    const LibraryPartDef* PartOfIndex(Int32 libInd) const;
    // The library container the add-on file at `addOnFile` looks for beside it.
    static std::string ContainerBeside(const std::string& addOnFile);

    std::vector<ActiveLibrary> active;
    std::map<std::string, PartBehaviour> behaviours;  // by part name
    // Parts whose script also runs whenever their parameters are changed
    // (the list's table follows its data at once, as the host shows it).
    std::set<std::string> recomputedOnChange{"rf_list"};
    void ParamsChanged(Host& host, Element& e) const;

private:
    std::vector<std::string>& events;
};

}  // namespace SimHost
