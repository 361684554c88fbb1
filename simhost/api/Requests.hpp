// The host's dispatching calls (HostEnvironment, HostInterface, HostUtility,
// HostAutomate, HostDatabase, HostToolCommand) take a four-letter request
// code. Each request is a handler registered by the file that models it:
//
//   static const RequestRegistration ntoe{RequestKind::Utility, "NTOE", &ElementTypeOf};
//
// An unregistered request answers the general error and records a fault.
#pragma once
#include "simhost/core/SimHost.hpp"

namespace SimHost {

enum class RequestKind { Environment, Interface, Utility, Automate, Database, ToolCommand };

using RequestHandler = GSErrCode (*)(Host& host, void* par1, void* par2, void* par3);

struct RequestRegistration {
    RequestRegistration(RequestKind kind, const char (&code)[5], RequestHandler handler);
};

GSErrCode DispatchRequest(Host& host, RequestKind kind, API_RequestCode code, void* par1, void* par2, void* par3);
std::string RequestCodeText(API_RequestCode code);

}  // namespace SimHost
