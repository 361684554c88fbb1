// Keeping the reinforcement objects in step with the wall, slab or roof they
// are linked to, from inside the host's element notification: a changed
// element moves and reshapes its objects, a deleted one takes them along.
// Both change the model directly (the changes belong to the user's own
// step).
//
// Every object is changed whole or left exactly as it was: all its values
// are computed first and sent in one change, and an object whose values
// cannot all be computed, or whose computation met a host call that failed,
// is not changed at all. The user is told once per notification how many
// objects could not be kept in step. In particular:
// - when the element, its outline, its state before the change or its
//   wall sides cannot be read, none of its objects changes;
// - a linked object that cannot be read, or whose parameters cannot be
//   read, is left as it was (and counted); a linked element that is no
//   object is no concern of the update;
// - a wall object whose layer start point cannot be located, whose face
//   reply gives no usable outline, or whose request holds no numeric
//   "slantalpha" stays as it was;
// - a wall object without `et_bSameDirection` does not tell which side it
//   lies on: only its story and level follow the wall;
// - a wall outline of other than four corners: the sides come from the
//   wall's own reference line, as when placing, and the object is updated
//   in full;
// - a curved wall that leans stops the update silently, its objects as
//   they were;
// - a roof of several planes deletes nothing when some plane's object
//   cannot be told for a read that failed.
// The only other message is the one of a roof of several planes that
// changed too much to keep its reinforcement.
#pragma once
#include "platform/api/APIdefs.hpp"

void UpdateLinkedReinforcement(const API_Guid& hostElement);
void DeleteLinkedReinforcement(const API_Guid& hostElement);
