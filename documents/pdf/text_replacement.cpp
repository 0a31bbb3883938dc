#include "documents/pdf/text_replacement.h"

#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include "core/cp1252.h"
#include "documents/pdf/utf8_text.h"

namespace fondaris::documents::detail {

using namespace PoDoFo;
using documents::decodeUtf8;
using documents::encodeUtf8;

namespace {

struct Matrix {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
  // this × other (row vectors, as PDF writes them)
  Matrix times(const Matrix& o) const {
    return {a * o.a + b * o.c, a * o.b + b * o.d,       c * o.a + d * o.c,
            c * o.b + d * o.d, e * o.a + f * o.c + o.e, e * o.b + f * o.d + o.f};
  }
  static Matrix translation(double x, double y) { return {1, 0, 0, 1, x, y}; }
};

struct Op {
  std::vector<PdfVariant> operands;
  std::string keyword;
  bool imageData = false;
};

struct FontInfo {
  PdfFont* font = nullptr;
  std::string baseFont;
  bool simple = false;
  bool fixedPitch = false;
  bool subset = false;
  std::array<char32_t, 256> unicode{};
  std::array<double, 256> width{};  // in thousandths of the size
};

struct GraphicsState {
  Matrix ctm;
  std::vector<const Op*> fillColor;
  std::string fontResource;
  double fontSize = 0;
  double charSpacing = 0;
  double wordSpacing = 0;
  double horizontalScale = 1;
  double leading = 0;
  double rise = 0;
};

// One string operand of a text-showing operator.
struct Piece {
  std::size_t op = 0;
  int element = -1;  // index inside a TJ array, else -1
  std::string bytes;
  bool hex = false;
  FontInfo* font = nullptr;
  GraphicsState state;
  Matrix textMatrix;              // at the start of the piece
  std::vector<double> advance;    // text-space x of each byte's start
  double startX = 0, startY = 0;  // user space
  double endX = 0, endY = 0;
  double userSize = 0;
};

struct VirtualChar {
  char32_t c;
  int piece;  // -1 for a gap counted as a space
  int byte;
};

char32_t normalise(char32_t c) {
  if (c == 0xA0) return U' ';
  if (c == 0xAD) return U'-';
  return c;
}

std::string pageContent(PdfPage& page) {
  std::string content;
  PdfObject* contents = page.GetContents();
  if (!contents) return content;
  auto append = [&content](PdfObject* object) {
    if (!object || !object->HasStream()) return;
    char* buffer = nullptr;
    pdf_long length = 0;
    object->GetStream()->GetFilteredCopy(&buffer, &length);
    content.append(buffer, static_cast<std::size_t>(length));
    podofo_free(buffer);
    content.push_back('\n');
  };
  if (contents->IsArray()) {
    for (auto& item : contents->GetArray())
      append(item.IsReference() ? page.GetObject()->GetOwner()->GetObject(item.GetReference())
                                : &item);
  } else {
    append(contents);
  }
  return content;
}

std::vector<Op> parseOps(const std::string& content) {
  std::vector<Op> ops;
  if (content.empty()) return ops;
  PdfContentsTokenizer tokenizer(content.data(), static_cast<long>(content.size()));
  EPdfContentsType type;
  const char* keyword = nullptr;
  PdfVariant variant;
  Op current;
  while (tokenizer.ReadNext(type, keyword, variant)) {
    if (type == ePdfContentsType_Variant) {
      current.operands.push_back(variant);
    } else if (type == ePdfContentsType_Keyword) {
      current.keyword = keyword;
      ops.push_back(std::move(current));
      current = {};
    } else {
      current.operands.push_back(variant);
      current.imageData = true;
      ops.push_back(std::move(current));
      current = {};
    }
  }
  return ops;
}

double number(const PdfVariant& v) {
  if (v.IsReal()) return v.GetReal();
  if (v.IsNumber()) return static_cast<double>(v.GetNumber());
  return 0;
}

bool isSubsetName(const std::string& name) {
  if (name.size() < 8 || name[6] != '+') return false;
  for (int i = 0; i < 6; ++i)
    if (name[i] < 'A' || name[i] > 'Z') return false;
  return true;
}

class PageText {
 public:
  PageText(PdfMemDocument& document, PdfPage& page) : document_(document), page_(page) {
    ops_ = parseOps(pageContent(page));
    collectPieces();
    buildVirtualText();
  }

