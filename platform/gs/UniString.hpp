// GS::UniString: the host's UTF-16 string.
#pragma once
#include "platform/gs/CH.hpp"
#include "platform/gs/GSTypes.hpp"
#include <string>

namespace GS {

class PLATFORM_API UniString {
public:
    // An 8-bit text held for the caller; valid while the holder lives.
    class CStr {
    public:
        explicit CStr(std::string s) : text(std::move(s)) {}
        const char* Get() const { return text.c_str(); }
        operator const char*() const { return text.c_str(); }
    private:
        std::string text;
    };

    UniString() = default;
    UniString(const char* text, GSCharCode code = CC_UTF8);
    UniString(const uchar_t* text);
    UniString(const uchar_t* text, USize length);
    explicit UniString(std::u16string text) : units(std::move(text)) {}

    static UniString Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

    UInt32 GetLength() const { return static_cast<UInt32>(units.size()); }
    bool IsEmpty() const { return units.empty(); }
    void Clear() { units.clear(); }
    uchar_t operator[](UInt32 index) const { return units[index]; }
    const uchar_t* ToUStr() const { return units.c_str(); }
    CStr ToCStr(GSCharCode code = CC_UTF8) const;
    std::string ToUtf8() const;
    const std::u16string& Units() const { return units; }

    UniString& Append(const UniString& other);
    UniString& operator+=(const UniString& other) { return Append(other); }
    UniString operator+(const UniString& other) const;

    bool IsEqual(const UniString& other) const { return units == other.units; }
    bool operator==(const UniString& other) const { return units == other.units; }
    bool operator!=(const UniString& other) const { return units != other.units; }
    bool operator<(const UniString& other) const { return units < other.units; }

    bool BeginsWith(const UniString& prefix) const;
    bool EndsWith(const UniString& suffix) const;
    UniString GetSubstring(UInt32 from, UInt32 length) const;
    UniString ToLowerCaseAscii() const;

private:
    std::u16string units;
};

}  // namespace GS
