#include "platform/gs/CH.hpp"
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <string>
#include <type_traits>
#include <vector>

namespace {

Int32 g_defaultCodePage = 1252;

const char* IconvName(Int32 codePage)
{
    switch (codePage) {
    case 1250: return "WINDOWS-1250";
    case 1252: return "WINDOWS-1252";
    default: return "UTF-8";
    }
}

Int32 CodePageOf(GSCharCode code)
{
    switch (code) {
    case CC_Default: return g_defaultCodePage;
    case CC_WestEuropean: return 1252;
    default: return 65001;
    }
}

// iconv_open loads the code page's conversion module on every call and
// iconv_close may unload it again, which made every converted text cost a
// module load. Each thread keeps one descriptor per direction and code page
// instead, found by the two numbers, and put back to its initial state
// before each use.
enum class Direction { ToCodePage, FromCodePage };

iconv_t Converter(Direction direction, Int32 codePage)
{
    struct Entry {
        Direction direction;
        Int32 codePage;
        iconv_t cd;
    };
    struct Cache {
        std::vector<Entry> entries;
        ~Cache()
        {
            for (Entry& e : entries)
                iconv_close(e.cd);
        }
    };
    thread_local Cache cache;
    for (Entry& e : cache.entries)
        if (e.direction == direction && e.codePage == codePage) {
            iconv(e.cd, nullptr, nullptr, nullptr, nullptr);
            return e.cd;
        }
    iconv_t cd = direction == Direction::ToCodePage ? iconv_open(IconvName(codePage), "UTF-16LE")
                                                    : iconv_open("UTF-16LE", IconvName(codePage));
    if (cd != reinterpret_cast<iconv_t>(-1))
        cache.entries.push_back(Entry{direction, codePage, cd});
    return cd;
}

// Every code page here (1250, 1252 and UTF-8) holds the ASCII characters
// as their own single bytes, so a text of ASCII only is converted without
// the converter.
template <typename Unit> bool AllAscii(const Unit* text, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (static_cast<UInt32>(static_cast<std::make_unsigned_t<Unit>>(text[i])) >= 0x80)
            return false;
    return true;
}

// Converts one character at a time so that an unmappable one can be
// replaced and the rest kept.
std::string Encode(const std::u16string& text, Int32 codePage, bool* lossless)
{
    if (lossless != nullptr)
        *lossless = true;
    if (AllAscii(text.data(), text.size()))
        return std::string(text.begin(), text.end());
    iconv_t cd = Converter(Direction::ToCodePage, codePage);
    std::string out;
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (lossless != nullptr)
            *lossless = text.empty();
        return out;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t unit[2] = {text[i], 0};
        size_t units = 1;
        // A pair only when a high surrogate is followed by a low one; a lone
        // surrogate is a character no code can hold.
        if (text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            unit[1] = text[++i];
            units = 2;
        }
        char inBuf[4];
        for (size_t k = 0; k < units; ++k) {
            inBuf[2 * k] = static_cast<char>(unit[k] & 0xFF);
            inBuf[2 * k + 1] = static_cast<char>(unit[k] >> 8);
        }
        char* in = inBuf;
        size_t inLeft = units * 2;
        char outBuf[8];
        char* o = outBuf;
        size_t outLeft = sizeof outBuf;
        if (iconv(cd, &in, &inLeft, &o, &outLeft) == static_cast<size_t>(-1)) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            out.push_back('?');
            if (lossless != nullptr)
                *lossless = false;
        } else {
            out.append(outBuf, static_cast<size_t>(o - outBuf));
        }
    }
    return out;
}

