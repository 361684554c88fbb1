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

// Makes the object of one layer setting (template, parameter handle,
// picked side or edge) for the element, links it and attaches the element
// observer; a roof of several planes gets one object per plane. Elements
// that cannot be read, or whose outline cannot be read, get nothing.
void GenerateHostReinforcement(const API_Guid& hostElement, const API_Element& objectTemplate, API_AddParType** params,
                               const API_Sector& sector);
