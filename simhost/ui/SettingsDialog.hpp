// The object tool's settings dialog ('SETD') as the scripted user answers
// it: the library part chosen (by name; empty keeps the tool's part) and
// the parameter values typed, or a cancel.
#pragma once
#include "simhost/model/Model.hpp"
#include <string>

namespace SimHost {

struct SettingsDialogAnswer {
    bool cancel = false;
    std::string part;
    GdlParams params;
};

}  // namespace SimHost
