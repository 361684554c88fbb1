// Basic scalar types and export macro of the host's class libraries.
#pragma once
#include <cstddef>
#include <cstdint>

#define PLATFORM_API __attribute__((visibility("default")))

using Int8 = std::int8_t;
using UInt8 = std::uint8_t;
using Int16 = std::int16_t;
using UInt16 = std::uint16_t;
using Int32 = std::int32_t;
using UInt32 = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using USize = std::size_t;
using GSErrCode = Int32;
using GSResID = Int16;
using GSPtr = char*;
using GSHandle = char**;
using GSConstHandle = const char* const*;

namespace GS {
using uchar_t = char16_t;  // one UTF-16 code unit
using IntPtr = std::intptr_t;
}

constexpr GSErrCode NoError = 0;
