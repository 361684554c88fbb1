// Keeping the reinforcement objects in step with the wall, slab or roof they
// are linked to, from inside the host's element notification: a changed
// element moves and reshapes its objects, a deleted one takes them along.
// Both change the model directly (the changes belong to the user's own
// step) and show no message, but for a roof of several planes that changed
// too much to keep its reinforcement.
//
// Values the update cannot compute are never written: the object keeps the
// value it has (and the change mask leaves the field out). In particular:
// - a wall object whose layer start point cannot be located keeps its
//   position, angle, outline, `et_thickness` and `ironAngleY`; its story,
//   level and curve values still follow the wall;
// - a face request that is no JSON object leaves the outline and
//   `ironAngleY`; one without a numeric "slantalpha" leaves `ironAngleY`
//   (the check for a curved wall with a slant then takes the wall's own
//   slant angle);
// - a wall object without `et_bSameDirection` does not tell which side it
//   lies on: only its story and level follow the wall;
// - a wall outline of other than four corners: the sides come from the
//   wall's own reference line, as when placing, and the object is updated
//   in full;
// - a slab whose state before the change cannot be read keeps its objects'
//   levels; a slab or roof whose outline cannot be read keeps its objects'
//   place and outline;
// - an object whose parameters cannot be read is not changed at all.
#pragma once
#include "platform/api/APIdefs.hpp"

void UpdateLinkedReinforcement(const API_Guid& hostElement);
void DeleteLinkedReinforcement(const API_Guid& hostElement);
