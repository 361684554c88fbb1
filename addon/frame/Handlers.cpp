#include "Handlers.hpp"
#include "Boundary.hpp"

// The menu commands, the reinforcement updates on element events and the
// palette's entry states come with their own modules; until then the
// handlers accept every call and do nothing.
GSErrCode MenuCommandHandler(const API_MenuParams*)
{
    return CallGuarded("MenuCommandHandler", APIERR_GENERAL, [] { return NoError; });
}

GSErrCode ElementEventHandler(const API_NotifyElementType*)
{
    return CallGuarded("ElementEventHandler", APIERR_GENERAL, [] { return NoError; });
}

GSErrCode SelectionChangeHandler(const API_Neig*)
{
    return CallGuarded("SelectionChangeHandler", APIERR_GENERAL, [] { return NoError; });
}
