// The reinforcement object of one layer for one wall, slab or roof: its
// position, angle, level and outline in the element's own frame, the
// placement parameters written into the layer's parameter handle, and the
// object created and linked to the element.
#pragma once
#include "addon/geometry/SegmentedPolygon.hpp"
#include "platform/api/APIdefs.hpp"

// The placement parameters of an object; the ones a host type does not set
// are left as the handle has them.
struct PlacementParams {
    double thickness = 0.0;
    bool wallReinforcement = false;
    double angleY = 0.0;
};

// Writes the placement parameters into every record of their names; names
// the handle lacks are skipped.
void WritePlacementParams(API_AddParType** params, const PlacementParams& values);

// One plane of a roof as the plane steps need it: the plane's outline is
// the memo's (openings already cut out).
struct RoofPlane {
    double level = 0.0;
    double thickness = 0.0;
    double slope = 0.0;
    API_Coord pivotBegin{};
    API_Coord pivotEnd{};
    bool posSign = false;
};

// The plane of a plane-roof record (a roof of class 0, or one plane the
// host hands out of a roof of several).
RoofPlane RoofPlaneOf(const API_Element& roof);

// Where the object of a roof plane goes.
struct PlanePlacement {
    API_Coord position{};
    double angle = 0.0;
    double level = 0.0;
    SegmentedPolygon polygon;
    GS::Array<double> status;
    PlacementParams params;
};

// Computes the object of one plane from its cut outline. False when there
// is nothing sound to place: an outline without vertices, a plane standing
// upright (its slope's cosine 0, so no true length exists across the
// pivot line), or a position, level or vertex that is not a finite number.
bool PlaceOnRoofPlane(const RoofPlane& plane, const API_ElementMemo& cutOutline, PlanePlacement& placement);

// The same plane placement from the plane's own outline: the outline with
// the openings cut out, as a fresh memo, then the plane steps. False when
// the outline cannot be converted or cut, or there is nothing sound to
// place (see PlaceOnRoofPlane).
bool PlaceOnCutRoofPlane(const API_Element& plane, const API_ElementMemo& outline, const GS::Array<API_Guid>& openings,
                         PlanePlacement& placement);

// A plane roof's outline in its memo with the roof's openings cut out (the
// memo stays as it was when the outline cannot be converted). The host's
// error when the roof's openings cannot be read.
GSErrCode CutRoofOpenings(const API_Element& roof, API_ElementMemo& memo);

// Where the object of a slab goes: at the outline's first vertex, turned
// by `angle`, the outline (with its vertex status) in that frame.
struct SlabPlacement {
    API_Coord position{};
    double angle = 0.0;
    SegmentedPolygon polygon;
    GS::Array<double> status;
};

// The slab's outline in the object's frame. Placing turns it by the picked
// edge (`pickedEdge`); an update, which has no pick, by the outline's first
// edge (`pickedEdge` null), so that a changed outline keeps a frame of its
// own. False for an outline without vertices or with a value that is not a
// finite number.
bool PlaceOnSlab(const API_ElementMemo& outline, const API_Sector* pickedEdge, SlabPlacement& placement);

// The level an object of the slab is placed at: the slab's level and its
// offset.
double SlabPlacementLevel(const API_SlabType& slab);

// The wall steps and checks placing and updating share.
namespace Placing {
// A side runs the wall's way when its angle is within 0.002 of the
// reference line's. The difference is not reduced modulo a full turn:
// sides at 179.9 and -179.9 degrees count as opposite.
bool SameDirection(double wallAngle, double sideAngle);
double Direction(const API_Coord& begin, const API_Coord& end);
// How far behind the layer the face request reaches on a side against the
// reference direction: 2 V + this. The update asks for a shallower face.
constexpr double PlacingBackDepth = 0.8;
constexpr double UpdatingBackDepth = 0.2;
double FaceEndDepth(double startDepth, bool sameDirection, double backDepth);
// `ironAngleY` from the slant: σ when the side's direction and the
// flipped flag differ, π − σ when they agree.
double IronAngleY(bool sameDirection, bool flipped, double slant);
// `et_curveangle`: the wall's arc angle, negated on a side that runs the
// wall's way.
double CurveAngleParam(double curveAngle, bool sameDirection);
// The layer's position across the wall: the last "LayerPosY" record, 0
// without one.
double LayerPosition(API_AddParType** params);
bool Finite(const API_Coord& c);
bool PolygonFinite(const SegmentedPolygon& polygon);
// An outline an object can be given: every coordinate finite, at least
// three distinct contour points and an area above MinOutlineArea.
constexpr double MinOutlineArea = 1e-9;
bool UsableOutline(const SegmentedPolygon& polygon);
}  // namespace Placing

// What became of one element's object.
enum class PlacingResult {
    Done,       // placed, linked and observed (one object per plane of a roof of several)
    NoOutline,  // the element's geometry gives no usable outline: no object (a roof of
                // several planes: some plane got none)
    Failed,     // a host call failed: the step is to be taken back
};

// Makes the object of one layer setting (template, parameter handle,
// picked side or edge) for the element, links it and attaches the element
// observer; a roof of several planes gets one object per plane. Any host
// call for the element that answers an error (its read, its outline, the
// wall's description, the creation, link, user data, re-evaluation or
// observer) makes the result Failed, whatever was made by then.
PlacingResult GenerateHostReinforcement(const API_Guid& hostElement, const API_Element& objectTemplate,
                                        API_AddParType** params, const API_Sector& sector);