std::u16string Decode(const std::string& bytes, Int32 codePage)
{
    std::u16string out;
    if (bytes.empty())
        return out;
    if (AllAscii(bytes.data(), bytes.size()))
        return std::u16string(bytes.begin(), bytes.end());
    iconv_t cd = Converter(Direction::FromCodePage, codePage);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return out;
    std::vector<char> buf(bytes.size() * 4 + 8);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* o = buf.data();
        size_t outLeft = buf.size();
        size_t rc = iconv(cd, &in, &inLeft, &o, &outLeft);
        for (char* p = buf.data(); p + 1 < o; p += 2)
            out.push_back(static_cast<char16_t>(static_cast<unsigned char>(p[0]) | (static_cast<unsigned char>(p[1]) << 8)));
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid byte: skip it, as the host's conversion does.
            out.push_back(u'?');
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

// Largest prefix of s, no longer than maxBytes, that ends on a character
// boundary of the code page.
size_t CutLength(const std::string& s, size_t maxBytes, Int32 codePage)
{
    if (s.size() <= maxBytes)
        return s.size();
    size_t n = maxBytes;
    if (codePage == 65001) {
        while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
            --n;
    }
    return n;
}

}  // namespace

void CHSetDefaultCodePage(Int32 windowsCodePage) { g_defaultCodePage = windowsCodePage; }
Int32 CHGetDefaultCodePage() { return g_defaultCodePage; }

Int32 CHUnicode2ANSI(const GS::uchar_t* src, Int32 srcLen, char* dst, Int32 dstSize, GSCharCode code)
{
    if (dst == nullptr || dstSize <= 0)
        return 0;
    dst[0] = '\0';
    if (src == nullptr)
        return 0;
    std::u16string text;
    if (srcLen < 0) {
        for (const GS::uchar_t* p = src; *p != 0; ++p)
            text.push_back(*p);
    } else {
        text.assign(src, static_cast<size_t>(srcLen));
    }
    Int32 cp = CodePageOf(code);
    bool lossless = true;
    std::string bytes = Encode(text, cp, &lossless);
    size_t n = CutLength(bytes, static_cast<size_t>(dstSize - 1), cp);
    std::memcpy(dst, bytes.data(), n);
    dst[n] = '\0';
    return lossless ? static_cast<Int32>(n) : -1;
}

Int32 CHANSI2Unicode(const char* src, Int32 srcLen, GS::uchar_t* dst, Int32 dstSize, GSCharCode code)
{
    if (dst == nullptr || dstSize <= 0)
        return 0;
    dst[0] = 0;
    if (src == nullptr)
        return 0;
    std::string bytes = srcLen < 0 ? std::string(src) : std::string(src, static_cast<size_t>(srcLen));
    std::u16string text = Decode(bytes, CodePageOf(code));
    size_t n = text.size() < static_cast<size_t>(dstSize - 1) ? text.size() : static_cast<size_t>(dstSize - 1);
    if (n > 0 && n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] < 0xDC00)
        --n;  // do not split a surrogate pair
    std::memcpy(dst, text.data(), n * sizeof(GS::uchar_t));
    dst[n] = 0;
    return static_cast<Int32>(n);
}

bool CHEqualCStrings(const char* a, const char* b)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    return std::strcmp(a, b) == 0;
}

namespace {
int LowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }
}

Int32 CHCompareASCII(const char* a, const char* b)
{
    if (a == nullptr || b == nullptr)
        return a == b ? 0 : (a == nullptr ? -1 : 1);
    for (;; ++a, ++b) {
        int ca = LowerAscii(static_cast<unsigned char>(*a));
        int cb = LowerAscii(static_cast<unsigned char>(*b));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

bool CHEqualCStringsInsensitive(const char* a, const char* b) { return CHCompareASCII(a, b) == 0; }

void CHTruncate(const char* src, char* dst, Int32 dstSize)
{
    if (dst == nullptr || dstSize <= 0)
        return;
    if (src == nullptr) {
        dst[0] = '\0';
        return;
    }
    std::string s(src);
    size_t n = CutLength(s, static_cast<size_t>(dstSize - 1), g_defaultCodePage);
    std::memmove(dst, src, n);
    dst[n] = '\0';
}

namespace GS {
std::u16string DecodeText(const std::string& bytes, GSCharCode code) { return Decode(bytes, CodePageOf(code)); }
std::string EncodeText(const std::u16string& text, GSCharCode code, bool* lossless) { return Encode(text, CodePageOf(code), lossless); }
std::string EncodeTextCodePage(const std::u16string& text, Int32 codePage, bool* lossless) { return Encode(text, codePage, lossless); }
std::u16string DecodeTextCodePage(const std::string& bytes, Int32 codePage) { return Decode(bytes, codePage); }
}  // namespace GS
