#pragma once
#include <string>
#  include <simhost/core/SimHost.hpp>
