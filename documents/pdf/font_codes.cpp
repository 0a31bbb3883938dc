#include "documents/pdf/font_codes.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace fondaris::documents::detail {

using namespace PoDoFo;

namespace {

// The tokens of a CMap that matter here: hex strings, brackets and words.
struct CMapToken {
  enum Kind { Hex, Open, Close, Word } kind;
  std::string text;  // bytes of a hex string, else the word
};

std::vector<CMapToken> tokenizeCMap(std::string_view s) {
  std::vector<CMapToken> tokens;
  auto hexValue = [](char c) {
    return std::isdigit(static_cast<unsigned char>(c))
               ? c - '0'
               : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
  };
  for (std::size_t i = 0; i < s.size();) {
    const char c = s[i];
    if (c == '%') {
      while (i < s.size() && s[i] != '\n' && s[i] != '\r') ++i;
    } else if (c == '<' && i + 1 < s.size() && s[i + 1] == '<') {
      i += 2;
    } else if (c == '>' && i + 1 < s.size() && s[i + 1] == '>') {
      i += 2;
    } else if (c == '<') {
      std::string bytes;
      int high = -1;
      for (++i; i < s.size() && s[i] != '>'; ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(s[i]))) continue;
        if (high < 0) {
          high = hexValue(s[i]);
        } else {
          bytes.push_back(static_cast<char>(high * 16 + hexValue(s[i])));
          high = -1;
        }
      }
      if (high >= 0) bytes.push_back(static_cast<char>(high * 16));
      ++i;
      tokens.push_back({CMapToken::Hex, std::move(bytes)});
    } else if (c == '[' || c == ']') {
      tokens.push_back({c == '[' ? CMapToken::Open : CMapToken::Close, {}});
      ++i;
    } else if (c == '(') {
      int depth = 0;
      for (; i < s.size(); ++i) {
        if (s[i] == '\\') {
          ++i;
        } else if (s[i] == '(') {
          ++depth;
        } else if (s[i] == ')' && --depth == 0) {
          ++i;
          break;
        }
      }
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else {
      std::string word;
      while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i])) &&
             std::string_view("[]<>()%").find(s[i]) == std::string_view::npos)
        word.push_back(s[i++]);
      if (word.empty()) ++i;
      tokens.push_back({CMapToken::Word, std::move(word)});
    }
  }
  return tokens;
}

std::uint32_t codeValue(const std::string& bytes) {
  std::uint32_t value = 0;
  for (unsigned char b : bytes) value = (value << 8) | b;
  return value;
}

std::u32string utf16beToUtf32(const std::string& bytes) {
  std::u32string out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t unit =
        (static_cast<unsigned char>(bytes[i]) << 8) | static_cast<unsigned char>(bytes[i + 1]);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      const char32_t low = (static_cast<unsigned char>(bytes[i + 2]) << 8) |
                           static_cast<unsigned char>(bytes[i + 3]);
      if (low >= 0xDC00 && low < 0xE000) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    out.push_back(unit);
  }
  return out;
}

std::string streamText(const PdfObject* object) {
  if (!object || !object->HasStream()) return {};
  char* buffer = nullptr;
  pdf_long length = 0;
  try {
    const_cast<PdfObject*>(object)->GetStream()->GetFilteredCopy(&buffer, &length);
  } catch (const PdfError&) {
    return {};
  }
  std::string text(buffer, static_cast<std::size_t>(length));
  podofo_free(buffer);
  return text;
}

double numberOf(const PdfObject& o) {
  if (o.IsReal()) return o.GetReal();
  if (o.IsNumber()) return static_cast<double>(o.GetNumber());
  return 0;
}

const PdfObject* key(const PdfObject* dict, const char* name) {
  return dict && dict->IsDictionary() ? dict->GetIndirectKey(PdfName(name)) : nullptr;
}

std::string nameOf(const PdfObject* o) {
  return o && o->IsName() ? o->GetName().GetName() : std::string();
}

// An array element itself, or the object it refers to; the element when that is missing.
const PdfObject* resolved(const PdfObject& element, const PdfObject& holder) {
  if (!element.IsReference() || !holder.GetOwner()) return &element;
  const PdfObject* target = holder.GetOwner()->GetObject(element.GetReference());
  return target ? target : &element;
}

