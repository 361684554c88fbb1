#include "platform/gs/UniString.hpp"
#include "platform/gs/DBPrintf.hpp"
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace GS {

UniString::UniString(const char* text, GSCharCode code)
{
    if (text != nullptr)
        units = DecodeText(text, code);
}

UniString::UniString(const uchar_t* text)
{
    if (text != nullptr)
        for (const uchar_t* p = text; *p != 0; ++p)
            units.push_back(*p);
}

UniString::UniString(const uchar_t* text, USize length)
{
    if (text != nullptr)
        units.assign(text, length);
}

UniString UniString::Printf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string buf = VFormat(format, args);
    va_end(args);
    return UniString(buf.c_str(), CC_UTF8);
}

UniString::CStr UniString::ToCStr(GSCharCode code) const { return CStr(EncodeText(units, code)); }
std::string UniString::ToUtf8() const { return EncodeText(units, CC_UTF8); }

UniString& UniString::Append(const UniString& other)
{
    units += other.units;
    return *this;
}

UniString UniString::operator+(const UniString& other) const
{
    UniString r(*this);
    r.units += other.units;
    return r;
}

bool UniString::BeginsWith(const UniString& prefix) const
{
    return units.compare(0, prefix.units.size(), prefix.units) == 0 && units.size() >= prefix.units.size();
}

bool UniString::EndsWith(const UniString& suffix) const
{
    return units.size() >= suffix.units.size() &&
           units.compare(units.size() - suffix.units.size(), suffix.units.size(), suffix.units) == 0;
}

UniString UniString::GetSubstring(UInt32 from, UInt32 length) const
{
    if (from >= units.size())
        return UniString();
    return UniString(units.substr(from, length));
}

UniString UniString::ToLowerCaseAscii() const
{
    std::u16string r = units;
    for (auto& c : r)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c + (u'a' - u'A'));
    return UniString(r);
}

}  // namespace GS
