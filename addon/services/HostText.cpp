#include "addon/services/HostText.hpp"
#include "platform/gs/CH.hpp"

namespace HostText {

namespace {

bool IsHigh(char16_t u) { return u >= 0xD800 && u < 0xDC00; }

// The first `n` units of `units`, one fewer when the n-th is the first half
// of a pair.
std::u16string CutUnits(const std::u16string& units, size_t n)
{
    if (units.size() <= n)
        return units;
    if (n > 0 && IsHigh(units[n - 1]))
        --n;
    return units.substr(0, n);
}

}  // namespace

std::string ToText(const GS::UniString& text, size_t maxBytes)
{
    const std::u16string& units = text.Units();
    bool lossless = true;
    std::string bytes = GS::EncodeText(units, CC_Default, &lossless);
    if (lossless) {
        // One byte per character in the host's code pages.
        if (bytes.size() > maxBytes)
            bytes.resize(maxBytes);
        return bytes;
    }
    if (maxBytes == 0)
        return std::string();
    // Whole characters only: as many as fit behind the mark.
    size_t bytesUsed = 1;
    size_t n = 0;
    while (n < units.size()) {
        const char16_t u = units[n];
        const bool pair = IsHigh(u) && n + 1 < units.size() && units[n + 1] >= 0xDC00 && units[n + 1] < 0xE000;
        const size_t size = pair ? 4 : u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
        if (bytesUsed + size > maxBytes)
            break;
        bytesUsed += size;
        n += pair ? 2 : 1;
    }
    return Utf8Mark + GS::EncodeText(units.substr(0, n), CC_UTF8);
}

GS::UniString FromText(const std::string& text, size_t maxUnits)
{
    const bool utf8 = !text.empty() && text[0] == Utf8Mark;
    const std::u16string units = utf8 ? GS::DecodeText(text.substr(1), CC_UTF8) : GS::DecodeText(text, CC_Default);
    return GS::UniString(CutUnits(units, maxUnits));
}

std::string Join(const std::string& first, const std::string& second, size_t maxBytes)
{
    const bool marked = (!first.empty() && first[0] == Utf8Mark) || (!second.empty() && second[0] == Utf8Mark);
    if (!marked) {
        std::string joined = first + second;
        if (joined.size() > maxBytes)
            joined.resize(maxBytes);
        return joined;
    }
    return ToText(GS::UniString(FromText(first, first.size()).Units() + FromText(second, second.size()).Units()), maxBytes);
}

}  // namespace HostText