bool isSubsetName(const std::string& name) {
  if (name.size() < 8 || name[6] != '+') return false;
  for (int i = 0; i < 6; ++i)
    if (name[i] < 'A' || name[i] > 'Z') return false;
  return true;
}

const PdfEncoding* namedEncoding(const std::string& name) {
  if (name == "WinAnsiEncoding") return PdfEncodingFactory::GlobalWinAnsiEncodingInstance();
  if (name == "MacRomanEncoding") return PdfEncodingFactory::GlobalMacRomanEncodingInstance();
  if (name == "StandardEncoding") return PdfEncodingFactory::GlobalStandardEncodingInstance();
  return nullptr;
}

char32_t encodingCharacter(const PdfEncoding* encoding, int code) {
  if (!encoding) return 0;
  try {
    const pdf_utf16be be = encoding->GetCharCode(code);
    return static_cast<char32_t>(((be & 0xFF) << 8) | ((be >> 8) & 0xFF));
  } catch (const PdfError&) {
    return 0;
  }
}

// A composite font's CMap: the codespace ranges give code lengths, cidchar/cidrange the CIDs.
void readEmbeddedCMap(std::string_view cmap, FontCodes& codes) {
  const auto tokens = tokenizeCMap(cmap);
  std::string section;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const CMapToken& t = tokens[i];
    if (t.kind == CMapToken::Word) {
      if (t.text.rfind("begin", 0) == 0) section = t.text.substr(5);
      if (t.text.rfind("end", 0) == 0) section.clear();
      continue;
    }
    if (t.kind != CMapToken::Hex) continue;
    if (section == "codespacerange" && i + 1 < tokens.size()) {
      const std::string& low = t.text;
      const std::string& high = tokens[++i].text;
      if (low.empty() || high.empty()) continue;
      for (int b = static_cast<unsigned char>(low[0]); b <= static_cast<unsigned char>(high[0]);
           ++b)
        codes.lengthByFirstByte[static_cast<unsigned char>(b)] = low.size();
    } else if (section == "cidrange" && i + 2 < tokens.size()) {
      const std::uint32_t low = codeValue(t.text), high = codeValue(tokens[i + 1].text);
      const std::uint32_t cid = static_cast<std::uint32_t>(std::atol(tokens[i + 2].text.c_str()));
      for (std::uint32_t c = low; c <= high && c - low < 0x10000; ++c)
        codes.cidOf[c] = cid + (c - low);
      i += 2;
    } else if (section == "cidchar" && i + 1 < tokens.size()) {
      codes.cidOf[codeValue(t.text)] =
          static_cast<std::uint32_t>(std::atol(tokens[++i].text.c_str()));
    }
  }
}

void readCidWidths(const PdfObject* descendant, FontCodes& codes) {
  const PdfObject* dw = key(descendant, "DW");
  codes.defaultWidth = dw ? numberOf(*dw) : 1000;
  const PdfObject* w = key(descendant, "W");
  if (!w || !w->IsArray()) return;
  const PdfArray& array = w->GetArray();
  for (std::size_t i = 0; i + 1 < array.size();) {
    const auto first = static_cast<std::uint32_t>(numberOf(array[i]));
    const PdfObject& next = *resolved(array[i + 1], *descendant);
    if (next.IsArray()) {
      const PdfArray& list = next.GetArray();
      for (std::size_t k = 0; k < list.size(); ++k)
        codes.widths[first + static_cast<std::uint32_t>(k)] = numberOf(list[k]);
      i += 2;
    } else if (i + 2 < array.size()) {
      const auto last = static_cast<std::uint32_t>(numberOf(next));
      for (std::uint32_t c = first; c <= last && c - first < 0x10000; ++c)
        codes.widths[c] = numberOf(array[i + 2]);
      i += 3;
    } else {
      break;
    }
  }
}

