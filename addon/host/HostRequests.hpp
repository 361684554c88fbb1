// One typed wrapper per host request of platform/api/HostRequests.def:
// HostRequest::NTOE(&item, &type) sends 'NTOE' through the call the list
// names, with the parameters in par1, par2 and par3 and the rest null. An
// empty slot answers as the slot's wrapper does.
#pragma once
#include "platform/api/HostRequests.hpp"

namespace HostRequest {
#define HOST_REQUEST(Code, Slot, Params, Args) GSErrCode Code Params;
#include "platform/api/HostRequests.def"
}  // namespace HostRequest
