// The steps around every command the user starts from the menus and the
// palette.
#pragma once
#include "addon/services/LibraryParts.hpp"
#include "addon/services/PreCommand.hpp"

// A command the user starts from a menu or the palette. Its result is a
// host error code, 0 when it is done; a command shows its own messages.
using AddOnCommand = GSErrCode (*)();

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
// The result is the check's code when it refuses, else the command's.
template <typename F> GSErrCode RunCheckedCommand(F&& command)
{
    EnsureLibraryLoaded();
    GSErrCode err = NoError;
    WithSuspendedGroups([&] {
        err = CheckLibraryAndSelection();
        if (err == NoError)
            err = command();
    });
    return err;
}
