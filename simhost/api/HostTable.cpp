#include "simhost/api/HostApi.hpp"
#include "simhost/api/Requests.hpp"
#include <type_traits>

namespace SimHost {
namespace {

template <HostSlot S> struct SlotBody;
#define HOST_SLOT(Name, Ret, Tok, Missing, Fails, Params, Args)                                        \
    template <> struct SlotBody<HostSlot::Name> {                                                      \
        template <typename... A> static Ret Run(HostApi& api, A... a) { return api.Name(a...); }       \
    };
#include "platform/api/HostSlots.def"

template <typename F, typename... Rest> API_RequestCode FirstCode(F first, Rest...)
{
    if constexpr (std::is_integral<F>::value)
        return static_cast<API_RequestCode>(first);
    else
        return 0;
}
inline API_RequestCode FirstCode() { return 0; }

// The request code of a dispatching call, for the log of planned failures.
template <HostSlot S, typename... A> API_RequestCode RequestOf(A... a)
{
    if constexpr (HostRequestDetail::IsDispatching(S))
        return FirstCode(a...);
    else
        return 0;
}

// The outermost host call's wall time goes to the recorder; a host call
// made while another runs (from an add-on callback) is inside its time.
class CallClock {
public:
    explicit CallClock(Recorder& recorder) : recorder(recorder)
    {
        ++recorder.hostCallCount;
        if (recorder.hostCallDepth++ == 0)
            start = recorder.clock();
    }
    ~CallClock()
    {
        if (--recorder.hostCallDepth == 0)
            recorder.hostCallNanoseconds += recorder.clock() - start;
    }
    CallClock(const CallClock&) = delete;
    CallClock& operator=(const CallClock&) = delete;

private:
    Recorder& recorder;
    Int64 start = 0;
};

template <HostSlot S, typename R, typename... A> R Dispatch(bool withToken, HostToken token, A... a)
{
    using Traits = HostSlotTraits<S>;
    Host* host = Host::Current();
    // A call with no current host (after the test ended, or from a thread
    // the host does not know) answers as a missing function.
    if (host == nullptr)
        return Traits::Missing();
    CallClock clock(host->recorder);
    host->recorder.callLog.push_back(HostSlotName(S));
    if (withToken)
        host->session.CheckToken(S, token);
    if constexpr (Traits::canFail) {
        GSErrCode code = NoError;
        API_RequestCode request = RequestOf<S>(a...);
        if (host->faultPlan.SlotFails(S, request, code)) {
            if (request != 0)
                host->Requests().FailedByPlan(request);
            return code;
        }
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
#define HOST_SLOT(Name, Ret, Tok, Missing, Fails, Params, Args)                                               \
    table[static_cast<UInt32>(HostSlot::Name)] =                                                               \
        reinterpret_cast<void*>(static_cast<HostSlotFn<HostSlot::Name>>(                                      \
            &Thunk<HostSlot::Name, HostSlotTraits<HostSlot::Name>::Tag, HostSlotTraits<HostSlot::Name>::Signature>::Call));
#include "platform/api/HostSlots.def"
}

}  // namespace SimHost
