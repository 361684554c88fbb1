// A picture of the model's plan as the run left it, so that a person sees
// at a glance what was placed where: walls, slabs, roofs and openings; each
// reinforcement object moved and turned by its position and angle: a mesh
// as its `et_coords` outline (an object of a wall as a line along the
// wall's side; an object in a sloped roof plane projected into the plan), a
// bar as the line of its segments, a complex object (beam, crowning,
// column) as the box its bars span, a list as its table with its cells'
// texts. Each detail drawing is drawn beside the plan in a titled frame of
// its own. The picture has the drawing's proportions (50 pixels a metre,
// its longer side at most 4000 pixels).
#pragma once
#include "simhost/model/Model.hpp"
#include <string>

namespace SimHost {

std::string PlanSvg(const Model& model);
bool WritePlanSvg(const Model& model, const std::string& path);

}  // namespace SimHost
