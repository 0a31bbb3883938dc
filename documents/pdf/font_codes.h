#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include <podofo/podofo.h>

namespace fondaris::documents::detail {

// What the codes of a page font mean: their length in bytes, the characters they stand for and
// their widths, read from the font dictionary alone, so that every font kind reads alike.
struct FontCodes {
  std::string baseFont;
  bool composite = false;  // Type0: codes of one to four bytes select CIDs
  bool subset = false;     // "ABCDEF+Name": only the glyphs the writer used are embedded
  bool fixedPitch = false;
  std::map<std::uint32_t, std::u32string> unicode;
  // Codes whose glyph the font surely holds; a subset holds only the ones it names.
  std::map<char32_t, std::uint32_t> codeOf;
  std::map<std::uint32_t, double> widths;  // thousandths of the size
  double defaultWidth = 0;

  // Length of the code starting at `at` (never past the end, at least 1).
  std::size_t codeLength(std::string_view bytes, std::size_t at) const;
  double width(std::uint32_t code) const;
  // The characters of a code; U+FFFD when the font does not say.
  const std::u32string& charactersOf(std::uint32_t code) const;
  // Bytes of `text` in this font, or false when a glyph is missing.
  bool encode(const std::u32string& text, std::string& bytes) const;

  // Bytes a composite font's code takes, by the codespace.
  std::size_t compositeLength(std::uint32_t code) const;

  // Makes width() and charactersOf() of a simple font look its codes up by index instead of in
  // the maps, which every character of a page asks. Called once the maps are complete; changing
  // them afterwards needs another call.
  void index();

  // Codespace of a composite font's CMap: byte length by first byte; empty means two bytes.
  std::map<unsigned char, std::size_t> lengthByFirstByte;
  std::map<std::uint32_t, std::uint32_t> cidOf;  // empty for Identity: CID = code
  std::size_t fixedLength = 1;

 private:
  bool indexed_ = false;
  std::array<double, 256> simpleWidths_{};
  std::array<std::u32string, 256> simpleCharacters_;
};

// Reads a font dictionary of a page's resources. `builtIn` gives a simple font's characters
// where neither a ToUnicode map nor an encoding name them (PoDoFo's idea of its encoding).
FontCodes readFontCodes(const PoDoFo::PdfObject& font, const PoDoFo::PdfEncoding* builtIn);

// The code → characters pairs of a ToUnicode CMap (bfchar and bfrange).
std::map<std::uint32_t, std::u32string> parseToUnicode(std::string_view cmap);

// The glyph name's character per the Adobe glyph list and the uniXXXX / uXXXX conventions; 0
// when unknown.
char32_t glyphNameToUnicode(const std::string& name);

}  // namespace fondaris::documents::detail
