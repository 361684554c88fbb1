#include "simhost/api/HostApi.hpp"
#include <type_traits>

namespace SimHost {
namespace {

template <HostSlot S> struct SlotBody;
#define HOST_SLOT(Name, Ret, Tok, Params, Args)                                          \
    template <> struct SlotBody<HostSlot::Name> {                                        \
        template <typename... A> static Ret Run(HostApi& api, A... a) { return api.Name(a...); } \
    };
#include "platform/api/HostSlots.def"

// A call with no current host (after the test ended, or from a thread the
// host does not know) answers like a missing function.
template <typename R> R NoHostResult() { return static_cast<R>(APIERR_GENERAL); }
template <> [[maybe_unused]] void NoHostResult<void>() {}
template <> [[maybe_unused]] bool NoHostResult<bool>() { return false; }
template <> [[maybe_unused]] void* NoHostResult<void*>() { return nullptr; }

// Injected failures reach only calls that return an error code, and not
// the disposal calls: a host that fails to free is beyond the add-on's help.
template <HostSlot S, typename R> constexpr bool CanFail()
{
    return std::is_same<R, GSErrCode>::value && S != HostSlot::Report && S != HostSlot::DisposeMemo &&
           S != HostSlot::DisposeParamHandle;
}

template <typename F, typename... Rest> API_RequestCode FirstCode(F first, Rest...)
{
    if constexpr (std::is_integral<F>::value)
        return static_cast<API_RequestCode>(first);
    else
        return 0;
}
inline API_RequestCode FirstCode() { return 0; }

// The request code of a dispatching call, for the log of injected failures.
template <HostSlot S, typename... A> API_RequestCode RequestOf(A... a)
{
    constexpr bool dispatching = S == HostSlot::Environment || S == HostSlot::Interface || S == HostSlot::Utility ||
                                 S == HostSlot::Automate || S == HostSlot::Database || S == HostSlot::ToolCommand;
    if constexpr (dispatching)
        return FirstCode(a...);
    else
        return 0;
}

template <HostSlot S, typename R, typename... A> R Dispatch(bool withToken, HostToken token, A... a)
{
    Host* host = Host::Current();
    if (host == nullptr)
        return NoHostResult<R>();
    host->callLog.push_back(HostSlotName(static_cast<UInt32>(S)));
    if (withToken)
        host->CheckToken(S, token);
    if constexpr (CanFail<S, R>()) {
        GSErrCode code = NoError;
        if (host->InjectedFailure(S, code, RequestOf<S>(a...)))
            return code;
    }
    return SlotBody<S>::Run(host->Api(), a...);
}

template <HostSlot S, typename Tag, typename Sig> struct Thunk;
template <HostSlot S, typename R, typename... A> struct Thunk<S, HostTableDetail::TokenTag, R(A...)> {
    static R Call(HostToken token, A... a) { return Dispatch<S, R>(true, token, a...); }
};
template <HostSlot S, typename R, typename... A> struct Thunk<S, HostTableDetail::NoTokenTag, R(A...)> {
    static R Call(A... a) { return Dispatch<S, R>(false, nullptr, a...); }
};

}  // namespace

void FillHostTable(std::vector<void*>& table)
{
    table.assign(HostFunctionCount, nullptr);
#define HOST_SLOT(Name, Ret, Tok, Params, Args)                                                          \
    table[static_cast<UInt32>(HostSlot::Name)] =                                                          \
        reinterpret_cast<void*>(static_cast<HostSlotFn<HostSlot::Name>>(                                     \
            &Thunk<HostSlot::Name, HostSlotTraits<HostSlot::Name>::Tag, HostSlotTraits<HostSlot::Name>::Signature>::Call));
#include "platform/api/HostSlots.def"
}

}  // namespace SimHost
