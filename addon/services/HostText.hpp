// The IDs and qualities the add-on keeps as C strings.
//
// A text the host's 8-bit code page can hold is kept in it, as it always
// was: IDs compare, sort and number exactly as before. A text with a letter
// the code page lacks ("Č" in the English host, "Ø" in the Slovenian one, a
// character outside the basic plane) would come back with '?' in its place;
// such a text is kept as UTF-8 behind a first byte 0x81, which neither code
// page the host uses (1250, 1252) gives to any character, so no 8-bit text
// ever begins with it. Equal texts keep equal bytes either way, and the
// user's letters are written back as they were written.
#pragma once
#include "platform/gs/UniString.hpp"
#include <string>

namespace HostText {

constexpr char Utf8Mark = '\x81';

// The text in at most `maxBytes` bytes, cut after a whole character.
std::string ToText(const GS::UniString& text, size_t maxBytes = 1023);
// The text as the user wrote it, at most `maxUnits` UTF-16 units, never
// ending in half of a surrogate pair.
GS::UniString FromText(const std::string& text, size_t maxUnits = 1023);
// `first` followed by `second`, at most `maxBytes` bytes: texts of either
// kind join into one of the kind the whole needs.
std::string Join(const std::string& first, const std::string& second, size_t maxBytes = 1023);

}  // namespace HostText
