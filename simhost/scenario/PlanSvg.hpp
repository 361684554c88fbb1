// A picture of the model's plan as the run left it: walls, slabs, roofs
// and openings, and each reinforcement object's outline from its
// `et_coords`, moved and turned by its position and angle (an object of a
// wall drawn as a line along the wall's side), so that a person sees at a
// glance what was placed where. Each detail drawing is drawn beside the
// plan in a titled frame of its own.
#pragma once
#include "simhost/model/Model.hpp"
#include <string>

namespace SimHost {

std::string PlanSvg(const Model& model);
bool WritePlanSvg(const Model& model, const std::string& path);

}  // namespace SimHost
