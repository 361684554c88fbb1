#include "addon/host/HostCalls.hpp"
#include "addon/host/HostBinding.hpp"
#include <dlfcn.h>

namespace {

template <HostSlot S> typename HostSlotTraits<S>::Pointer SlotFn()
{
    return reinterpret_cast<typename HostSlotTraits<S>::Pointer>(HostBinding::SlotFunction(S));
}

// Binds a slot's function and the token; called with the slot's arguments.
template <typename Fn, bool WithToken> struct Caller {
    Fn fn;
    template <typename... A> auto operator()(A... args) const
    {
        if constexpr (WithToken)
            return fn(HostBinding::Token(), args...);
        else
            return fn(args...);
    }
};

template <HostSlot S> Caller<typename HostSlotTraits<S>::Pointer, HostSlotTraits<S>::takesToken> Bind()
{
    return {SlotFn<S>()};
}

UInt64 failedCalls = 0;

// The slot's answer; an error answer of a call that answers error codes is
// counted.
template <HostSlot S, typename Call> typename HostSlotTraits<S>::Result Answer(Call&& call)
{
    if constexpr (HostSlotTraits<S>::canFail) {
        const GSErrCode answer = call();
        if (answer != NoError)
            ++failedCalls;
        return answer;
    } else {
        return call();
    }
}

}  // namespace

UInt64 HostFailedCallCount() { return failedCalls; }

// An empty slot gives the answer its line of the list names.
#define HOST_SLOT(Name, Ret, Tok, MissingAnswer, Fails, Params, Args)   \
    Ret Host##Name Params                                                \
    {                                                                    \
        return Answer<HostSlot::Name>([&]() -> Ret {                     \
            if (SlotFn<HostSlot::Name>() == nullptr)                     \
                return HostSlotTraits<HostSlot::Name>::Missing();        \
            return Bind<HostSlot::Name>() Args;                          \
        });                                                              \
    }
#include "platform/api/HostSlots.def"

bool HostGetResourceString(char* buffer, GSResID listId, GSResID index, GSResModule module)
{
#if HOST_VERSION >= 25
    GS::UniString text;
    if (!RSGetIndString(&text, listId, index, module))
        return false;
    CHUnicode2ANSI(text.ToUStr(), static_cast<Int32>(text.GetLength()), buffer, 255, CC_Default);
    return true;
#else
    return RSGetIndCString(buffer, 255, listId, index, module, CC_Default);
#endif
}

bool HostGetResourceUniString(GS::UniString* text, GSResID listId, GSResID index, GSResModule module)
{
    return RSGetIndString(text, listId, index, module);
}

GS::UniString HostOwnFilePath()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&HostOwnFilePath), &info) == 0 || info.dli_fname == nullptr)
        return GS::UniString();
    return GS::UniString(info.dli_fname, CC_UTF8);
}

GSErrCode HostOwnLocation(IO::Location* location)
{
    GS::UniString path = HostOwnFilePath();
    if (location == nullptr || path.IsEmpty())
        return APIERR_GENERAL;
    *location = IO::Location(path);
    return NoError;
}
