#include "simhost/api/Requests.hpp"
#include "simhost/api/HostApi.hpp"
#include <type_traits>
#include <utility>

namespace SimHost {

namespace {

// A parameter as the request's line types it: data pointers come back with
// static_cast, a callback (a function pointer) with reinterpret_cast.
template <typename A> A Typed(void* p)
{
    if constexpr (std::is_function_v<std::remove_pointer_t<A>>)
        return reinterpret_cast<A>(p);
    else
        return static_cast<A>(p);
}

template <typename... A, size_t... I>
GSErrCode Invoke(RequestHandlers& handlers, GSErrCode (RequestHandlers::*handler)(A...), void* const* pars,
                 std::index_sequence<I...>)
{
    return (handlers.*handler)(Typed<A>(pars[I])...);
}

template <typename... A>
GSErrCode Invoke(RequestHandlers& handlers, GSErrCode (RequestHandlers::*handler)(A...), void* const* pars)
{
    return Invoke(handlers, handler, pars, std::index_sequence_for<A...>{});
}

GSErrCode Refuse(Host& host, const std::string& why, GSErrCode code)
{
    host.recorder.AddFault(why);
    return code;
}

}  // namespace

GSErrCode DispatchRequest(Host& host, HostSlot slot, API_RequestCode code, void* par1, void* par2, void* par3)
{
    host.recorder.requestLog.push_back(RequestCodeText(code));
    GSErrCode planned = NoError;
    if (host.faultPlan.RequestFails(code, planned)) {
        host.Requests().FailedByPlan(code);
        return planned;
    }
    void* const pars[3] = {par1, par2, par3};
    auto name = [&] { return std::string(HostSlotName(slot)) + " '" + RequestCodeText(code) + "'"; };
    switch (code) {
#define HOST_REQUEST(Code, Slot, Params, Args)                                                                     \
    case HostRequestTraits<HostRequestId::Code>::code:                                                            \
        if (slot != HostSlot::Slot)                                                                                \
            return Refuse(host, name() + ": the host takes '" #Code "' through " #Slot, APIERR_BADPARS);             \
        return Invoke(host.Requests(), &RequestHandlers::Code, pars);
#include "platform/api/HostRequests.def"
    default:
        return Refuse(host, "the stand-in host does not model " + name(), APIERR_GENERAL);
    }
}

GSErrCode HostApi::Environment(API_RequestCode code, void* par1, void* par2, void* par3)
{
    return DispatchRequest(host, HostSlot::Environment, code, par1, par2, par3);
}
GSErrCode HostApi::Interface(API_RequestCode code, void* par1, void* par2, void* par3)
{
    return DispatchRequest(host, HostSlot::Interface, code, par1, par2, par3);
}
GSErrCode HostApi::Utility(API_RequestCode code, void* par1, void* par2, void* par3)
{
    return DispatchRequest(host, HostSlot::Utility, code, par1, par2, par3);
}
GSErrCode HostApi::Automate(API_RequestCode code, void* par1, void* par2, void* par3)
{
    return DispatchRequest(host, HostSlot::Automate, code, par1, par2, par3);
}
GSErrCode HostApi::Database(API_RequestCode code, void* par1, void* par2, void* par3)
{
    return DispatchRequest(host, HostSlot::Database, code, par1, par2, par3);
}
GSErrCode HostApi::ToolCommand(API_RequestCode code, void* par1)
{
    return DispatchRequest(host, HostSlot::ToolCommand, code, par1, nullptr, nullptr);
}

}  // namespace SimHost
