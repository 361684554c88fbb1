// GDL parameters as the host hands them to an add-on: a handle of
// API_AddParType records back to back, arrays in value handles of their own.
#pragma once
#include "simhost/model/Model.hpp"
#include <string>

namespace SimHost {

API_AddParType** BuildParamHandle(const GdlParams& params);
// Frees the records' value handles and the handle itself; nulls *handle.
void KillParamHandle(API_AddParType*** handle);
// Reads a handle an add-on passes in. False, with the reason, when it is not
// a whole number of records or a value handle does not match its dimensions.
bool ReadParamHandle(API_AddParType** handle, GdlParams& out, std::string& fault);

}  // namespace SimHost