void readComposite(const PdfObject& font, FontCodes& codes) {
  codes.composite = true;
  codes.fixedLength = 2;
  const PdfObject* encoding = key(&font, "Encoding");
  if (encoding && encoding->HasStream()) readEmbeddedCMap(streamText(encoding), codes);
  const PdfObject* descendants = key(&font, "DescendantFonts");
  const PdfObject* descendant = nullptr;
  if (descendants && descendants->IsArray() && !descendants->GetArray().empty()) {
    descendant = resolved(descendants->GetArray()[0], font);
  }
  if (const PdfObject* base = key(descendant, "BaseFont"); base && codes.baseFont.empty())
    codes.baseFont = nameOf(base);
  if (const PdfObject* flags = key(key(descendant, "FontDescriptor"), "Flags"))
    codes.fixedPitch = (static_cast<long>(numberOf(*flags)) & 1) != 0;
  readCidWidths(descendant, codes);
}

// The glyph names an embedded font program gives its codes by its own encoding, as characters;
// code → 0 where the program holds no glyph.
std::map<std::uint32_t, char32_t> builtInEncoding(const PdfObject& font) {
  std::map<std::uint32_t, char32_t> codes;
  const PdfObject* descriptor = key(&font, "FontDescriptor");
  const PdfObject* program = key(descriptor, "FontFile");
  if (!program) program = key(descriptor, "FontFile3");
  if (!program) program = key(descriptor, "FontFile2");
  const std::string bytes = streamText(program);
  if (bytes.empty()) return codes;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return codes;
  const std::unique_ptr<FT_LibraryRec_, FT_Error (*)(FT_Library)> libraryGuard(library,
                                                                               FT_Done_FreeType);
  FT_Face face = nullptr;
  if (FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(bytes.data()),
                         static_cast<FT_Long>(bytes.size()), 0, &face) != 0)
    return codes;
  const std::unique_ptr<FT_FaceRec_, FT_Error (*)(FT_Face)> faceGuard(face, FT_Done_Face);
  if (!FT_HAS_GLYPH_NAMES(face)) return codes;
  // Type 1 programs carry their encoding; symbolic TrueType fonts put the codes at F0xx.
  FT_ULong offset = 0;
  if (FT_Select_Charmap(face, FT_ENCODING_ADOBE_CUSTOM) != 0 &&
      FT_Select_Charmap(face, FT_ENCODING_ADOBE_STANDARD) != 0) {
    if (FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0)
      offset = 0xF000;
    else if (FT_Select_Charmap(face, FT_ENCODING_APPLE_ROMAN) != 0)
      return codes;
  }
  char name[64];
  for (std::uint32_t code = 0; code < 256; ++code) {
    const FT_UInt glyph = FT_Get_Char_Index(face, offset + code);
    if (glyph == 0 || FT_Get_Glyph_Name(face, glyph, name, sizeof name) != 0) continue;
    codes[code] = glyphNameToUnicode(name);
  }
  return codes;
}

// The characters of a simple font's 256 codes by its encoding; `named` gets the codes a
// /Differences array names.
void readSimpleEncoding(const PdfObject& font, const PdfEncoding* builtIn, FontCodes& codes,
                        std::vector<bool>& named) {
  const PdfObject* encoding = key(&font, "Encoding");
  const PdfEncoding* base = nullptr;
  if (encoding && encoding->IsName()) base = namedEncoding(nameOf(encoding));
  if (encoding && encoding->IsDictionary())
    base = namedEncoding(nameOf(key(encoding, "BaseEncoding")));
  // Without a named encoding the font program's own one counts, for the glyphs it names.
  const auto program = base ? std::map<std::uint32_t, char32_t>() : builtInEncoding(font);
  for (const auto& [code, c] : program) {
    if (c) codes.unicode[code] = std::u32string(1, c);
    named[code] = true;
  }
  if (program.empty()) {
    if (!base) base = builtIn ? builtIn : PdfEncodingFactory::GlobalStandardEncodingInstance();
    for (int code = 0; code < 256; ++code)
      if (const char32_t c = encodingCharacter(base, code))
        codes.unicode[static_cast<std::uint32_t>(code)] = std::u32string(1, c);
  }
  const PdfObject* differences = key(encoding, "Differences");
  if (!differences || !differences->IsArray()) return;
  long code = 0;
  for (const PdfObject& item : differences->GetArray()) {
    if (item.IsNumber()) {
      code = static_cast<long>(item.GetNumber());
    } else if (item.IsName()) {
      if (code >= 0 && code < 256) {
        const char32_t c = glyphNameToUnicode(item.GetName().GetName());
        if (c)
          codes.unicode[static_cast<std::uint32_t>(code)] = std::u32string(1, c);
        else
          codes.unicode.erase(static_cast<std::uint32_t>(code));
        named[static_cast<std::size_t>(code)] = true;
      }
      ++code;
    }
  }
}

