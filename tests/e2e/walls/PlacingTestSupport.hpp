// What the placing tests give the stand-in host: numeric parameters and the
// user's answer to the object settings dialog.
#pragma once
#include "simhost/model/Model.hpp"
#include "simhost/ui/SettingsDialog.hpp"
#include <utility>

namespace PlacingTest {

inline SimHost::GdlParam Number(const char* name, double value)
{
    SimHost::GdlParam p;
    p.name = name;
    p.kind = SimHost::GdlParam::Kind::Number;
    p.number = value;
    return p;
}

// The settings dialog's answer for one layer: the part chosen and the
// values typed.
inline SimHost::SettingsDialogAnswer Layer(const char* part, SimHost::GdlParams params = {})
{
    SimHost::SettingsDialogAnswer a;
    a.part = part;
    a.params = std::move(params);
    return a;
}

}  // namespace PlacingTest
