// GS::Guid: a 16-byte identifier with a text form.
#pragma once
#include "platform/gs/GSTypes.hpp"
#include "platform/gs/UniString.hpp"
#include <cstring>

namespace GS {

class PLATFORM_API Guid {
public:
    Guid() { std::memset(bytes, 0, sizeof bytes); }
    // Accepts "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx", with or without braces,
    // in either case. A malformed text gives the null GUID.
    explicit Guid(const char* text);
    explicit Guid(const UniString& text) : Guid(text.ToCStr().Get()) {}

    static bool Parse(const char* text, Guid& out);

    bool IsNull() const;
    // Upper-case hex without braces.
    UniString ToUniString() const;
    // The same text's 36 characters, with no terminator.
    void ToChars(char (&text)[36]) const;

    const unsigned char* GetBytes() const { return bytes; }
    void SetBytes(const unsigned char src[16]) { std::memcpy(bytes, src, 16); }

    bool operator==(const Guid& o) const { return std::memcmp(bytes, o.bytes, 16) == 0; }
    bool operator!=(const Guid& o) const { return !(*this == o); }

private:
    // time_low, time_mid, time_hi as little-endian integers, then 8 bytes as
    // written, the Windows GUID layout.
    unsigned char bytes[16];
};

}  // namespace GS
