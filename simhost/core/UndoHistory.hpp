// The host's undo history: every undoable command the add-on ran is a named
// step that keeps the model as it was before it, so that undoing the step
// puts the whole model back at once.
//
// Elements are created, changed and deleted (and user data written) only
// inside an undoable command or inside a notification the host sends
// (whose changes join the user's own step); elsewhere the host refuses the
// change with APIERR_NEEDSUNDOSCOPE, as a real host does.
#pragma once
#include "simhost/model/Model.hpp"
#include <string>
#include <vector>

namespace SimHost {

struct UndoStep {
    std::string name;  // UTF-8, as the undo menu shows it
    ModelState before;
};

class UndoHistory {
public:
    bool InUndoScope() const { return commandDepth > 0 || notificationDepth > 0; }
    // The name of the last step that can be undone, or null.
    const std::string* LastStepName() const { return steps.empty() ? nullptr : &steps.back().name; }

    std::vector<UndoStep> steps;      // steps that can be undone, oldest first
    std::vector<std::string> undone;  // names of the steps the user took back, in order
    Int32 commandDepth = 0;           // undoable commands running now
    Int32 notificationDepth = 0;      // notifications to the add-on running now
};

// A notification to the add-on in which it may change the model.
class NotificationScope {
public:
    explicit NotificationScope(UndoHistory& history) : history(history) { ++history.notificationDepth; }
    ~NotificationScope() { --history.notificationDepth; }
    NotificationScope(const NotificationScope&) = delete;
    NotificationScope& operator=(const NotificationScope&) = delete;

private:
    UndoHistory& history;
};

}  // namespace SimHost
