// Re-assembling complex elements that already stand in the model from the
// bars of a new selection: the complex objects rewritten with the values a
// new element gets, the element's detail drawing brought up to date through
// the links on its bar copies, and, when asked for, its cutting list.
#pragma once
#include "addon/complex/ComplexKind.hpp"
#include "addon/schedule/PlacementManager.hpp"
#include <string>

// Runs inside the edit command's undoable step, after the bars received
// their new IDs. `groups` holds the bars in the order the passes left them
// (the sub-bar order); `objects` the complex objects to rewrite; `listGuid`
// an rf_list selected with the bars, or the null GUID; a list is filled only
// when `withList`. True when the update ran to its end (also when the user
// gave no point for a new list); false when it stopped at a missing part,
// a detail drawing whose objects could not be listed, or a list that could
// not be made or did not recompute.
//
// Choices where the element is left open to interpretation:
// - the detail drawing is found by its reference ID compared with the ID as
//   it was stored there (cut to the field's 255 characters), so that an
//   element with a long ID finds its own drawing again;
// - an overwritten copy leaves its bar's group, as a new copy does: a copy in
//   a detail drawing is never a member of a group of the model;
// - a copy whose user data is shorter than a link record is the user's own
//   object and stays as it is;
// - a selected list is written on its own layer, which is unlocked for the
//   write when locked and locked again afterwards; a new list goes onto the
//   layer of the complex object rewritten last;
// - an object, bar or list that cannot be read, and a write that fails,
//   end the update with that code (nothing read is ever written back half
//   read), so that the edit's step is taken back whole; a complex object on
//   a locked layer is opened for its change and locked again.
GSErrCode UpdateComplexElement(const ObjectModifier& modifier, const IronGroups& groups,
                               const GS::VAArray<API_Guid>& objects, const std::string& id, const API_Guid& listGuid,
                               bool withList);