  const std::vector<VirtualChar>& text() const { return text_; }
  std::vector<Op>& ops() { return ops_; }
  std::vector<Piece>& pieces() { return pieces_; }

 private:
  FontInfo* fontFor(const std::string& resource) {
    auto found = fonts_.find(resource);
    if (found != fonts_.end()) return found->second.get();
    auto info = std::make_unique<FontInfo>();
    PdfObject* resources = page_.GetResources();
    PdfObject* fontDict = resources ? resources->GetIndirectKey("Font") : nullptr;
    PdfObject* fontObject = fontDict ? fontDict->GetIndirectKey(PdfName(resource)) : nullptr;
    if (fontObject && fontObject->IsDictionary()) {
      const PdfObject* subtype = fontObject->GetIndirectKey("Subtype");
      const std::string kind = subtype && subtype->IsName() ? subtype->GetName().GetName() : "";
      info->simple = kind == "Type1" || kind == "TrueType" || kind == "MMType1";
      const PdfObject* base = fontObject->GetIndirectKey("BaseFont");
      if (base && base->IsName()) info->baseFont = base->GetName().GetName();
      info->subset = isSubsetName(info->baseFont);
      if (const PdfObject* descriptor = fontObject->GetIndirectKey("FontDescriptor")) {
        const PdfObject* flags = descriptor->GetIndirectKey("Flags");
        if (flags && flags->IsNumber()) info->fixedPitch = (flags->GetNumber() & 1) != 0;
      }
      if (info->baseFont.rfind("Courier", 0) == 0) info->fixedPitch = true;
      try {
        info->font = document_.GetFont(fontObject);
      } catch (const PdfError&) {
        info->font = nullptr;
      }
      const PdfEncoding* encoding = info->font ? info->font->GetEncoding() : nullptr;
      for (int code = 0; code < 256; ++code) {
        char32_t u = 0;
        if (encoding && info->simple) {
          const pdf_utf16be be = encoding->GetCharCode(code);
          u = static_cast<char32_t>(((be & 0xFF) << 8) | ((be >> 8) & 0xFF));
        }
        if (u == 0) {
          const std::string one(1, static_cast<char>(code));
          u = decodeUtf8(core::cp1252ToUtf8(one))[0];
        }
        info->unicode[code] = u;
      }
      loadWidths(*info, fontObject);
    }
    return (fonts_[resource] = std::move(info)).get();
  }

  static void loadWidths(FontInfo& info, PdfObject* fontObject) {
    info.width.fill(500);
    const PdfObject* widths = fontObject->GetIndirectKey("Widths");
    const PdfObject* first = fontObject->GetIndirectKey("FirstChar");
    if (widths && widths->IsArray()) {
      const long firstChar = first && first->IsNumber() ? static_cast<long>(first->GetNumber()) : 0;
      const PdfArray& array = widths->GetArray();
      for (std::size_t i = 0; i < array.size(); ++i) {
        const long code = firstChar + static_cast<long>(i);
        if (code >= 0 && code < 256) info.width[code] = number(array[i]);
      }
      return;
    }
    if (!info.font || !info.simple) return;
    // Standard fonts come without widths: ask the font's own metrics at size 1000.
    PdfFontMetrics* metrics = info.font->GetFontMetrics2();
    const float size = metrics->GetFontSize();
    const float scale = metrics->GetFontScale();
    const float charSpace = metrics->GetFontCharSpace();
    metrics->SetFontSize(1000);
    metrics->SetFontScale(100);
    metrics->SetFontCharSpace(0);
    for (int code = 32; code < 256; ++code) {
      const double w = metrics->CharWidth(static_cast<unsigned char>(code));
      if (w > 0) info.width[code] = w;
    }
    metrics->SetFontSize(size);
    metrics->SetFontScale(scale);
    metrics->SetFontCharSpace(charSpace);
  }

