// The modeless palette of the add-on.
#pragma once
#include "api/APIdefs.hpp"

// The host's messages for the registered palette.
GSErrCode PaletteControlCallback(Int32 referenceID, Int32 messageID, GS::IntPtr param);
