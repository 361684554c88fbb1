// Character conversion between UTF-16 and the 8-bit codes the host uses.
//
// Code 0 is the host's default 8-bit code page, which the host process sets
// (Windows-1252 for the English host, Windows-1250 for the Slovenian one);
// 1 is always Windows-1252 and 99 is UTF-8. Conversions never write past the
// destination: the result is cut at a character boundary and NUL-terminated.
#pragma once
#include "platform/gs/GSTypes.hpp"
#include <string>

enum GSCharCode : Int32 {
    CC_Default = 0,
    CC_WestEuropean = 1,
    CC_UTF8 = 99,
};

// Sets the Windows code page (1250, 1252) that CC_Default stands for.
PLATFORM_API void CHSetDefaultCodePage(Int32 windowsCodePage);
PLATFORM_API Int32 CHGetDefaultCodePage();

// Converts srcLen units (-1: up to the terminating 0) into dst of dstSize
// bytes; returns the number of bytes written without the terminator, or -1
// when the conversion fails: the text holds a character the code cannot
// represent (one the code page lacks, a lone UTF-16 surrogate). dst then
// holds the text with '?' for those characters. A text cut to fit dst is
// not a failure.
PLATFORM_API Int32 CHUnicode2ANSI(const GS::uchar_t* src, Int32 srcLen, char* dst, Int32 dstSize, GSCharCode code);
// The reverse; dstSize counts UTF-16 units including the terminator.
PLATFORM_API Int32 CHANSI2Unicode(const char* src, Int32 srcLen, GS::uchar_t* dst, Int32 dstSize, GSCharCode code);

PLATFORM_API bool CHEqualCStrings(const char* a, const char* b);
PLATFORM_API bool CHEqualCStringsInsensitive(const char* a, const char* b);
// <0, 0, >0 like strcmp, comparing ASCII letters without case.
PLATFORM_API Int32 CHCompareASCII(const char* a, const char* b);
// Copies src into dst of dstSize bytes, always terminated, cut at a
// character boundary of the default code page (bytes in 8-bit code pages).
PLATFORM_API void CHTruncate(const char* src, char* dst, Int32 dstSize);

namespace GS {
// Whole-string helpers used by the string class and by tools.
PLATFORM_API std::u16string DecodeText(const std::string& bytes, GSCharCode code);
PLATFORM_API std::string EncodeText(const std::u16string& text, GSCharCode code, bool* lossless = nullptr);
// Encodes with an explicit Windows code page number (1250, 1252) or 65001.
PLATFORM_API std::string EncodeTextCodePage(const std::u16string& text, Int32 codePage, bool* lossless = nullptr);
PLATFORM_API std::u16string DecodeTextCodePage(const std::string& bytes, Int32 codePage);
}
