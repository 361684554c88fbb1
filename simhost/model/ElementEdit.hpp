// A change the user makes to an element with the host's own tools: the
// element moved or turned, its settings changed, its outline redrawn, a
// roof's planes added or removed. Every value is optional: what is given
// changes, everything else stays as it was.
#pragma once
#include "simhost/model/Model.hpp"
#include <optional>
#include <string>
#include <vector>

namespace SimHost {

struct ElementEdit {
    // Moved by this vector and turned by this angle (radians,
    // counter-clockwise) about `about`; without a centre an element turns
    // about its own reference point (a wall's begin, an outline's first
    // vertex, a roof's first plane's first vertex, an object's position).
    std::optional<API_Coord> move;
    std::optional<double> rotate;
    std::optional<API_Coord> about;

    // Walls.
    std::optional<double> height, bottomOffset, arcAngle, slantAlpha, slantBeta;
    std::optional<Int32> slantCode, structure, composite;
    std::optional<bool> flipped;
    // Walls, slabs and roofs (on a roof of several planes: every plane).
    std::optional<double> thickness;
    // Slabs, roofs (every plane) and objects.
    std::optional<double> level;
    // Slabs: the offset from the level.
    std::optional<double> offset;
    // Roofs: the slope (radians; every plane of a roof of several).
    std::optional<double> slope;
    // Slabs and plane roofs: the outline and its holes.
    std::optional<PolygonRings> outline;
    // Roofs: the class; all the planes anew (a plane roof becomes a roof of
    // several planes, class 1, unless a class is given); planes added and
    // planes removed by part id.
    std::optional<Int32> roofClass;
    std::optional<std::vector<RoofPlaneDef>> planes;
    std::vector<RoofPlaneDef> addPlanes;
    std::vector<API_ElemPartId> removePlanes;

    // Only the element's place or shape changes (the host's edit tools, the
    // element event 4); any setting makes it a change of settings (event 3).
    bool IsShapeEdit() const;
    // The name of the user's action, as the undo step is named.
    std::string ActionName() const;
};

// Applies the edit to the element. False, with the reason and the element
// left as it was, when a part of the edit does not fit the element: a key
// for another type of element, a composite the model does not define, a
// plane to remove that the roof lacks, a plane id given twice.
bool ApplyEdit(const ElementEdit& edit, const Model& model, Element& element, std::string& why);

}  // namespace SimHost
