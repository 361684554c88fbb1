// The host's side of every request of platform/api/HostRequests.def: one
// member function per request, named by its code and taking its typed
// parameters, defined by the file of its domain (Elements.cpp: 'NTOE',
// 'RPAS', 'CABO', 'GOFS'; Connections.cpp: 'GSHP'; Libraries.cpp: 'GLIB', 'ALIB';
// Progress.cpp: the progress window, 'ISSG', 'SUSP'). A handler checks its
// arguments as a host does: a null pointer it needs is APIERR_BADPARS, an
// unknown element APIERR_BADID.
//
// The dispatching calls hand every request to DispatchRequest, which logs
// it, applies planned request failures and calls the handler with the
// parameters typed. A code the list does not hold, or one sent through
// another call than the list names, answers an error and is recorded as
// the add-on's fault.
#pragma once
#include "platform/api/HostRequests.hpp"
#include "simhost/core/SimHost.hpp"
#include "simhost/ui/ScriptedUser.hpp"

namespace SimHost {

class RequestHandlers {
public:
    explicit RequestHandlers(Host& host) : host(host) {}

#define HOST_REQUEST(Code, Slot, Params, Args) GSErrCode Code Params;
#include "platform/api/HostRequests.def"

    // The host failed the request by plan: what the host leaves behind
    // then is its own doing (a window it failed to close is not the
    // add-on's fault).
    void FailedByPlan(API_RequestCode code);

private:
    Host& host;
};

GSErrCode DispatchRequest(Host& host, HostSlot slot, API_RequestCode code, void* par1, void* par2, void* par3);

}  // namespace SimHost