void readSimpleWidths(const PdfObject& font, FontCodes& codes) {
  if (const PdfObject* missing = key(key(&font, "FontDescriptor"), "MissingWidth"))
    codes.defaultWidth = numberOf(*missing);
  const PdfObject* widths = key(&font, "Widths");
  if (!widths || !widths->IsArray()) return;
  const PdfObject* first = key(&font, "FirstChar");
  const long firstChar = first ? static_cast<long>(numberOf(*first)) : 0;
  const PdfArray& array = widths->GetArray();
  for (std::size_t i = 0; i < array.size(); ++i) {
    const long code = firstChar + static_cast<long>(i);
    if (code >= 0 && code < 256)
      codes.widths[static_cast<std::uint32_t>(code)] = numberOf(array[i]);
  }
}

}  // namespace

std::size_t FontCodes::codeLength(std::string_view bytes, std::size_t at) const {
  std::size_t length = fixedLength;
  if (composite && !lengthByFirstByte.empty()) {
    const auto found = lengthByFirstByte.find(static_cast<unsigned char>(bytes[at]));
    length = found == lengthByFirstByte.end() ? 1 : found->second;
  }
  return std::max<std::size_t>(1, std::min(length, bytes.size() - at));
}

void FontCodes::index() {
  indexed_ = false;
  if (composite) return;
  for (std::uint32_t code = 0; code < 256; ++code) {
    simpleWidths_[code] = width(code);
    const auto found = unicode.find(code);
    simpleCharacters_[code] =
        found == unicode.end() || found->second.empty() ? U"\uFFFD" : found->second;
  }
  indexed_ = true;
}

double FontCodes::width(std::uint32_t code) const {
  if (indexed_ && code < 256) return simpleWidths_[code];
  std::uint32_t glyph = code;
  if (composite && !cidOf.empty()) {
    const auto cid = cidOf.find(code);
    glyph = cid == cidOf.end() ? 0 : cid->second;
  }
  const auto found = widths.find(glyph);
  return found == widths.end() ? defaultWidth : found->second;
}

const std::u32string& FontCodes::charactersOf(std::uint32_t code) const {
  static const std::u32string unknown = U"\uFFFD";
  if (indexed_ && code < 256) return simpleCharacters_[code];
  const auto found = unicode.find(code);
  if (found == unicode.end() || found->second.empty()) return unknown;
  return found->second;
}

std::size_t FontCodes::compositeLength(std::uint32_t code) const {
  if (lengthByFirstByte.empty()) return fixedLength;
  for (std::size_t length = 1; length <= 4; ++length) {
    if (length < 4 && code >> (8 * length)) continue;
    const auto found =
        lengthByFirstByte.find(static_cast<unsigned char>(code >> (8 * (length - 1))));
    if (found != lengthByFirstByte.end() && found->second == length) return length;
  }
  return fixedLength;
}

bool FontCodes::encode(const std::u32string& text, std::string& bytes) const {
  bytes.clear();
  for (char32_t c : text) {
    const auto found = codeOf.find(c);
    if (found == codeOf.end()) return false;
    const std::size_t length = composite ? compositeLength(found->second) : 1;
    for (std::size_t k = length; k-- > 0;)
      bytes.push_back(static_cast<char>((found->second >> (8 * k)) & 0xFF));
  }
  return true;
}

