#include "core/value_coding.h"

#include "core/cp1252.h"

namespace fondaris::core {

namespace {

constexpr std::size_t kMaxValueLength = 60;
constexpr std::size_t kRunLength = 45;

char sixBits(unsigned value) {
  return static_cast<char>(32 + (value & 0x3F));
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A uuencoded character back to its six bits; "`" is the other usual form of zero.
int fromSixBits(unsigned char c) {
  if (c == '`') return 0;
  if (c < 32 || c > 95) return -1;
  return c - 32;
}

std::string uuencode(std::string_view bytes) {
  std::string out;
  for (std::size_t start = 0; start < bytes.size(); start += kRunLength) {
    const std::string_view run = bytes.substr(start, kRunLength);
    out += static_cast<char>(32 + run.size());
    for (std::size_t i = 0; i < run.size(); i += 3) {
      unsigned group = 0;
      for (std::size_t k = 0; k < 3; ++k) {
        group <<= 8;
        if (i + k < run.size()) group |= static_cast<unsigned char>(run[i + k]);
      }
      out += sixBits(group >> 18);
      out += sixBits(group >> 12);
      out += sixBits(group >> 6);
      out += sixBits(group);
    }
    out += '\n';
  }
  return out;
}

std::optional<std::string> uudecode(std::string_view text) {
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const int length = fromSixBits(static_cast<unsigned char>(text[pos++]));
    if (length < 0 || length > static_cast<int>(kRunLength)) return std::nullopt;
    const std::size_t groups = (static_cast<std::size_t>(length) + 2) / 3;
    if (text.size() - pos < groups * 4) return std::nullopt;
    std::string run;
    for (std::size_t g = 0; g < groups; ++g) {
      unsigned group = 0;
      for (int k = 0; k < 4; ++k) {
        const int bits = fromSixBits(static_cast<unsigned char>(text[pos++]));
        if (bits < 0) return std::nullopt;
        group = (group << 6) | static_cast<unsigned>(bits);
      }
      run += static_cast<char>((group >> 16) & 0xFF);
      run += static_cast<char>((group >> 8) & 0xFF);
      run += static_cast<char>(group & 0xFF);
    }
    out.append(run, 0, static_cast<std::size_t>(length));
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size()) {
      if (text[pos] != '\n') return std::nullopt;
      ++pos;
    }
  }
  return out;
}

}  // namespace

std::string encodeValue(std::string_view value) {
  std::string bytes = utf8ToCp1252(value);
  if (bytes.size() > kMaxValueLength) bytes.resize(kMaxValueLength);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : uuencode(bytes)) {
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
  }
  return out;
}

std::optional<std::string> decodeValue(std::string_view coded) {
  if (coded.size() % 2 != 0) return std::nullopt;
  std::string text;
  for (std::size_t i = 0; i < coded.size(); i += 2) {
    const int high = hexDigit(coded[i]), low = hexDigit(coded[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    text += static_cast<char>(high * 16 + low);
  }
  auto bytes = uudecode(text);
  if (!bytes) return std::nullopt;
  return cp1252ToUtf8(*bytes);
}

}  // namespace fondaris::core
