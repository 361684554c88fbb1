// Slot enumeration, slot names and typed slot access for the host table.
#pragma once
#include "platform/api/APIdefs.hpp"

enum class HostSlot : UInt32 {
#define HOST_SLOT(Name, Ret, Tok, Params, Args) Name,
#include "platform/api/HostSlots.def"
    NamedSlotCount
};

constexpr UInt32 NamedHostSlotCount = static_cast<UInt32>(HostSlot::NamedSlotCount);
static_assert(NamedHostSlotCount <= HostFunctionCount, "the named slots must fit the host's table");

// The slot's name as messages and call logs show it ("GetElement").
inline const char* HostSlotName(UInt32 index)
{
    static const char* const names[] = {
#define HOST_SLOT(Name, Ret, Tok, Params, Args) #Name,
#include "platform/api/HostSlots.def"
    };
    return index < NamedHostSlotCount ? names[index] : "Reserved";
}

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
}  // namespace HostTableDetail

#define HOST_SLOT_TAG_TOKEN HostTableDetail::TokenTag
#define HOST_SLOT_TAG_NOTOKEN HostTableDetail::NoTokenTag

// The function-pointer type stored in a slot: HostSlotFn<HostSlot::GetElement>.
template <HostSlot S> struct HostSlotTraits;
#define HOST_SLOT(Name, Ret, Tok, Params, Args)                                                   \
    template <> struct HostSlotTraits<HostSlot::Name> {                                           \
        using Signature = Ret Params;                                                              \
        using Tag = HOST_SLOT_TAG_##Tok;                                                           \
        using Pointer = typename HostTableDetail::SlotPointer<Tag, Signature>::type;               \
        static constexpr bool takesToken = std::is_same<Tag, HostTableDetail::TokenTag>::value;   \
    };
#include <type_traits>
#include "platform/api/HostSlots.def"

template <HostSlot S> using HostSlotFn = typename HostSlotTraits<S>::Pointer;