std::map<std::uint32_t, std::u32string> parseToUnicode(std::string_view cmap) {
  std::map<std::uint32_t, std::u32string> map;
  const auto tokens = tokenizeCMap(cmap);
  std::string section;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const CMapToken& t = tokens[i];
    if (t.kind == CMapToken::Word) {
      if (t.text == "beginbfchar" || t.text == "beginbfrange") section = t.text.substr(5);
      if (t.text == "endbfchar" || t.text == "endbfrange") section.clear();
      continue;
    }
    if (t.kind != CMapToken::Hex) continue;
    if (section == "bfchar" && i + 1 < tokens.size() && tokens[i + 1].kind == CMapToken::Hex) {
      map[codeValue(t.text)] = utf16beToUtf32(tokens[++i].text);
    } else if (section == "bfrange" && i + 2 < tokens.size()) {
      const std::uint32_t low = codeValue(t.text), high = codeValue(tokens[i + 1].text);
      if (high < low || high - low > 0xFFFF) {
        i += 2;
        continue;
      }
      if (tokens[i + 2].kind == CMapToken::Hex) {
        std::u32string target = utf16beToUtf32(tokens[i + 2].text);
        for (std::uint32_t c = low; c <= high && !target.empty(); ++c) {
          map[c] = target;
          ++target.back();  // the last character counts up through the range
        }
        i += 2;
      } else if (tokens[i + 2].kind == CMapToken::Open) {
        std::size_t k = i + 3;
        for (std::uint32_t c = low; k < tokens.size() && tokens[k].kind == CMapToken::Hex; ++c, ++k)
          if (c <= high) map[c] = utf16beToUtf32(tokens[k].text);
        i = k;
      }
    }
  }
  return map;
}

char32_t glyphNameToUnicode(const std::string& name) {
  auto hex = [&](std::size_t from, std::size_t minDigits, std::size_t maxDigits) -> char32_t {
    const std::size_t digits = name.size() - from;
    if (digits < minDigits || digits > maxDigits) return 0;
    char32_t value = 0;
    for (std::size_t i = from; i < name.size(); ++i) {
      if (!std::isxdigit(static_cast<unsigned char>(name[i]))) return 0;
      value = value * 16 + static_cast<char32_t>(std::stoi(name.substr(i, 1), nullptr, 16));
    }
    return value;
  };
  if (name.rfind("uni", 0) == 0)
    if (const char32_t c = hex(3, 4, 4)) return c;
  if (name.size() > 1 && name[0] == 'u')
    if (const char32_t c = hex(1, 4, 6)) return c;
  // PoDoFo answers in big-endian byte order.
  const pdf_utf16be id = PdfDifferenceEncoding::NameToUnicodeID(PdfName(name));
  return static_cast<char32_t>(((id & 0xFF) << 8) | ((id >> 8) & 0xFF));
}

FontCodes readFontCodes(const PdfObject& font, const PdfEncoding* builtIn) {
  FontCodes codes;
  codes.baseFont = nameOf(key(&font, "BaseFont"));
  const std::string kind = nameOf(key(&font, "Subtype"));
  std::vector<bool> named(256, false);
  if (kind == "Type0") {
    readComposite(font, codes);
  } else {
    readSimpleEncoding(font, builtIn, codes, named);
    readSimpleWidths(font, codes);
    if (const PdfObject* flags = key(key(&font, "FontDescriptor"), "Flags"))
      codes.fixedPitch = (static_cast<long>(numberOf(*flags)) & 1) != 0;
  }
  if (codes.baseFont.rfind("Courier", 0) == 0) codes.fixedPitch = true;
  codes.subset = isSubsetName(codes.baseFont);

  std::map<std::uint32_t, std::u32string> toUnicode;
  if (const PdfObject* map = key(&font, "ToUnicode")) toUnicode = parseToUnicode(streamText(map));
  for (const auto& [code, text] : toUnicode) codes.unicode[code] = text;

  // What a subset holds is what its writer named; any other font holds its whole encoding.
  auto holds = [&](std::uint32_t code) {
    if (!codes.subset) return codes.composite ? toUnicode.count(code) > 0 : true;
    if (toUnicode.count(code)) return true;
    return !codes.composite && code < 256 && named[code];
  };
  for (const auto& [code, text] : codes.unicode) {
    if (text.size() != 1 || !holds(code)) continue;
    if (!codes.widths.empty() && codes.width(code) <= 0) continue;
    codes.codeOf.emplace(text[0], code);
  }
  codes.index();
  return codes;
}

}  // namespace fondaris::documents::detail
