#include "addon/complex/ComplexKind.hpp"
#include "addon/services/HostText.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/gs/CH.hpp"
#include <algorithm>
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
    return HostText::ToText(text, static_cast<size_t>(bufferSize - 1));
}

GS::UniString FromHostText(const std::string& text, Int32 maxUnits)
{
    return HostText::FromText(text, static_cast<size_t>(std::max(maxUnits, 0)));
}

std::string JoinIds(const std::string& first, const std::string& second)
{
    return HostText::Join(HostText::Join(first, " - "), second);
}
