#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fondaris::core {

// The reversible coding of stored sales settings: the value (UTF-8, stored as Windows-1252, at
// most 60 characters) uuencoded in the classic form with a space for a zero, then every
// character as two uppercase hexadecimal digits. "abc" gives "23383629430A".
std::string encodeValue(std::string_view value);
// nullopt when the text is not such a coding.
std::optional<std::string> decodeValue(std::string_view coded);

}  // namespace fondaris::core
