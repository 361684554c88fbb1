#include "addon/schedule/ListExport.hpp"

// Built with the list export.
void ExportListToText() {}
