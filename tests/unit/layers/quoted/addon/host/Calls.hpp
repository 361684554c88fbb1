#pragma once
#include <string>
#include "addon/services/Globals.hpp"
