// Reinforcement objects linked to the wall, slab or roof they reinforce,
// and the outline parameter `et_coords` they carry.
//
// `et_coords` is an array of rows (status, x, y): the contour's vertices in
// ring order and a closing row (-1, x0, y0) repeating its first vertex,
// then each hole the same way. Vertex rows carry the slab's vertex status
// (0 ordinary, 1 an arc begins, 2 a point inserted on an arc) when the
// object belongs to a slab, and 0 otherwise. An empty ring writes no rows
// and reserves none, so the array's first dimension is always the number
// of rows it holds.
#pragma once
#include "addon/geometry/SegmentedPolygon.hpp"
#include "platform/api/APIdefs.hpp"
#include <array>

// The part id of one plane of a multi-plane roof.
using PlanePartIdValues = std::array<Int32, 3>;

// The element user data that marks an object made for one roof plane.
namespace PlanePartId {
constexpr Int16 Version = 1;
constexpr UInt16 PlatformSign = 0x5757;
constexpr Int64 DataSize = 3 * static_cast<Int64>(sizeof(Int32));
inline bool IsSet(const PlanePartIdValues& id) { return id[0] != 0 || id[1] != 0 || id[2] != 0; }
}  // namespace PlanePartId

// The rows of `et_coords` for the polygon, row by row (3 values a row).
// With `status`, vertex row k carries its entry k (0 past its end);
// without, every vertex row carries 0.
GS::Array<double> PolygonCoordRows(const SegmentedPolygon& polygon, const GS::Array<double>* status);

// Writes the polygon into every `et_coords` record of the memo's parameter
// handle; a handle without one is left as it is.
void WritePolygonCoordsParam(const SegmentedPolygon& polygon, API_ElementMemo& memo);
void WritePolygonCoordsParamWithStatus(const SegmentedPolygon& polygon, API_ElementMemo& memo, GS::Array<double> status);

// Creates an object from the template (an object element record) and the
// parameter handle, its outline written into `et_coords` (with the vertex
// status when the host element is a slab), on the story, linked to the
// host element, marked with the plane's part id when it is not all zeros,
// and its parameters computed again by the host. The parameter handle
// stays the caller's. The first host call that fails (the host element's
// read included) ends it with that call's error, and so does a part id
// that finds no memory: the caller's undoable step is then to be taken
// back, since an object half made (no outline of its own, not linked, not
// marked) would not follow its element.
GSErrCode CreateLinkedObject(const API_Guid& hostElement, Int16 story, const API_Element& objectTemplate,
                             API_AddParType** params, const SegmentedPolygon& polygon, const PlanePartIdValues& partId,
                             GS::Array<double> status);
