#include "documents/pdf/formatted_text.h"

namespace fondaris::documents {

FormattedText parseFormattedText(std::string_view text) {
  FormattedText out;
  constexpr std::string_view kCommand = "\\FC[";
  std::size_t i = 0;
  while (i < text.size()) {
    if (text.substr(i, kCommand.size()) == kCommand) {
      std::size_t j = i + kCommand.size();
      std::uint64_t value = 0;
      const std::size_t digitsStart = j;
      while (j < text.size() && text[j] >= '0' && text[j] <= '9' && j - digitsStart < 9) {
        value = value * 10 + static_cast<std::uint64_t>(text[j] - '0');
        ++j;
      }
      if (j > digitsStart && j < text.size() && text[j] == ']' && value <= 0xFFFFFF) {
        out.colors.push_back({out.plain.size(), static_cast<std::uint32_t>(value)});
        i = j + 1;
        continue;
      }
    }
    out.plain.push_back(text[i]);
    ++i;
  }
  return out;
}

}  // namespace fondaris::documents
