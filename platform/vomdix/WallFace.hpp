// The wall-geometry library's work: the outline of a wall face at a depth,
// from a wall description, as reply text.
#pragma once
#include <string>

namespace VOMDIX {

// The reply to a wall description: {"polygons":[{"loops":[...],"outerIndex":0}, ...]}
// with x along the wall and z above its base (see docs/ARCHITECTURE.md).
// An empty text when the description is not a usable wall.
std::string ComputeWallFaceReply(const std::string& request);

}  // namespace VOMDIX
