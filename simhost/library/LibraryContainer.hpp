// The object library container: our own readable text format.
//
//   # comment
//   container "<title>"
//   part <name> "<unique id>" <part type>
//     number  <param> <value>
//     text    <param> "<text>"
//     numbers <param> <rows> <cols> : <value> ...   (row by row; missing values are 0)
//     texts   <param> <rows> <cols> : "<text>" ...
//   end
//
// A broken container (unreadable, a part without unique ID, a parameter of
// unknown shape) is refused with the file, the line and the entry.
#pragma once
#include "simhost/model/Model.hpp"
#include <string>
#include <vector>

namespace SimHost {

struct LibraryPartDef {
    std::string name;      // the part's file name in the library, e.g. "rf_rebar"
    std::string uniqueId;  // "{main}-{revision}"
    Int32 partType = 4;
    GdlParams defaults;
};

struct LibraryContainer {
    std::string title;
    std::vector<LibraryPartDef> parts;
};

// Reads a container; false with the reason ("file:line: ...") on refusal.
bool ReadLibraryContainer(const std::string& path, LibraryContainer& out, std::string& error);

}  // namespace SimHost
