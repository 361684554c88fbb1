#include "addon/walls/LayerAlert.hpp"

// The alert resource and its modal run come with the host's resource
// alerts; until then every layer is the last.
bool FinishAfterThisLayer() { return true; }