  void showString(std::size_t opIndex, int element, const PdfVariant& operand, GraphicsState& gs,
                  Matrix& tm) {
    if (!operand.IsString() && !operand.IsHexString()) return;
    const PdfString& s = operand.GetString();
    Piece piece;
    piece.op = opIndex;
    piece.element = element;
    piece.bytes.assign(s.GetString(), static_cast<std::size_t>(s.GetLength()));
    piece.hex = s.IsHex();
    piece.font = fontFor(gs.fontResource);
    piece.state = gs;
    piece.textMatrix = tm;
    const Matrix render{gs.fontSize * gs.horizontalScale, 0, 0, gs.fontSize, 0, gs.rise};
    const Matrix start = render.times(tm).times(gs.ctm);
    piece.startX = start.e;
    piece.startY = start.f;
    piece.userSize =
        std::abs(gs.fontSize) * std::hypot(gs.ctm.c, gs.ctm.d) * std::hypot(tm.c, tm.d);
    double x = 0;
    const bool oneByte = piece.font->simple || !piece.font->font;
    for (unsigned char byte : piece.bytes) {
      piece.advance.push_back(x);
      const double w = oneByte ? piece.font->width[byte] / 1000.0 : 0.5;
      x += (w * gs.fontSize + gs.charSpacing + (byte == ' ' ? gs.wordSpacing : 0)) *
           gs.horizontalScale;
    }
    tm = Matrix::translation(x, 0).times(tm);
    const Matrix end = render.times(tm).times(gs.ctm);
    piece.endX = end.e;
    piece.endY = end.f;
    pieces_.push_back(std::move(piece));
  }

  void collectPieces() {
    std::vector<GraphicsState> stack;
    GraphicsState gs;
    Matrix tm, tlm;
    for (std::size_t i = 0; i < ops_.size(); ++i) {
      const Op& op = ops_[i];
      const auto& a = op.operands;
      const std::string& k = op.keyword;
      auto nextLine = [&](double tx, double ty) {
        tlm = Matrix::translation(tx, ty).times(tlm);
        tm = tlm;
      };
      if (k == "q") {
        stack.push_back(gs);
      } else if (k == "Q") {
        if (!stack.empty()) {
          gs = stack.back();
          stack.pop_back();
        }
      } else if (k == "cm" && a.size() == 6) {
        gs.ctm = Matrix{number(a[0]), number(a[1]), number(a[2]),
                        number(a[3]), number(a[4]), number(a[5])}
                     .times(gs.ctm);
      } else if (k == "rg" || k == "g" || k == "k") {
        gs.fillColor = {&op};
      } else if (k == "cs") {
        gs.fillColor = {&op};
      } else if (k == "sc" || k == "scn") {
        if (!gs.fillColor.empty() && gs.fillColor.front()->keyword == "cs") {
          gs.fillColor.resize(1);
          gs.fillColor.push_back(&op);
        } else {
          gs.fillColor = {&op};
        }
      } else if (k == "BT") {
        tm = tlm = Matrix{};
      } else if (k == "Tf" && a.size() == 2) {
        gs.fontResource = a[0].IsName() ? a[0].GetName().GetName() : "";
        gs.fontSize = number(a[1]);
      } else if (k == "Tc" && a.size() == 1) {
        gs.charSpacing = number(a[0]);
      } else if (k == "Tw" && a.size() == 1) {
        gs.wordSpacing = number(a[0]);
      } else if (k == "Tz" && a.size() == 1) {
        gs.horizontalScale = number(a[0]) / 100.0;
      } else if (k == "TL" && a.size() == 1) {
        gs.leading = number(a[0]);
      } else if (k == "Ts" && a.size() == 1) {
        gs.rise = number(a[0]);
      } else if (k == "Td" && a.size() == 2) {
        nextLine(number(a[0]), number(a[1]));
      } else if (k == "TD" && a.size() == 2) {
        gs.leading = -number(a[1]);
        nextLine(number(a[0]), number(a[1]));
      } else if (k == "Tm" && a.size() == 6) {
        tm = tlm = Matrix{number(a[0]), number(a[1]), number(a[2]),
                          number(a[3]), number(a[4]), number(a[5])};
      } else if (k == "T*") {
        nextLine(0, -gs.leading);
      } else if (k == "Tj" && a.size() == 1) {
        showString(i, -1, a[0], gs, tm);
      } else if (k == "'" && a.size() == 1) {
        nextLine(0, -gs.leading);
        showString(i, -1, a[0], gs, tm);
      } else if (k == "\"" && a.size() == 3) {
        gs.wordSpacing = number(a[0]);
        gs.charSpacing = number(a[1]);
        nextLine(0, -gs.leading);
        showString(i, -1, a[2], gs, tm);
      } else if (k == "TJ" && a.size() == 1 && a[0].IsArray()) {
        const PdfArray& array = a[0].GetArray();
        for (std::size_t e = 0; e < array.size(); ++e) {
          if (array[e].IsNumber() || array[e].IsReal()) {
            const double shift = -number(array[e]) / 1000.0 * gs.fontSize * gs.horizontalScale;
            tm = Matrix::translation(shift, 0).times(tm);
          } else {
            showString(i, static_cast<int>(e), array[e], gs, tm);
          }
        }
      }
    }
  }

