#pragma once

#include <string>
#include <string_view>

namespace fondaris::documents {

// PoDoFo reads past the end of malformed UTF-8, so every text reaches it through here.
// Well-formed sequences are kept; any other byte is read as Windows-1252, the encoding of the
// program's files, where such text most likely comes from. `repaired` tells whether a byte was.
std::string wellFormedUtf8(std::string_view text, bool* repaired = nullptr);

// One code point as UTF-8.
std::string encodeUtf8(char32_t c);

}  // namespace fondaris::documents
