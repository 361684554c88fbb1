// The polygon of an element memo as the geometry library's Polygon2DData,
// back again, and the cutting of openings out of it.
//
// The roof code calls MemoToPolygonData, CutOpeningsFromPolygon, then
// PolygonDataToMemo into the same memo and the element's polygon counts, and
// builds its SegmentedPolygon from that memo. The handles written into the
// memo belong to the memo and go with it (HostDisposeMemo).
#pragma once
#include "platform/api/APIdefs.hpp"
#include "platform/geometry/Polygon2DData.hpp"

// Copies the memo's coordinates, contour ends and arcs into a fresh `pd`
// (its former content is not looked at) with the bounding box computed. The
// counts come from the handles' sizes; a partial record at a handle's end is
// left out. A missing arc handle gives no arcs. APIERR_MEMFULL when a handle
// cannot be allocated; pd is then released.
GSErrCode MemoToPolygonData(const API_ElementMemo& memo, Geometry::Polygon2DData& pd);

// Writes pd into new memo handles and `counts`. The memo's former polygon
// handles are freed, its arc handle included, so that no arc record of the
// former polygon is left to be read against the new vertices: when pd has
// no arc handle the memo's arc handle is null. APIERR_MEMFULL when a handle
// cannot be allocated; the memo and counts are then left as they were.
GSErrCode PolygonDataToMemo(const Geometry::Polygon2DData& pd, API_Polygon& counts, API_ElementMemo& memo);

// Keeps the largest polygon of pd and cuts the host's shape of each opening
// out of it in list order, keeping the largest remaining piece each time. An
// opening whose shape the host cannot give is skipped; one that would leave
// nothing leaves the polygon as it was before it. When the geometry library
// fails (malformed pd, out of memory, an error in the polygon arithmetic)
// pd is left unchanged and nothing escapes.
void CutOpeningsFromPolygon(Geometry::Polygon2DData& pd, const GS::Array<API_Guid>& openings);
