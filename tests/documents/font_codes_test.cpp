#include <gtest/gtest.h>

#include <string>

#include "documents/pdf/font_codes.h"

namespace fondaris::documents::detail {
namespace {

// ToUnicode maps as writers emit them: single codes, ranges counting up, ranges with a list,
// two-byte codes, characters outside the BMP and ligatures.
TEST(ToUnicodeMap, CharsRangesAndLists) {
  const std::string cmap =
      "/CIDInit /ProcSet findresource begin 12 dict begin begincmap\n"
      "1 begincodespacerange <0000> <FFFF> endcodespacerange\n"
      "3 beginbfchar\n<0003> <0020>\n<0024><00E4>\n<0030> <D83DDE00>\nendbfchar\n"
      "2 beginbfrange\n<0041> <0043> <0061>\n<0050> <0051> [<0066006C> <00DF>]\nendbfrange\n"
      "endcmap CMapName currentdict /CMap defineresource pop end end\n";
  const auto map = parseToUnicode(cmap);
  const struct {
    std::uint32_t code;
    std::u32string text;
  } cases[] = {
      {0x03, U" "}, {0x24, U"ä"}, {0x30, U"\U0001F600"}, {0x41, U"a"},
      {0x42, U"b"}, {0x43, U"c"}, {0x50, U"fl"},         {0x51, U"ß"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    ASSERT_EQ(map.count(c.code), 1u);
    EXPECT_EQ(map.at(c.code), c.text);
  }
  EXPECT_EQ(map.count(0x44), 0u);
  EXPECT_EQ(map.size(), 8u);
}

TEST(GlyphNames, StandardAndUnicodeNames) {
  const struct {
    const char* name;
    char32_t c;
  } cases[] = {
      {"A", U'A'},       {"numbersign", U'#'},      {"adieresis", U'ä'}, {"germandbls", U'ß'},
      {"uni00FC", U'ü'}, {"u1F600", U'\U0001F600'}, {"uni20AC", U'€'},   {"g123", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(glyphNameToUnicode(c.name), c.c);
  }
}

// A composite font whose CMap mixes one- and two-byte codes: the codes split and encode by it.
TEST(FontCodes, CodespaceGivesCodeLengths) {
  FontCodes codes;
  codes.composite = true;
  codes.fixedLength = 2;
  for (int b = 0; b < 0x80; ++b) codes.lengthByFirstByte[static_cast<unsigned char>(b)] = 1;
  for (int b = 0x81; b <= 0xFE; ++b) codes.lengthByFirstByte[static_cast<unsigned char>(b)] = 2;
  const std::string bytes(
      "A\x81\x40"
      "B",
      4);
  EXPECT_EQ(codes.codeLength(bytes, 0), 1u);
  EXPECT_EQ(codes.codeLength(bytes, 1), 2u);
  EXPECT_EQ(codes.codeLength(bytes, 3), 1u);
  EXPECT_EQ(codes.codeLength(bytes.substr(0, 2), 1), 1u);  // never past the end
  codes.codeOf = {{U'A', 0x41}, {U'漢', 0x8140}};
  std::string encoded;
  ASSERT_TRUE(codes.encode(U"A漢", encoded));
  EXPECT_EQ(encoded, std::string("A\x81\x40", 3));
  EXPECT_FALSE(codes.encode(U"AB", encoded));
}

// A damaged template: the widths of a composite font refer to an object the file lacks. The font
// reads with its default width instead of following the reference.
TEST(FontCodes, MissingObjectsInAFontAreNotFollowed) {
  using namespace PoDoFo;
  PdfMemDocument document;
  PdfObject* descendant = document.GetObjects().CreateObject("Font");
  PdfArray widths;
  widths.push_back(PdfObject(static_cast<pdf_int64>(1)));
  widths.push_back(PdfObject(PdfReference(999, 0)));
  descendant->GetDictionary().AddKey("W", widths);
  PdfObject* font = document.GetObjects().CreateObject("Font");
  font->GetDictionary().AddKey("Subtype", PdfName("Type0"));
  font->GetDictionary().AddKey("Encoding", PdfName("Identity-H"));
  PdfArray descendants;
  descendants.push_back(PdfObject(descendant->Reference()));
  font->GetDictionary().AddKey("DescendantFonts", descendants);
  const FontCodes codes = readFontCodes(*font, nullptr);
  EXPECT_TRUE(codes.composite);
  EXPECT_EQ(codes.width(1), 1000);
}

}  // namespace
}  // namespace fondaris::documents::detail
