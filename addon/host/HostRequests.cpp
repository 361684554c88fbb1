#include "addon/host/HostRequests.hpp"
#include "addon/host/HostCalls.hpp"

namespace {

// The host's dispatching calls take untyped pointers; what the host does
// with them is fixed by the request's line of the list.
template <typename T> void* Par(T* p) { return const_cast<void*>(static_cast<const void*>(p)); }
// A callback the host calls back (the point input's rubber-line callback)
// travels in the same untyped pointer.
template <typename R, typename... P> void* Par(R (*f)(P...)) { return reinterpret_cast<void*>(f); }

template <HostRequestId R, typename... A> GSErrCode Send(A... args)
{
    using Traits = HostRequestTraits<R>;
    void* pars[3] = {Par(args)...};
    if constexpr (Traits::slot == HostSlot::Environment)
        return HostEnvironment(Traits::code, pars[0], pars[1], pars[2]);
    else if constexpr (Traits::slot == HostSlot::Interface)
        return HostInterface(Traits::code, pars[0], pars[1], pars[2]);
    else if constexpr (Traits::slot == HostSlot::Utility)
        return HostUtility(Traits::code, pars[0], pars[1], pars[2]);
    else if constexpr (Traits::slot == HostSlot::Automate)
        return HostAutomate(Traits::code, pars[0], pars[1], pars[2]);
    else if constexpr (Traits::slot == HostSlot::Database)
        return HostDatabase(Traits::code, pars[0], pars[1], pars[2]);
    else
        return HostToolCommand(Traits::code, pars[0]);
}

}  // namespace

#define HOST_REQUEST(Code, Slot, Params, Args) \
    GSErrCode HostRequest::Code Params { return Send<HostRequestId::Code> Args; }
#include "platform/api/HostRequests.def"
