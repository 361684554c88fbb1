#include "platform/gs/Guid.hpp"
#include <cctype>
#include <cstdio>
#include <string>

namespace GS {

namespace {
int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

bool Guid::Parse(const char* text, Guid& out)
{
    if (text == nullptr)
        return false;
    std::string s(text);
    if (s.size() == 38 && s.front() == '{' && s.back() == '}')
        s = s.substr(1, 36);
    if (s.size() != 36 || s[8] != '-' || s[13] != '-' || s[18] != '-' || s[23] != '-')
        return false;
    std::string hex;
    for (char c : s)
        if (c != '-')
            hex.push_back(c);
    if (hex.size() != 32)
        return false;
    unsigned char raw[16];
    for (int i = 0; i < 16; ++i) {
        int hi = HexValue(hex[2 * i]), lo = HexValue(hex[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        raw[i] = static_cast<unsigned char>(hi * 16 + lo);
    }
    // The first three groups are integers stored little-endian.
    const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (int i = 0; i < 16; ++i)
        out.bytes[i] = raw[order[i]];
    return true;
}

Guid::Guid(const char* text) : Guid()
{
    if (!Parse(text, *this))
        std::memset(bytes, 0, sizeof bytes);
}

bool Guid::IsNull() const
{
    for (unsigned char b : bytes)
        if (b != 0)
            return false;
    return true;
}

void Guid::ToChars(char (&text)[36]) const
{
    const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    static const char hex[] = "0123456789ABCDEF";
    char* at = text;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            *at++ = '-';
        *at++ = hex[bytes[order[i]] >> 4];
        *at++ = hex[bytes[order[i]] & 0xF];
    }
}

UniString Guid::ToUniString() const
{
    char text[36];
    ToChars(text);
    char16_t units[36];
    for (int i = 0; i < 36; ++i)
        units[i] = static_cast<char16_t>(text[i]);
    return UniString(units, 36);
}

}  // namespace GS
