#include "addon/schedule/ListExport.hpp"
#include "addon/services/CommandTrace.hpp"

// Built with the list export.
void ExportListToText() { TraceCommand("ExportListToText"); }
