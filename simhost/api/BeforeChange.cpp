// The state of an element before the user's change. The stand-in host keeps
// none yet: there is no change in progress to answer for.
#include "simhost/api/HostApi.hpp"

namespace SimHost {

GSErrCode HostApi::GetElementBeforeChange(API_Element* element, API_ElementMemo*, UInt64, UInt32)
{
    return element == nullptr ? APIERR_BADPARS : APIERR_GENERAL;
}

}  // namespace SimHost
