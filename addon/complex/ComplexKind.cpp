#include "addon/complex/ComplexKind.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/gs/CH.hpp"
#include <vector>

std::string KindName(ComplexElementKind kind)
{
    switch (kind) {
    case CrowningKind:
        return GetResString(ResStr::Messages::Crowning);
    case BeamKind:
        return GetResString(ResStr::Messages::Beam);
    case ColumnKind:
        return GetResString(ResStr::Messages::Column);
    }
    return std::string();
}

LibraryPart KindPart(ComplexElementKind kind)
{
    switch (kind) {
    case CrowningKind:
        return LibraryPart::Crowning;
    case BeamKind:
        return LibraryPart::Beam;
    case ColumnKind:
        break;
    }
    return LibraryPart::Column;
}

Int32 KindListType(ComplexElementKind kind)
{
    return 10 + static_cast<Int32>(kind);
}

GS::UniString KindUndoName(ComplexElementKind kind)
{
    // Formatted into 256 bytes as the host's undo names are.
    std::string name = std::string(GetResString(ResStr::AddOnName::Name)) + " " + KindName(kind);
    if (name.size() > 255)
        name.resize(255);
    return FromHostText(name, 256);
}

std::string ToHostText(const GS::UniString& text, Int32 bufferSize)
{
    if (bufferSize <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(bufferSize), '\0');
    CHUnicode2ANSI(text.ToUStr(), static_cast<Int32>(text.GetLength()), buffer.data(), bufferSize, CC_Default);
    buffer.back() = '\0';
    return std::string(buffer.data());
}

GS::UniString FromHostText(const std::string& text, Int32 maxUnits)
{
    std::u16string units = GS::DecodeText(text, CC_Default);
    if (units.size() > static_cast<size_t>(maxUnits))
        units.resize(static_cast<size_t>(maxUnits));
    return GS::UniString(units);
}

std::string JoinIds(const std::string& first, const std::string& second)
{
    std::string joined = first + " - " + second;
    if (joined.size() > 1023)
        joined.resize(1023);
    return joined;
}
