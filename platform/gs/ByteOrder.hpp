// Conversion of stored values from the byte order of the platform that
// wrote them. A platform sign names the writer: 0x5757 ('WW') is this
// platform's own order (least significant byte first); any other sign is
// taken as the other order.
#pragma once
#include "platform/gs/GSTypes.hpp"

using GSPlatformSign = UInt16;
constexpr GSPlatformSign GS_OWN_PLATFORM_SIGN = 0x5757;

inline bool IVNeedsSwap(GSPlatformSign writer) { return writer != GS_OWN_PLATFORM_SIGN; }

// A single byte reads the same in every order.
inline void IVUByte(GSPlatformSign, UInt8*) {}

inline void IVULong(GSPlatformSign writer, UInt32* value)
{
    if (value == nullptr || !IVNeedsSwap(writer))
        return;
    const UInt32 v = *value;
    *value = (v >> 24) | ((v >> 8) & 0x0000FF00u) | ((v << 8) & 0x00FF0000u) | (v << 24);
}
