// The handlers the add-on installs into the host at initialisation.
#pragma once
#include "api/APIdefs.hpp"

GSErrCode MenuCommandHandler(const API_MenuParams* menuParams);
GSErrCode ElementEventHandler(const API_NotifyElementType* elemType);
GSErrCode SelectionChangeHandler(const API_Neig* selElemNeig);
