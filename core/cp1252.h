#pragma once

#include <string>
#include <string_view>

namespace fondaris::core {

// Files are Windows-1252, strings inside the program UTF-8. These two functions are the only
// place where the two meet.

// Every byte maps to a character; the five bytes undefined in Windows-1252 map to the C1
// control of the same value, so a round trip keeps any file byte for byte.
std::string cp1252ToUtf8(std::string_view bytes);

// Characters without a Windows-1252 byte and malformed UTF-8 become '?'.
std::string utf8ToCp1252(std::string_view utf8);

// `utf8` without the characters Windows-1252 cannot hold (and without malformed bytes).
std::string windows1252Only(std::string_view utf8);

// Number of characters (code points) in a UTF-8 text.
std::size_t utf8Length(std::string_view utf8);

// The longest prefix of `utf8` that has at most `maxBytes` bytes and ends on a character
// boundary.
std::string_view utf8PrefixBytes(std::string_view utf8, std::size_t maxBytes);

}  // namespace fondaris::core
