// The polygon of an element memo as the geometry library's Polygon2DData,
// back again, and the cutting of openings out of it.
//
// The roof code calls MemoToPolygonData, CutOpeningsFromPolygon (services/
// OpeningShapes, which asks the host for the shapes and runs
// CutShapesFromPolygon), then PolygonDataToMemo into the same memo and the
// element's polygon counts, and builds its SegmentedPolygon from that memo. The handles written into the
// memo belong to the memo and go with it (HostDisposeMemo).
#pragma once
#include "platform/api/APIdefs.hpp"
#include "platform/geometry/Polygon2DData.hpp"
#include <functional>

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

// The shape of an opening, or null when there is none to cut.
using OpeningShapeSource = std::function<Geometry::CorePolygon2DPtr(const API_Guid&)>;

// Keeps the largest polygon of pd and cuts the shape of each opening out of
// it in list order, keeping the largest remaining piece each time; shapeOf
// is asked for each opening as its turn comes. An opening without a shape is
// skipped, and so is one the geometry library cannot subtract (a coordinate
// that is not finite, an arc of a full turn or more, an error of the polygon
// arithmetic): the other openings are still cut. One that would leave
// nothing leaves the polygon as it was before it.
// Throws GeometryException for malformed pd or an outline that is not
// IsValid, std::bad_alloc, or what shapeOf throws; pd is then unchanged.
void CutShapesFromPolygon(Geometry::Polygon2DData& pd, const GS::Array<API_Guid>& openings, const OpeningShapeSource& shapeOf);
