#include "addon/services/Globals.hpp"
#include "addon/host/Calls.hpp"
#include <addon/host/Calls.hpp>
#include <map>
