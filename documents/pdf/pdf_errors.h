#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace fondaris::documents {

// Type bits the binding hands to its error handler.
inline constexpr std::uint32_t kPdfWarning = 1u << 25;
inline constexpr std::uint32_t kPdfSyntaxError = 1u << 26;
inline constexpr std::uint32_t kPdfValueError = 1u << 27;
inline constexpr std::uint32_t kPdfFontError = 1u << 28;
inline constexpr std::uint32_t kPdfFatalError = 1u << 29;
inline constexpr std::uint32_t kPdfFileError = 1u << 30;

// Handler: user value, error number, message, type bits; answers 0.
using PdfErrorHandler = std::function<int(std::intptr_t user, int number,
                                          const std::string& message, std::uint32_t type)>;

struct PdfErrorLine {
  std::string text;  // ends with "\n"
  bool fatal = false;
};

// The log line for an error: the first matching bit, in the order warning, syntax, value, font,
// file, fatal, picks the prefix.
PdfErrorLine pdfErrorLine(std::uint32_t type, std::string_view message);

}  // namespace fondaris::documents
