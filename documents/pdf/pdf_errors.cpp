#include "documents/pdf/pdf_errors.h"

#include <array>
#include <utility>

namespace fondaris::documents {

PdfErrorLine pdfErrorLine(std::uint32_t type, std::string_view message) {
  static const std::array<std::pair<std::uint32_t, const char*>, 6> kPrefixes{{
      {kPdfWarning, "Warning: "},
      {kPdfSyntaxError, "Syntax error!: "},
      {kPdfValueError, "Value error: "},
      {kPdfFontError, "TrueType font error!: "},
      {kPdfFileError, "File error: "},
      {kPdfFatalError, "Fatal error: "},
  }};
  for (const auto& [bit, prefix] : kPrefixes) {
    if (type & bit) {
      return {std::string(prefix) + std::string(message) + "\n", bit == kPdfFatalError};
    }
  }
  return {std::string(message) + "\n", false};
}

}  // namespace fondaris::documents
