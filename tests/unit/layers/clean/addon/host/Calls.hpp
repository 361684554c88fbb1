#pragma once
#include <string>
#include <vector>
