#include "core/cp1252.h"

#include <array>
#include <cstdint>

namespace fondaris::core {

namespace {

// Code points of bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

char toCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < kHigh.size(); ++i)
    if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
  return '?';
}

// Decodes one UTF-8 sequence at `i`; returns the code point or U+FFFD and advances `i`.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<std::uint8_t>(s[i]);
  int len = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
  if (len == 0 || i + len > s.size()) {
    ++i;
    return 0xFFFD;
  }
  char32_t cp = len == 1 ? b0 : b0 & (0x7F >> len);
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<std::uint8_t>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  i += len;
  return cp;
}

}  // namespace

std::string cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char c : bytes) {
    const auto b = static_cast<std::uint8_t>(c);
    appendUtf8(out, b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char32_t{b});
  }
  return out;
}

std::string utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) out.push_back(toCp1252(nextCodePoint(utf8, i)));
  return out;
}

std::size_t utf8Length(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8)
    if ((static_cast<std::uint8_t>(c) & 0xC0) != 0x80) ++n;
  return n;
}

std::string_view utf8PrefixBytes(std::string_view utf8, std::size_t maxBytes) {
  if (utf8.size() <= maxBytes) return utf8;
  std::size_t end = maxBytes;
  while (end > 0 && (static_cast<std::uint8_t>(utf8[end]) & 0xC0) == 0x80) --end;
  return utf8.substr(0, end);
}

std::string windows1252Only(std::string_view utf8) {
  std::string kept;
  std::size_t i = 0;
  while (i < utf8.size()) {
    std::size_t next = i + 1;
    while (next < utf8.size() && (static_cast<unsigned char>(utf8[next]) & 0xC0) == 0x80) ++next;
    const std::string_view character = utf8.substr(i, next - i);
    if (character == "?" || utf8ToCp1252(character) != "?") kept += character;
    i = next;
  }
  return kept;
}

}  // namespace fondaris::core
