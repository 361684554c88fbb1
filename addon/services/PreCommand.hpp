// What runs before every palette command.
#pragma once
#include "platform/api/APIdefs.hpp"

// Switches the host's suspend-groups mode on for the length of a command,
// if it was off, and back off afterwards if it was switched on.
class SuspendGroupsBracket {
public:
    void Before();
    void After();

private:
    bool toggledOn = false;
};

// Checks that the ten library parts exist and that every selected object of
// the add-on's parts accepts this add-on version. 0: the command may run;
// any other code: it must not (the user has been told, except for host
// errors).
GSErrCode CheckLibraryAndSelection();
