// The steps around every command the user starts from the menus and the
// palette.
#pragma once
#include "addon/services/LibraryParts.hpp"
#include "addon/services/PreCommand.hpp"

// Runs `body` with the host's suspend-groups mode on, and restores the mode
// afterwards: also when the body fails with an exception, so that a failed
// command does not leave the mode switched on.
template <typename F> void WithSuspendedGroups(F&& body)
{
    SuspendGroupsBracket bracket;
    bracket.Before();
    try {
        body();
    } catch (...) {
        bracket.After();
        throw;
    }
    bracket.After();
}

// The steps before every palette command: the object library is made sure
// of (its result is not examined: the check reports missing parts), then,
// with the suspend-groups mode on, the command runs if the check passes.
template <typename F> void RunCheckedCommand(F&& command)
{
    EnsureLibraryLoaded();
    WithSuspendedGroups([&] {
        if (CheckLibraryAndSelection() == NoError)
            command();
    });
}
