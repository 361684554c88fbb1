// Questions many commands ask the host, each in one place.
#pragma once
#include "platform/api/APIdefs.hpp"

// The element type of a selected item ('NTOE'); API_ZombieElemID, with the
// host's code, when the host cannot tell.
GSErrCode ElementTypeOf(const API_Neig& item, API_ElemTypeID& type);

// The host's selection: the items (only editable ones when asked) and the
// selection's kind (0: nothing selected). The marquee outline the host
// hands out with it is freed. The host's code comes back as it is:
// APIERR_NOSEL when nothing is selected.
GSErrCode ReadSelection(GS::Array<API_Neig>& items, Int32& kind, bool onlyEditable = true);

// The element record of `guid`, zeroed before the host fills it.
GSErrCode ReadElement(const API_Guid& guid, API_Element& element);
