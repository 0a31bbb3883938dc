#include "documents/fdf/pdf_text.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace fondaris::documents {

namespace {

// Code points of PDFDocEncoding bytes 0x18-0x1F and 0x80-0xA0 (0 = undefined).
constexpr std::array<char32_t, 8> kPdfDoc18 = {0x02D8, 0x02C7, 0x02C6, 0x02D9,
                                               0x02DD, 0x02DB, 0x02DA, 0x02DC};
constexpr std::array<char32_t, 33> kPdfDoc80 = {
    0x2022, 0x2020, 0x2021, 0x2026, 0x2014, 0x2013, 0x0192, 0x2044, 0x2039, 0x203A, 0x2212,
    0x2030, 0x201E, 0x201C, 0x201D, 0x2018, 0x2019, 0x201A, 0x2122, 0xFB01, 0xFB02, 0x0141,
    0x0152, 0x0160, 0x0178, 0x017D, 0x0131, 0x0142, 0x0153, 0x0161, 0x017E, 0,      0x20AC};

// PDFDocEncoding byte of a code point, or -1.
int pdfDocByte(char32_t c) {
  if (c == '\t' || c == '\n' || c == '\r' || (c >= 0x20 && c <= 0x7E)) return int(c);
  if (c >= 0xA1 && c <= 0xFF && c != 0xAD) return int(c);
  for (std::size_t i = 0; i < kPdfDoc18.size(); ++i)
    if (kPdfDoc18[i] == c) return int(0x18 + i);
  for (std::size_t i = 0; i < kPdfDoc80.size(); ++i)
    if (kPdfDoc80[i] == c && c != 0) return int(0x80 + i);
  return -1;
}

void appendUtf16(std::string& out, char32_t c) {
  auto unit = [&out](std::uint32_t u) {
    out.push_back(char(u >> 8));
    out.push_back(char(u & 0xFF));
  };
  if (c >= 0x10000) {
    c -= 0x10000;
    unit(0xD800 + (c >> 10));
    unit(0xDC00 + (c & 0x3FF));
  } else {
    unit(c);
  }
}

// Windows-1252's characters above 0x7F that Unicode places outside Latin-1.
constexpr std::array<char32_t, 27> kCp1252Extra = {
    0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
    0x0160, 0x2039, 0x0152, 0x017D, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178};

// Base letters of Latin Extended-A (U+0100 to U+017F).
constexpr std::string_view kLatinExtendedBase =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlLlLlNnNnNnnNnOoOoOoOoRrRrRrSsSs"
    "Ss"
    "SsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(char(c));
  } else if (c < 0x800) {
    out.push_back(char(0xC0 | (c >> 6)));
    out.push_back(char(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(char(0xE0 | (c >> 12)));
    out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(char(0x80 | (c & 0x3F)));
  } else {
    out.push_back(char(0xF0 | (c >> 18)));
    out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(char(0x80 | (c & 0x3F)));
  }
}

}  // namespace

std::u32string decodeUtf8(std::string_view s) {
  static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  std::u32string out;
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = -1;
    char32_t c = 0;
    if (b < 0x80) {
      extra = 0, c = b;
    } else if ((b & 0xE0) == 0xC0) {
      extra = 1, c = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2, c = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      extra = 3, c = b & 0x07;
    }
    bool ok = extra >= 0 && i + std::size_t(extra) < s.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const auto n = static_cast<unsigned char>(s[i + std::size_t(k)]);
      ok = (n & 0xC0) == 0x80;
      c = (c << 6) | (n & 0x3F);
    }
    if (ok && (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) ok = false;
    out.push_back(ok ? c : char32_t(0xFFFD));
    i += ok ? std::size_t(extra) + 1 : 1;
  }
  return out;
}

std::string winAnsiLookalike(std::string_view utf8) {
  std::string out;
  for (char32_t c : decodeUtf8(utf8)) {
    const bool winAnsi =
        c < 0x80 || (c >= 0xA0 && c <= 0xFF) ||
        std::find(kCp1252Extra.begin(), kCp1252Extra.end(), c) != kCp1252Extra.end();
    if (winAnsi)
      appendUtf8(out, c);
    else if (c >= 0x100 && c < 0x180)
      out.push_back(kLatinExtendedBase[c - 0x100]);
    else
      out.push_back('?');
  }
  return out;
}

std::string pdfTextStringBytes(std::string_view utf8) {
  const std::u32string chars = decodeUtf8(utf8);
  std::string doc;
  bool representable = true;
  for (char32_t c : chars) {
    const int b = pdfDocByte(c);
    if (b < 0) {
      representable = false;
      break;
    }
    doc.push_back(char(b));
  }
  // A PDFDoc text that starts like a byte order mark would be read as UTF-16 or UTF-8.
  if (representable && !doc.starts_with("\xFE\xFF") && !doc.starts_with("\xEF\xBB\xBF")) return doc;
  std::string utf16 = "\xFE\xFF";
  for (char32_t c : chars) appendUtf16(utf16, c);
  return utf16;
}

std::string pdfLiteralBody(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + 8);
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (ch == '\\' || ch == '(' || ch == ')') {
      out.push_back('\\');
      out.push_back(ch);
    } else if (ch == '\r') {
      out += "\\r";
    } else if (ch == '\n') {
      out += "\\n";
    } else if ((b >= 0x20 && b < 0x7F) || (b >= 0xA1 && b != 0xAD && b < 0xFE)) {
      out.push_back(ch);
    } else {
      const char octal[] = {'\\', char('0' + (b >> 6)), char('0' + ((b >> 3) & 7)),
                            char('0' + (b & 7))};
      out.append(octal, sizeof octal);
    }
  }
  return out;
}

std::string pdfNameBody(std::string_view utf8) {
  static constexpr std::string_view kDelimiters = "()<>[]{}/%#";
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char ch : utf8) {
    const auto b = static_cast<unsigned char>(ch);
    if (b > 0x20 && b < 0x7F && kDelimiters.find(ch) == std::string_view::npos) {
      out.push_back(ch);
    } else {
      out.push_back('#');
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 15]);
    }
  }
  return out;
}

}  // namespace fondaris::documents
