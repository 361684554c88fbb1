// The plan as the host draws it into a picture: the outlines of the
// model's elements (model coordinates, shared by whatever draws the plan)
// and their drawing into pixels within a box.
#pragma once
#include "platform/api/APIdefs.hpp"
#include "platform/gx/JpegCodec.hpp"
#include "simhost/model/Model.hpp"
#include <vector>

namespace SimHost {

struct PlanShape {
    enum class Kind { Object, Section, Opening, Wall };
    Kind kind = Kind::Object;
    const Element* element = nullptr;
    // Closed rings (the last point joins the first).
    std::vector<std::vector<API_Coord>> rings;
    // Marked points: an object without footprint; the sections of a complex
    // object's bars, each with its diameter (model units) in `diameters`.
    std::vector<API_Coord> points;
    std::vector<double> diameters;
};

// The outlines of the elements the window shows: those of the current
// database on shown layers of the current story, in the model's order. An object is its footprint
// (A x B from its origin, turned by its angle; a small cross where it has
// none); an object whose "bShowSection" is above 0.1 is drawn in its
// section instead: the box of the first four values of "ironBounding"
// (x and y minimum, x and y maximum, in model coordinates) with its bars'
// sections as discs of their diameters (library/ComplexBehaviour). An opening is its plan outline, a
// wall its plan polygon (arcs drawn as their chords).
std::vector<PlanShape> PlanOutlines(const Model& model);

// The box that holds every outline (a unit box about the origin when there
// is nothing to draw).
API_Box DrawingExtent(const std::vector<PlanShape>& shapes);

// Draws the shapes, the box fitted into the picture with its proportions
// kept (y upward), on white; in black only when `blackAndWhite`.
GX::Jpeg::Pixels DrawPlan(const std::vector<PlanShape>& shapes, const API_Box& box, UInt32 width, UInt32 height,
                          bool blackAndWhite);

}  // namespace SimHost
