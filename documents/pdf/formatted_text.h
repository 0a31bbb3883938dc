#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fondaris::documents {

// A colour change inside formatted text: from byte `offset` of the plain text on, `color` as a
// Windows colour value: red in the low byte, then green, then blue (16777215 white, 0 black).
struct ColorChange {
  std::size_t offset = 0;
  std::uint32_t color = 0;
};

struct FormattedText {
  std::string plain;
  std::vector<ColorChange> colors;
};

// Splits the "\FC[n]" commands off a text. A command that is not well formed stays as text.
FormattedText parseFormattedText(std::string_view text);

}  // namespace fondaris::documents