  void buildVirtualText() {
    for (std::size_t p = 0; p < pieces_.size(); ++p) {
      const Piece& piece = pieces_[p];
      if (p > 0 && !text_.empty() && text_.back().c != U' ') {
        const Piece& previous = pieces_[p - 1];
        const double size = std::max({piece.userSize, previous.userSize, 1.0});
        const double dx = piece.startX - previous.endX;
        const double dy = piece.startY - previous.endY;
        // A gap of a fifth of the size is wider than any kerning, narrower than a space.
        const bool gap = std::abs(dy) > 0.5 * size || dx > 0.2 * size || dx < -size;
        const bool startsWithSpace =
            !piece.bytes.empty() &&
            normalise(piece.font->unicode[static_cast<unsigned char>(piece.bytes[0])]) == U' ';
        if (gap && !startsWithSpace) text_.push_back({U' ', -1, -1});
      }
      if (!piece.font->simple && piece.font->font) {
        // Composite fonts are not searched; they still separate words.
        if (!text_.empty() && text_.back().c != U' ') text_.push_back({U' ', -1, -1});
        continue;
      }
      for (std::size_t b = 0; b < piece.bytes.size(); ++b) {
        const auto byte = static_cast<unsigned char>(piece.bytes[b]);
        text_.push_back({piece.font->unicode[byte], static_cast<int>(p), static_cast<int>(b)});
      }
    }
  }

