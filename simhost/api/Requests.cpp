#include "simhost/api/Requests.hpp"
#include "simhost/api/HostApi.hpp"
#include <map>

namespace SimHost {

namespace {
std::map<std::pair<RequestKind, API_RequestCode>, RequestHandler>& Registry()
{
    static std::map<std::pair<RequestKind, API_RequestCode>, RequestHandler> registry;
    return registry;
}

const char* KindName(RequestKind kind)
{
    switch (kind) {
    case RequestKind::Environment: return "Environment";
    case RequestKind::Interface: return "Interface";
    case RequestKind::Utility: return "Utility";
    case RequestKind::Automate: return "Automate";
    case RequestKind::Database: return "Database";
    case RequestKind::ToolCommand: return "ToolCommand";
    }
    return "?";
}
}  // namespace

RequestRegistration::RequestRegistration(RequestKind kind, const char (&code)[5], RequestHandler handler)
{
    Registry()[{kind, RequestCode(code)}] = handler;
}

std::string RequestCodeText(API_RequestCode code)
{
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8)
        s.push_back(static_cast<char>((code >> shift) & 0xFF));
    return s;
}

GSErrCode DispatchRequest(Host& host, RequestKind kind, API_RequestCode code, void* par1, void* par2, void* par3)
{
    host.requestLog.push_back(RequestCodeText(code));
    GSErrCode injected = NoError;
    if (host.InjectedRequestFailure(code, injected))
        return injected;
    auto it = Registry().find({kind, code});
    if (it == Registry().end()) {
        host.AddFault(std::string("the stand-in host does not model ") + KindName(kind) + " '" + RequestCodeText(code) + "'");
        return APIERR_GENERAL;
    }
    return it->second(host, par1, par2, par3);
}

GSErrCode HostApi::Environment(API_RequestCode code, void* par1, void* par2, void* par3)
{
    return DispatchRequest(host, RequestKind::Environment, code, par1, par2, par3);
}
GSErrCode HostApi::Interface(API_RequestCode code, void* par1, void* par2, void* par3)
{
    return DispatchRequest(host, RequestKind::Interface, code, par1, par2, par3);
}
GSErrCode HostApi::Utility(API_RequestCode code, void* par1, void* par2, void* par3)
{
    return DispatchRequest(host, RequestKind::Utility, code, par1, par2, par3);
}
GSErrCode HostApi::Automate(API_RequestCode code, void* par1, void* par2, void* par3)
{
    return DispatchRequest(host, RequestKind::Automate, code, par1, par2, par3);
}
GSErrCode HostApi::Database(API_RequestCode code, void* par1, void* par2, void* par3)
{
    return DispatchRequest(host, RequestKind::Database, code, par1, par2, par3);
}
GSErrCode HostApi::ToolCommand(API_RequestCode code, void* par1)
{
    return DispatchRequest(host, RequestKind::ToolCommand, code, par1, nullptr, nullptr);
}

}  // namespace SimHost
