// The host's requests as one typed list (HostRequests.def): the request
// enumeration and what the list says of each request.
#pragma once
#include "platform/api/HostTable.hpp"
#include "platform/geometry/Polygon2D.hpp"
#include "platform/gs/HashTable.hpp"
#include <string>
#include <type_traits>

enum class HostRequestId : UInt32 {
#define HOST_REQUEST(Code, Slot, Params, Args) Code,
#include "platform/api/HostRequests.def"
    Count
};

namespace HostRequestDetail {
template <typename Sig> struct Shape;
template <typename... A> struct Shape<GSErrCode(A...)> {
    static constexpr USize parameterCount = sizeof...(A);
    static constexpr bool allPointers = (true && ... && std::is_pointer<A>::value);
};
constexpr bool IsDispatching(HostSlot slot)
{
    return slot == HostSlot::Environment || slot == HostSlot::Interface || slot == HostSlot::Utility ||
           slot == HostSlot::Automate || slot == HostSlot::Database || slot == HostSlot::ToolCommand;
}
}  // namespace HostRequestDetail

// HostRequestTraits<HostRequestId::NTOE>:
//   code       the four letters as a big-endian value;
//   slot       the dispatching call that carries it;
//   Signature  GSErrCode(typed parameters), par1 first.
template <HostRequestId R> struct HostRequestTraits;
#define HOST_REQUEST(Code, Slot, Params, Args)                                                                   \
    template <> struct HostRequestTraits<HostRequestId::Code> {                                                  \
        static constexpr const char* name = #Code;                                                               \
        static constexpr API_RequestCode code = RequestCode(#Code);                                              \
        static constexpr HostSlot slot = HostSlot::Slot;                                                         \
        using Signature = GSErrCode Params;                                                                      \
        static_assert(HostRequestDetail::IsDispatching(slot), #Code ": requests travel in a dispatching call");  \
        static_assert(HostRequestDetail::Shape<Signature>::allPointers, #Code ": request parameters are pointers"); \
        static_assert(HostRequestDetail::Shape<Signature>::parameterCount <= (slot == HostSlot::ToolCommand ? 1 : 3), \
                      #Code ": more parameters than the call carries");                                          \
    };
#include "platform/api/HostRequests.def"

// The four characters of a request code, "NTOE", for logs and messages.
inline std::string RequestCodeText(API_RequestCode code)
{
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8)
        s.push_back(static_cast<char>((code >> shift) & 0xFF));
    return s;
}
