// Writing a run's results back into the model: every member object gets its
// group's ID and data, complex objects new sub-bar IDs, and the cutting-list
// object its rows, all in one undoable step.
#pragma once
#include "addon/schedule/PlacementManager.hpp"
#include <string>

// Runs WriteResults as the host's undoable command "[zolva] Reinforcement".
// True only when the host ran the step and it completed: a step the host
// refused or took back wrote nothing, and the caller must not report
// success. Every failure is recorded on the manager's outcome, which the
// caller tells the user.
bool WriteResultsUndoable(PlacementManager& manager, IronGroups& groups, ComplexIronGroups* complexGroups,
                          const char* idPrefix);

// The body of the step: 0, or the code of the first member or list that
// could not be read or written (recorded on the manager's outcome), so that
// the host takes the step back.
GSErrCode WriteResults(PlacementManager& manager, IronGroups& groups, ComplexIronGroups* complexGroups,
                       const char* idPrefix);

// The new ID of sub-bar `r` (counted from 1) of a member of the complex
// group `groupId` at list position `position` (from 1); `oldId` is null for
// a sub-bar without an ID.
std::string NewSubBarId(const std::string* oldId, const std::string& groupId, Int32 position, Int32 r);

// The ID an individual member carries: "<prefix> - <id>", or the group ID
// alone without a prefix; at most 1023 bytes. A long prefix is cut so that
// " - <id>" always fits the 255 units of a parameter's text.
std::string MemberId(const char* idPrefix, const std::string& groupId);

// More groups than this show the rewriting phase with the host's warning
// look.
constexpr Int32 ManyGroups = 200;
