// Slot enumeration, slot names and typed slot access for the host table.
#pragma once
#include "platform/api/APIdefs.hpp"
#include <type_traits>

enum class HostSlot : UInt32 {
#define HOST_SLOT(Name, Ret, Tok, Missing, Fails, Params, Args) Name,
#include "platform/api/HostSlots.def"
    NamedSlotCount
};

constexpr UInt32 NamedHostSlotCount = static_cast<UInt32>(HostSlot::NamedSlotCount);
static_assert(NamedHostSlotCount <= HostFunctionCount, "the named slots must fit the host's table");

// The slot's name as messages and call logs show it ("GetElement").
inline const char* HostSlotName(UInt32 index)
{
    static const char* const names[] = {
#define HOST_SLOT(Name, Ret, Tok, Missing, Fails, Params, Args) #Name,
#include "platform/api/HostSlots.def"
    };
    return index < NamedHostSlotCount ? names[index] : "Reserved";
}
inline const char* HostSlotName(HostSlot slot) { return HostSlotName(static_cast<UInt32>(slot)); }

namespace HostTableDetail {
struct TokenTag {};
struct NoTokenTag {};
template <typename Tag, typename Sig> struct SlotPointer;
template <typename R, typename... A> struct SlotPointer<TokenTag, R(A...)> {
    using type = R (*)(HostToken, A...);
};
template <typename R, typename... A> struct SlotPointer<NoTokenTag, R(A...)> {
    using type = R (*)(A...);
};
constexpr bool FAILS = true;
constexpr bool NOFAIL = false;
}  // namespace HostTableDetail

#define HOST_SLOT_TAG_TOKEN HostTableDetail::TokenTag
#define HOST_SLOT_TAG_NOTOKEN HostTableDetail::NoTokenTag

// Everything the list says of a slot: HostSlotTraits<HostSlot::GetElement>.
//   Signature  the call's type without the token;
//   Pointer    the function-pointer type stored in the table;
//   takesToken whether the context token goes first;
//   canFail    whether the stand-in host may make the call fail by plan;
//   Missing()  the answer of a call whose slot the host left empty.
template <HostSlot S> struct HostSlotTraits;
#define HOST_SLOT(Name, Ret, Tok, MissingAnswer, Fails, Params, Args)                            \
    template <> struct HostSlotTraits<HostSlot::Name> {                                           \
        using Result = Ret;                                                                        \
        using Signature = Ret Params;                                                              \
        using Tag = HOST_SLOT_TAG_##Tok;                                                           \
        using Pointer = typename HostTableDetail::SlotPointer<Tag, Signature>::type;               \
        static constexpr bool takesToken = std::is_same<Tag, HostTableDetail::TokenTag>::value;   \
        static constexpr bool canFail = HostTableDetail::Fails;                                    \
        static Ret Missing() { return MissingAnswer; }                                             \
        static_assert(!canFail || std::is_same<Ret, GSErrCode>::value,                             \
                      "only a call that answers an error code can fail: " #Name);                  \
    };
#include "platform/api/HostSlots.def"

template <HostSlot S> using HostSlotFn = typename HostSlotTraits<S>::Pointer;