  PdfMemDocument& document_;
  PdfPage& page_;
  std::vector<Op> ops_;
  std::vector<Piece> pieces_;
  std::vector<VirtualChar> text_;
  std::map<std::string, std::unique_ptr<FontInfo>> fonts_;
};

std::string variantText(const PdfVariant& v) {
  std::string s;
  v.ToString(s, ePdfWriteMode_Compact);
  return s;
}

std::string serialise(const std::vector<Op>& ops) {
  std::string out;
  for (const Op& op : ops) {
    if (op.imageData) {
      for (const auto& operand : op.operands) {
        if (operand.IsRawData())
          out += operand.GetRawData().data();
        else
          out += variantText(operand);
      }
      out += '\n';
      continue;
    }
    for (const auto& operand : op.operands) {
      out += variantText(operand);
      out += ' ';
    }
    out += op.keyword;
    out += '\n';
  }
  return out;
}

std::string formatNumber(double value) {
  std::ostringstream s;
  s.imbue(std::locale::classic());
  s.precision(6);
  s << std::fixed << value;
  std::string text = s.str();
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

std::string matrixText(const Matrix& m) {
  return formatNumber(m.a) + " " + formatNumber(m.b) + " " + formatNumber(m.c) + " " +
         formatNumber(m.d) + " " + formatNumber(m.e) + " " + formatNumber(m.f);
}

// Bytes of the replacement in the piece's own font, or nullopt when it cannot take them.
std::optional<std::string> encodeInFont(const FontInfo& font, const std::u32string& text) {
  if (!font.simple || !font.font || font.subset) return std::nullopt;
  std::string bytes;
  for (char32_t c : text) {
    int code = -1;
    for (int i = 1; i < 256 && code < 0; ++i)
      if (font.unicode[i] == c) code = i;
    if (code < 0) return std::nullopt;
    bytes.push_back(static_cast<char>(code));
  }
  return bytes;
}

void storeContent(PdfPage& page, const std::string& content) {
  PdfObject* contents = page.GetContents();
  PdfObject* first = contents;
  std::vector<PdfObject*> rest;
  if (contents->IsArray()) {
    first = nullptr;
    for (auto& item : contents->GetArray()) {
      PdfObject* object =
          item.IsReference() ? page.GetObject()->GetOwner()->GetObject(item.GetReference()) : &item;
      if (!object) continue;
      if (!first)
        first = object;
      else
        rest.push_back(object);
    }
  }
  if (!first) return;
  // The page keeps its stream objects: PoDoFo's painter holds on to them.
  first->GetStream()->Set(content.data(), static_cast<pdf_long>(content.size()));
  for (PdfObject* object : rest) object->GetStream()->Set("", 0);
}

}  // namespace

int replaceInPage(PdfMemDocument& document, PdfPage& page, const std::string& search,
                  const std::string& replacement, const FallbackFontProvider& fallback) {
  if (!page.GetContents()) return 0;
  PageText pageText(document, page);
  const std::u32string wanted = decodeUtf8(search);
  const std::u32string with = decodeUtf8(replacement);
  const auto& text = pageText.text();
  auto& pieces = pageText.pieces();

  struct PieceEdit {
    std::vector<bool> removed;
    std::map<int, std::string> inserted;
  };
  std::map<int, PieceEdit> edits;
  struct Drawing {
    int piece;
    int byte;
  };
  std::vector<Drawing> drawings;
  int found = 0;
  for (std::size_t i = 0; wanted.size() > 0 && i + wanted.size() <= text.size();) {
    bool match = true;
    for (std::size_t j = 0; j < wanted.size() && match; ++j)
      match = normalise(text[i + j].c) == wanted[j];
    if (!match) {
      ++i;
      continue;
    }
    const VirtualChar* first = nullptr;
    for (std::size_t j = 0; j < wanted.size(); ++j) {
      const VirtualChar& vc = text[i + j];
      if (vc.piece < 0) continue;
      if (!first) first = &vc;
      auto& edit = edits[vc.piece];
      edit.removed.resize(pieces[vc.piece].bytes.size(), false);
      edit.removed[vc.byte] = true;
    }
    if (first) {
      ++found;
      const auto bytes = encodeInFont(*pieces[first->piece].font, with);
      if (bytes) {
        edits[first->piece].inserted[first->byte] += *bytes;
      } else if (!with.empty()) {
        drawings.push_back({first->piece, first->byte});
      }
    }
    i += wanted.size();
  }
  if (found == 0) return 0;

  auto& ops = pageText.ops();
  for (auto& [index, edit] : edits) {
    Piece& piece = pieces[index];
    std::string bytes;
    for (std::size_t b = 0; b < piece.bytes.size(); ++b) {
      auto inserted = edit.inserted.find(static_cast<int>(b));
      if (inserted != edit.inserted.end()) bytes += inserted->second;
      if (!edit.removed[b]) bytes.push_back(piece.bytes[b]);
    }
    const PdfString updated(bytes.data(), static_cast<pdf_long>(bytes.size()), piece.hex);
    Op& op = ops[piece.op];
    if (piece.element >= 0) {
      op.operands[0].GetArray()[piece.element] = PdfObject(updated);
    } else {
      op.operands.back() = PdfVariant(updated);
    }
  }

  std::string content = "q\n" + serialise(ops) + "Q\n";
  for (const Drawing& drawing : drawings) {
    const Piece& piece = pieces[drawing.piece];
    PdfFont* font =
        fallback ? fallback(fallbackFont(piece.font->baseFont, piece.font->fixedPitch)) : nullptr;
    if (!font) continue;
    page.AddResource(font->GetIdentifier(), font->GetObject()->Reference(), PdfName("Font"));
    const PdfString unicode(reinterpret_cast<const pdf_utf8*>(replacement.c_str()));
    if (font->IsSubsetting())
      font->AddUsedSubsettingGlyphs(unicode, static_cast<long>(unicode.GetCharacterLength()));
    const PdfRefCountedBuffer encoded = font->GetEncoding()->ConvertToEncoding(unicode, font);
    const PdfString bytes(encoded.GetBuffer(), static_cast<pdf_long>(encoded.GetSize()), true);
    const Matrix at = Matrix::translation(piece.advance[drawing.byte], 0).times(piece.textMatrix);
    content += "q\n" + matrixText(piece.state.ctm) + " cm\n";
    for (const Op* colour : piece.state.fillColor) content += serialise({*colour});
    content += "BT\n/" + font->GetIdentifier().GetName() + " " +
               formatNumber(piece.state.fontSize) + " Tf\n" + matrixText(at) + " Tm\n" +
               variantText(PdfVariant(bytes)) + " Tj\nET\nQ\n";
  }
  storeContent(page, content);
  return found;
}

std::string extractPageText(PdfMemDocument& document, PdfPage& page) {
  if (!page.GetContents()) return {};
  PageText pageText(document, page);
  std::string out;
  for (const VirtualChar& c : pageText.text()) out += encodeUtf8(c.c);
  return out;
}

}  // namespace fondaris::documents::detail
