#include "documents/pdf/text_replacement.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "core/cp1252.h"
#include "documents/fdf/pdf_text.h"
#include "documents/pdf/font_codes.h"
#include "documents/pdf/page_streams.h"
#include "documents/pdf/utf8_text.h"

namespace fondaris::documents::detail {

using namespace PoDoFo;

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

// The operators the text state depends on; all others are Other.
enum class OpKind {
  Other,
  q,
  Q,
  cm,
  rg,
  g,
  k,
  RG,
  G,
  K,
  cs,
  sc,
  scn,
  CS,
  SC,
  SCN,
  BT,
  Tf,
  Tc,
  Tw,
  Tz,
  TL,
  Ts,
  Tr,
  Td,
  TD,
  Tm,
  TStar,
  Tj,
  Quote,
  DoubleQuote,
  TJ
};

OpKind opKind(const std::string& keyword) {
  static const std::map<std::string, OpKind> kinds = {
      {"q", OpKind::q},   {"Q", OpKind::Q},     {"cm", OpKind::cm},
      {"rg", OpKind::rg}, {"g", OpKind::g},     {"k", OpKind::k},
      {"RG", OpKind::RG}, {"G", OpKind::G},     {"K", OpKind::K},
      {"cs", OpKind::cs}, {"sc", OpKind::sc},   {"scn", OpKind::scn},
      {"CS", OpKind::CS}, {"SC", OpKind::SC},   {"SCN", OpKind::SCN},
      {"BT", OpKind::BT}, {"Tf", OpKind::Tf},   {"Tc", OpKind::Tc},
      {"Tw", OpKind::Tw}, {"Tz", OpKind::Tz},   {"TL", OpKind::TL},
      {"Ts", OpKind::Ts}, {"Tr", OpKind::Tr},   {"Td", OpKind::Td},
      {"TD", OpKind::TD}, {"Tm", OpKind::Tm},   {"T*", OpKind::TStar},
      {"Tj", OpKind::Tj}, {"'", OpKind::Quote}, {"\"", OpKind::DoubleQuote},
      {"TJ", OpKind::TJ}};
  const auto found = kinds.find(keyword);
  return found == kinds.end() ? OpKind::Other : found->second;
}

struct Op {
  std::vector<PdfVariant> operands;
  std::string keyword;
  OpKind kind = OpKind::Other;
  bool imageData = false;
};

struct FontInfo {
  PdfFont* font = nullptr;  // simple fonts only: the standard fonts' metrics
  FontCodes codes;
};

// Colour operators are kept as indexes into the page's operators: a state is copied per piece.
struct ColorOps {
  int space = -1;  // cs / CS
  int value = -1;  // rg g k sc scn (and their stroking forms)
};

struct GraphicsState {
  Matrix ctm;
  ColorOps fill, stroke;
  std::string fontResource;
  FontInfo* font = nullptr;  // of fontResource
  double fontSize = 0;
  double charSpacing = 0;
  double wordSpacing = 0;
  double horizontalScale = 1;
  double leading = 0;
  double rise = 0;
  int renderMode = 0;
};

// One string operand of a text-showing operator.
struct Piece {
  std::size_t op = 0;
  int element = -1;  // index inside a TJ array, else -1
  std::string bytes;
  bool hex = false;
  FontInfo* font = nullptr;
  GraphicsState state;
  Matrix textMatrix;  // at the start of the piece
  // Text-space x before each code, at its first byte; its other bytes and the end hold the x
  // after it, so a code's width is the step at its first byte.
  std::vector<double> advance;
  double startX = 0, startY = 0;  // user space
  double endX = 0, endY = 0;
  double userSize = 0;
};

struct VirtualChar {
  char32_t c;
  int piece;  // -1 for a gap counted as a space
  int byte;   // first byte of its code
  int length = 0;
};

char32_t normalise(char32_t c) {
  if (c == 0xA0) return U' ';
  if (c == 0xAD) return U'-';
  return c;
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
      current.kind = opKind(current.keyword);
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

std::string variantText(const PdfVariant& v) {
  std::string s;
  v.ToString(s, ePdfWriteMode_Compact);
  return s;
}

// Numbers, most of a page's operands, are written here: PoDoFo's writer makes a device and a
// locale-bound stream for each. Reals as PoDoFo writes them, six places without trailing zeros.
void appendOperand(std::string& out, const PdfVariant& v) {
  char buffer[64];
  std::to_chars_result written{};
  if (v.IsReal()) {
    written =
        std::to_chars(buffer, buffer + sizeof buffer, v.GetReal(), std::chars_format::fixed, 6);
    if (written.ec == std::errc()) {
      while (written.ptr[-1] == '0') --written.ptr;
      if (written.ptr[-1] == '.') --written.ptr;
    }
  } else if (v.IsNumber()) {
    written = std::to_chars(buffer, buffer + sizeof buffer, v.GetNumber());
  } else {
    out += variantText(v);
    return;
  }
  if (written.ec == std::errc())
    out.append(buffer, written.ptr);
  else
    out += variantText(v);
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
      appendOperand(out, operand);
      out += ' ';
    }
    out += op.keyword;
    out += '\n';
  }
  return out;
}

Op makeOp(std::string keyword, std::vector<PdfVariant> operands = {}) {
  Op op;
  op.keyword = std::move(keyword);
  op.kind = opKind(op.keyword);
  op.operands = std::move(operands);
  return op;
}

std::vector<PdfVariant> numbers(std::initializer_list<double> values) {
  std::vector<PdfVariant> out;
  for (double v : values) out.emplace_back(v);
  return out;
}

std::vector<PdfVariant> matrixOperands(const Matrix& m) {
  return numbers({m.a, m.b, m.c, m.d, m.e, m.f});
}

// Bytes of the replacement in the piece's own font, or nullopt when it lacks a glyph.
std::optional<std::string> encodeInFont(const FontInfo& font, const std::u32string& text) {
  std::string bytes;
  if (!font.codes.encode(text, bytes)) return std::nullopt;
  return bytes;
}

// Calls `each(offset, length, code)` for the codes of `bytes` in `font`.
template <class F>
void forEachCode(const FontCodes& font, const std::string& bytes, F&& each) {
  for (std::size_t b = 0; b < bytes.size();) {
    const std::size_t length = font.codeLength(bytes, b);
    std::uint32_t code = 0;
    for (std::size_t k = 0; k < length; ++k)
      code = (code << 8) | static_cast<unsigned char>(bytes[b + k]);
    each(b, length, code);
    b += length;
  }
}

}  // namespace

struct FontReadings {
  std::map<PdfReference, std::shared_ptr<FontInfo>> byObject;
  std::unique_ptr<PdfMemDocument> metricsDocument;  // the standard fonts' metrics
};

class PageContent::Impl {
 public:
  Impl(PdfPage& page, DocumentFonts& fonts, ProgramFonts programFonts, DrawnPage* drawn)
      : page_(&page), readings_(fonts.readings()), programFonts_(std::move(programFonts)) {
    read(drawn);
  }

  // Parses the page's content: with a record of the program's drawing, the part before it.
  void read(DrawnPage* drawn) {
    ops_.clear();
    drawn_ = nullptr;
    drawnPart_.clear();
    drawnPartRead_ = drawnStale_ = false;
    if (page_->GetContents()) {
      std::string content = pageContent(*page_);
      if (drawn && content.starts_with(drawn->before)) {
        drawnPart_ = content.substr(drawn->before.size());
        content.resize(drawn->before.size());
        drawn_ = drawn;
        wrapped_ = true;  // bracketed when the program first drew on the page
      }
      ops_ = parseOps(content);
    }
    opsAreBefore_ = drawn_ != nullptr;
    reindex();
  }

  void usePage(PdfPage& page) { page_ = &page; }
  void drawnOn() { drawnStale_ = true; }

  // As isolateGraphicsState does, on the parsed content, which it then stores.
  void isolate(DrawnPage& drawn) {
    int depth = 0, lowest = 0;
    for (const Op& op : ops_) {
      if (op.kind == OpKind::q) ++depth;
      if (op.kind == OpKind::Q) lowest = std::min(lowest, --depth);
    }
    const int opened = 1 - lowest;
    const int closed = opened + depth;
    std::vector<Op> ops;
    ops.reserve(ops_.size() + static_cast<std::size_t>(opened + closed));
    for (int i = 0; i < opened; ++i) ops.push_back(makeOp("q"));
    for (Op& op : ops_) ops.push_back(std::move(op));
    for (int i = 0; i < closed; ++i) ops.push_back(makeOp("Q"));
    ops_ = std::move(ops);
    wrapped_ = true;
    drawn_ = &drawn;
    drawnPart_.clear();
    drawnPartRead_ = false;
    modified_ = true;
    store();
    indexed_ = false;  // the pieces' operator numbers moved; the text stays as it is
  }

  // What the program drew since the last look follows the part read before; anything else
  // makes the whole content be read anew.
  void refreshDrawnPart() {
    if (!drawnStale_) return;
    drawnStale_ = false;
    const std::string content = pageContent(*page_);
    if (drawn_ && opsAreBefore_ && content.starts_with(drawn_->before)) {
      drawnPart_ = content.substr(drawn_->before.size());
      drawnPartRead_ = false;
      return;
    }
    read(drawn_);
  }

  int replace(const std::string& search, const std::string& replacement,
              const FallbackFontProvider& fallback, const WarningSink& warn);

  std::string text() {
    refreshDrawnPart();
    readDrawnPart();
    if (!indexed_) reindex();
    std::string out;
    for (const VirtualChar& c : text_) out += encodeUtf8(c.c);
    return out;
  }

  void store() {
    if (!modified_) return;
    std::string read = serialise(ops_);
    storeContent(*page_, read + drawnPart_);
    if (drawn_) {
      drawn_->before = std::move(read);
      if (drawnPartRead_) drawn_->drawn.clear();
      opsAreBefore_ = true;
    }
    modified_ = false;
  }

  // Whether an occurrence of `wanted` could take in a character of the drawn part: spaces
  // aside, the part reads as the characters drawn, following what is read already.
  bool mayReachDrawnPart(const std::u32string& wanted) const {
    if (!drawn_ || drawnPartRead_ || drawn_->drawn.empty()) return false;
    const auto searched = searchedWithoutSpaces(wanted);
    if (!searched) return true;
    const std::size_t readLength = stripped_.size();
    const std::u32string read = stripped_ + drawn_->drawn;
    for (auto at = read.find(*searched); at != std::u32string::npos;
         at = read.find(*searched, at + 1))
      if (at + searched->size() > readLength) return true;
    return false;
  }

  void readDrawnPart() {
    if (!drawn_ || drawnPartRead_) return;
    drawnPartRead_ = true;
    if (drawnPart_.empty()) return;
    std::vector<Op> drawnOps = parseOps(drawnPart_);
    drawnPart_.clear();
    opsAreBefore_ = false;  // until stored
    ops_.insert(ops_.end(), std::make_move_iterator(drawnOps.begin()),
                std::make_move_iterator(drawnOps.end()));
    reindex();
  }

 private:
  // What one replacement does to one piece.
  struct PieceEdit {
    std::vector<bool> removed;
    std::map<int, std::string> inserted;  // before byte n, in the piece's font
    std::map<int, double> shift;          // text-space move of the rest, before byte n
    double drawnDelta = 0;                // how far later drawings in the piece move
  };

  void reindex() {
    pieces_.clear();
    text_.clear();
    collectPieces();
    buildVirtualText();
    stripped_.clear();
    for (const VirtualChar& c : text_)
      if (const char32_t n = normalise(c.c); n != U' ') stripped_.push_back(n);
    indexed_ = strippedExact_ = true;
  }

  static std::u32string withoutSpaces(const std::u32string& text) {
    std::u32string out;
    for (char32_t c : text)
      if (const char32_t n = normalise(c); n != U' ') out.push_back(n);
    return out;
  }

  // A search as the text without spaces is looked at; nothing when that cannot tell: a space
  // at either end may be a gap between pieces, which the characters do not show.
  static std::optional<std::u32string> searchedWithoutSpaces(const std::u32string& wanted) {
    if (wanted.empty() || wanted.front() == U' ' || wanted.back() == U' ') return std::nullopt;
    std::u32string searched = withoutSpaces(wanted);
    if (searched.empty()) return std::nullopt;
    return searched;
  }

  // Whether `wanted` could stand on the page, told from its characters without the spaces.
  bool mayOccur(const std::u32string& wanted) const {
    const auto searched = searchedWithoutSpaces(wanted);
    return !searched || stripped_.find(*searched) != std::u32string::npos;
  }

  // What one occurrence does to the page's text without spaces: characters taken out where it
  // stood, the replacement put there (in the piece's font) or drawn after all else (fallback).
  struct TextChange {
    std::size_t at = 0, removed = 0;
    std::u32string inPlace, atEnd;
  };

  void changeStripped(const std::vector<TextChange>& changes) {
    std::u32string next, atEnd;
    std::size_t from = 0;
    for (const TextChange& change : changes) {
      next.append(stripped_, from, change.at - from);
      next += change.inPlace;
      from = change.at + change.removed;
      atEnd += change.atEnd;
    }
    next.append(stripped_, from);
    stripped_ = next + atEnd;
  }

  // A template's fonts are read from their dictionaries only, since PoDoFo rewrites the
  // dictionary of a font it loads; the program's own fonts (new subsets without widths yet) are
  // measured by PoDoFo.
  FontInfo* fontFor(const std::string& resource) {
    auto found = fonts_.find(resource);
    if (found != fonts_.end()) return found->second.get();
    PdfObject* resources = page_->GetResources();
    PdfObject* fontDict = resources ? resources->GetIndirectKey("Font") : nullptr;
    PdfObject* fontObject = fontDict ? fontDict->GetIndirectKey(PdfName(resource)) : nullptr;
    const bool indirect = fontObject && fontObject->Reference().IsIndirect();
    // The pages that share a font object, and every parse of them, read it once.
    if (indirect) {
      const auto read = readings_.byObject.find(fontObject->Reference());
      if (read != readings_.byObject.end()) {
        fonts_[resource] = read->second;
        return read->second.get();
      }
    }
    auto info = std::make_shared<FontInfo>();
    if (fontObject && fontObject->IsDictionary()) {
      PdfFont* created = programFonts_ ? programFonts_(fontObject->Reference()) : nullptr;
      info->font = created;
      info->codes = readFontCodes(*fontObject, created ? created->GetEncoding() : nullptr);
      if (!info->codes.composite && info->codes.widths.empty()) loadMetricWidths(*info);
    }
    if (indirect) readings_.byObject.emplace(fontObject->Reference(), info);
    fonts_[resource] = info;
    return info.get();
  }

  // Standard fonts and new subsets come without widths: ask the font's metrics at size 1000.
  void loadMetricWidths(FontInfo& info) {
    info.codes.defaultWidth = 500;
    PdfFont* metricsFont = info.font ? info.font : standardFont(info.codes.baseFont);
    if (!metricsFont) return info.codes.index();
    PdfFontMetrics* metrics = metricsFont->GetFontMetrics2();
    const float size = metrics->GetFontSize();
    const float scale = metrics->GetFontScale();
    const float charSpace = metrics->GetFontCharSpace();
    metrics->SetFontSize(1000);
    metrics->SetFontScale(100);
    metrics->SetFontCharSpace(0);
    for (std::uint32_t code = 32; code < 256; ++code) {
      const std::u32string& text = info.codes.charactersOf(code);
      const double w = info.font ? metrics->CharWidth(static_cast<unsigned char>(code))
                       : text.size() == 1 && text[0] < 0x10000
                           ? metrics->UnicodeCharWidth(static_cast<unsigned short>(text[0]))
                           : 0;
      if (w > 0) info.codes.widths[code] = w;
    }
    metrics->SetFontSize(size);
    metrics->SetFontScale(scale);
    metrics->SetFontCharSpace(charSpace);
    info.codes.index();
  }

  // One of the fourteen standard fonts, made in a document of its own for its metrics.
  PdfFont* standardFont(std::string name) {
    if (name.size() > 7 && name[6] == '+') name.erase(0, 7);
    if (!isStandardFont(name)) return nullptr;
    std::unique_ptr<PdfMemDocument>& metricsDocument = readings_.metricsDocument;
    if (!metricsDocument) metricsDocument = std::make_unique<PdfMemDocument>();
    return metricsDocument->CreateFont(name.c_str(), false, false, false,
                                       PdfEncodingFactory::GlobalWinAnsiEncodingInstance(),
                                       PdfFontCache::eFontCreationFlags_AutoSelectBase14, false);
  }

  // Text-space advance of `bytes` shown in `font` with the state's spacing and scaling.
  static double advanceOf(const FontInfo& font, const std::string& bytes, const GraphicsState& gs) {
    double x = 0;
    forEachCode(font.codes, bytes, [&](std::size_t, std::size_t length, std::uint32_t code) {
      x += codeAdvance(font, length, code, gs);
    });
    return x;
  }

  // Word spacing applies to the one-byte code 32 only, in composite fonts too.
  static double codeAdvance(const FontInfo& font, std::size_t length, std::uint32_t code,
                            const GraphicsState& gs) {
    const bool wordSpace = length == 1 && code == 32;
    return (font.codes.width(code) / 1000.0 * gs.fontSize + gs.charSpacing +
            (wordSpace ? gs.wordSpacing : 0)) *
           gs.horizontalScale;
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
    piece.font = gs.font ? gs.font : fontFor(gs.fontResource);
    piece.state = gs;
    piece.textMatrix = tm;
    const Matrix render{gs.fontSize * gs.horizontalScale, 0, 0, gs.fontSize, 0, gs.rise};
    const Matrix start = render.times(tm).times(gs.ctm);
    piece.startX = start.e;
    piece.startY = start.f;
    piece.userSize =
        std::abs(gs.fontSize) * std::hypot(gs.ctm.c, gs.ctm.d) * std::hypot(tm.c, tm.d);
    double x = 0;
    piece.advance.reserve(piece.bytes.size() + 1);
    forEachCode(piece.font->codes, piece.bytes,
                [&](std::size_t, std::size_t length, std::uint32_t code) {
                  piece.advance.push_back(x);
                  x += codeAdvance(*piece.font, length, code, gs);
                  piece.advance.insert(piece.advance.end(), length - 1, x);
                });
    piece.advance.push_back(x);
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
    auto color = [](ColorOps& target, int index, bool isSpace) {
      if (isSpace) {
        target = {index, -1};
      } else {
        target.value = index;
      }
    };
    for (std::size_t i = 0; i < ops_.size(); ++i) {
      const Op& op = ops_[i];
      const auto& a = op.operands;
      const int index = static_cast<int>(i);
      auto nextLine = [&](double tx, double ty) {
        tlm = Matrix::translation(tx, ty).times(tlm);
        tm = tlm;
      };
      auto matrix = [&] {
        return Matrix{number(a[0]), number(a[1]), number(a[2]),
                      number(a[3]), number(a[4]), number(a[5])};
      };
      switch (op.kind) {
        case OpKind::q:
          stack.push_back(gs);
          break;
        case OpKind::Q:
          if (!stack.empty()) {
            gs = stack.back();
            stack.pop_back();
          }
          break;
        case OpKind::cm:
          if (a.size() == 6) gs.ctm = matrix().times(gs.ctm);
          break;
        case OpKind::rg:
        case OpKind::g:
        case OpKind::k:
          gs.fill = {-1, index};
          break;
        case OpKind::RG:
        case OpKind::G:
        case OpKind::K:
          gs.stroke = {-1, index};
          break;
        case OpKind::cs:
        case OpKind::sc:
        case OpKind::scn:
          color(gs.fill, index, op.kind == OpKind::cs);
          break;
        case OpKind::CS:
        case OpKind::SC:
        case OpKind::SCN:
          color(gs.stroke, index, op.kind == OpKind::CS);
          break;
        case OpKind::BT:
          tm = tlm = Matrix{};
          break;
        case OpKind::Tf:
          if (a.size() == 2) {
            gs.fontResource = a[0].IsName() ? a[0].GetName().GetName() : "";
            gs.font = fontFor(gs.fontResource);
            gs.fontSize = number(a[1]);
          }
          break;
        case OpKind::Tc:
          if (a.size() == 1) gs.charSpacing = number(a[0]);
          break;
        case OpKind::Tw:
          if (a.size() == 1) gs.wordSpacing = number(a[0]);
          break;
        case OpKind::Tz:
          if (a.size() == 1) gs.horizontalScale = number(a[0]) / 100.0;
          break;
        case OpKind::TL:
          if (a.size() == 1) gs.leading = number(a[0]);
          break;
        case OpKind::Ts:
          if (a.size() == 1) gs.rise = number(a[0]);
          break;
        case OpKind::Tr:
          if (a.size() == 1) gs.renderMode = static_cast<int>(number(a[0]));
          break;
        case OpKind::Td:
          if (a.size() == 2) nextLine(number(a[0]), number(a[1]));
          break;
        case OpKind::TD:
          if (a.size() == 2) {
            gs.leading = -number(a[1]);
            nextLine(number(a[0]), number(a[1]));
          }
          break;
        case OpKind::Tm:
          if (a.size() == 6) tm = tlm = matrix();
          break;
        case OpKind::TStar:
          nextLine(0, -gs.leading);
          break;
        case OpKind::Tj:
          if (a.size() == 1) showString(i, -1, a[0], gs, tm);
          break;
        case OpKind::Quote:
          if (a.size() == 1) {
            nextLine(0, -gs.leading);
            showString(i, -1, a[0], gs, tm);
          }
          break;
        case OpKind::DoubleQuote:
          if (a.size() == 3) {
            gs.wordSpacing = number(a[0]);
            gs.charSpacing = number(a[1]);
            nextLine(0, -gs.leading);
            showString(i, -1, a[2], gs, tm);
          }
          break;
        case OpKind::TJ:
          if (a.size() == 1 && a[0].IsArray()) {
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
          break;
        case OpKind::Other:
          break;
      }
    }
  }

  static void appendCharacters(const Piece& piece, std::vector<VirtualChar>& out, int index) {
    forEachCode(piece.font->codes, piece.bytes,
                [&](std::size_t offset, std::size_t length, std::uint32_t code) {
                  for (char32_t c : piece.font->codes.charactersOf(code))
                    out.push_back({c, index, static_cast<int>(offset), static_cast<int>(length)});
                });
  }

  static bool startsWithASpace(const Piece& piece) {
    if (piece.bytes.empty()) return false;
    const FontCodes& codes = piece.font->codes;
    const std::size_t length = codes.codeLength(piece.bytes, 0);
    std::uint32_t code = 0;
    for (std::size_t k = 0; k < length; ++k)
      code = (code << 8) | static_cast<unsigned char>(piece.bytes[k]);
    const std::u32string& characters = codes.charactersOf(code);
    return !characters.empty() && normalise(characters[0]) == U' ';
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
        const bool startsWithSpace = startsWithASpace(piece);
        if (gap && !startsWithSpace) text_.push_back({U' ', -1, -1});
      }
      appendCharacters(piece, text_, static_cast<int>(p));
    }
  }

  // The piece's string as it reads after the edit: strings, and numbers that move the rest.
  static std::vector<PdfVariant> segments(const Piece& piece, const PieceEdit& edit) {
    std::vector<PdfVariant> out;
    std::string bytes;
    auto flush = [&] {
      if (!bytes.empty())
        out.emplace_back(PdfString(bytes.data(), static_cast<pdf_long>(bytes.size()), piece.hex));
      bytes.clear();
    };
    const double unit = piece.state.fontSize * piece.state.horizontalScale;
    for (std::size_t b = 0; b <= piece.bytes.size(); ++b) {
      const int at = static_cast<int>(b);
      if (auto shift = edit.shift.find(at); shift != edit.shift.end() && unit != 0) {
        flush();
        out.emplace_back(-1000.0 * shift->second / unit);
      }
      if (auto inserted = edit.inserted.find(at); inserted != edit.inserted.end())
        bytes += inserted->second;
      if (b < piece.bytes.size() && !edit.removed[b]) bytes.push_back(piece.bytes[b]);
    }
    flush();
    if (out.empty()) out.emplace_back(PdfString(""));
    return out;
  }

  void applyEdits(const std::map<int, PieceEdit>& edits, std::vector<Op> drawings) {
    std::map<std::size_t, std::vector<int>> byOp;
    for (const auto& [index, edit] : edits) byOp[pieces_[index].op].push_back(index);
    std::vector<Op> ops;
    ops.reserve(ops_.size() + drawings.size() + 6);
    if (!wrapped_) ops.push_back(makeOp("q"));
    for (std::size_t i = 0; i < ops_.size(); ++i) {
      auto touched = byOp.find(i);
      if (touched == byOp.end()) {
        ops.push_back(std::move(ops_[i]));
        continue;
      }
      Op op = std::move(ops_[i]);
      // Later elements first, so that earlier indexes stay valid.
      std::vector<int>& indexes = touched->second;
      std::sort(indexes.rbegin(), indexes.rend());
      for (int index : indexes) {
        const Piece& piece = pieces_[index];
        std::vector<PdfVariant> parts = segments(piece, edits.at(index));
        if (piece.element >= 0) {
          PdfArray& array = op.operands[0].GetArray();
          array.erase(array.begin() + piece.element);
          for (std::size_t k = 0; k < parts.size(); ++k)
            array.insert(array.begin() + piece.element + static_cast<long>(k), PdfObject(parts[k]));
        } else if (parts.size() == 1 && parts[0].IsString()) {
          op.operands.back() = parts[0];
        } else {
          // A single string that now moves its rest: show it as an array.
          PdfArray array;
          for (auto& part : parts) array.push_back(PdfObject(part));
          if (op.kind == OpKind::DoubleQuote) {
            ops.push_back(makeOp("Tw", {op.operands[0]}));
            ops.push_back(makeOp("Tc", {op.operands[1]}));
          }
          if (op.kind != OpKind::Tj) ops.push_back(makeOp("T*"));
          op = makeOp("TJ", {PdfVariant(array)});
        }
      }
      ops.push_back(std::move(op));
    }
    if (!wrapped_) ops.push_back(makeOp("Q"));
    wrapped_ = true;
    for (Op& op : drawings) ops.push_back(std::move(op));
    ops_ = std::move(ops);
    modified_ = true;
    // Indexed again only when a later search may find something: see mayOccur.
    indexed_ = false;
  }

  PdfPage* page_;
  std::vector<Op> ops_;
  std::vector<Piece> pieces_;
  std::vector<VirtualChar> text_;
  // text_ without spaces, normalised; kept up to date through edits until text_ is made again.
  std::u32string stripped_;
  bool indexed_ = false;        // pieces_ and text_ describe ops_
  bool strippedExact_ = false;  // an edit took only part of a code's characters: not kept
  // By resource name: a font object's reading is the document's, an inline font's this page's.
  std::map<std::string, std::shared_ptr<FontInfo>> fonts_;
  FontReadings& readings_;
  ProgramFonts programFonts_;
  DrawnPage* drawn_ = nullptr;
  std::string drawnPart_;  // what the program drew, as it stands until it is read
  bool drawnPartRead_ = false;
  bool drawnStale_ = false;    // the program drew on the page since the drawn part was taken
  bool opsAreBefore_ = false;  // ops_ hold exactly drawn_->before
  bool wrapped_ = false;       // the template's content stands inside q ... Q
  bool modified_ = false;
};

int PageContent::Impl::replace(const std::string& search, const std::string& replacement,
                               const FallbackFontProvider& fallback, const WarningSink& warn) {
  const std::u32string wanted = decodeUtf8(search);
  const std::u32string with = decodeUtf8(replacement);
  refreshDrawnPart();
  if (!strippedExact_) reindex();
  if (mayReachDrawnPart(wanted)) readDrawnPart();
  if (!indexed_) {
    if (!mayOccur(wanted)) return 0;
    reindex();
  }
  std::map<int, PieceEdit> edits;
  std::vector<Op> drawings;
  std::vector<TextChange> changes;
  std::vector<std::size_t> ahead;  // characters without spaces before each place of text_
  int found = 0;
  for (std::size_t i = 0; !wanted.empty() && i + wanted.size() <= text_.size();) {
    bool match = true;
    for (std::size_t j = 0; j < wanted.size() && match; ++j)
      match = normalise(text_[i + j].c) == wanted[j];
    if (!match) {
      ++i;
      continue;
    }
    const VirtualChar* first = nullptr;
    for (std::size_t j = 0; j < wanted.size(); ++j) {
      const VirtualChar& vc = text_[i + j];
      if (vc.piece < 0) continue;
      if (!first) first = &vc;
      auto& edit = edits[vc.piece];
      edit.removed.resize(pieces_[vc.piece].bytes.size(), false);
      for (int k = 0; k < vc.length; ++k) edit.removed[vc.byte + k] = true;
    }
    const std::size_t start = i, end = i + wanted.size();
    i = end;
    if (!first) continue;
    ++found;
    if (ahead.empty()) {
      ahead.reserve(text_.size() + 1);
      ahead.push_back(0);
      for (const VirtualChar& c : text_) ahead.push_back(ahead.back() + (normalise(c.c) != U' '));
    }
    const auto sameCode = [this](std::size_t a, std::size_t b) {
      return text_[a].piece >= 0 && text_[a].piece == text_[b].piece &&
             text_[a].byte == text_[b].byte;
    };
    if ((start > 0 && sameCode(start - 1, start)) || (end < text_.size() && sameCode(end - 1, end)))
      strippedExact_ = false;  // a code of several characters, taken out whole
    TextChange& change = changes.emplace_back();
    change.at = ahead[start];
    change.removed = ahead[end] - ahead[start];
    const Piece& piece = pieces_[first->piece];
    PieceEdit& edit = edits[first->piece];
    if (const auto bytes = encodeInFont(*piece.font, with)) {
      edit.inserted[first->byte] += *bytes;
      change.inPlace = withoutSpaces(with);
      continue;
    }
    if (with.empty() || !fallback) continue;
    PdfFont* font =
        fallback(fallbackFont(piece.font->codes.baseFont, piece.font->codes.fixedPitch));
    if (!font) continue;
    page_->AddResource(font->GetIdentifier(), font->GetObject()->Reference(), PdfName("Font"));
    // The fallback fonts are Windows-1252: PoDoFo would drop other characters unseen.
    const std::string printable = core::cp1252ToUtf8(core::utf8ToCp1252(replacement));
    if (printable != replacement)
      warn("'" + replacement +
           "' hat Zeichen ohne Windows-1252-Code, sie werden als '?' gedruckt.");
    const PdfString unicode(reinterpret_cast<const pdf_utf8*>(printable.c_str()));
    if (font->IsSubsetting())
      font->AddUsedSubsettingGlyphs(unicode, static_cast<long>(unicode.GetCharacterLength()));
    const PdfRefCountedBuffer encoded = font->GetEncoding()->ConvertToEncoding(unicode, font);
    const std::string bytes(encoded.GetBuffer(), encoded.GetSize());
    GraphicsState gs = piece.state;
    // Word spacing never reached the two-byte spaces of a composite font.
    if (piece.font->codes.composite) gs.wordSpacing = 0;
    const FontInfo& drawnIn = *fontFor(font->GetIdentifier().GetName());
    const double width = advanceOf(drawnIn, bytes, gs);
    forEachCode(drawnIn.codes, bytes, [&](std::size_t, std::size_t, std::uint32_t code) {
      change.atEnd += withoutSpaces(drawnIn.codes.charactersOf(code));
    });
    // The rest of the line moves on by what is drawn in its place.
    double removedWidth = 0;
    for (std::size_t b = first->byte; b < piece.bytes.size(); ++b) {
      if (!edit.removed[b]) break;
      removedWidth += piece.advance[b + 1] - piece.advance[b];
    }
    const double x = piece.advance[first->byte] + edit.drawnDelta;
    edit.shift[first->byte] += width;
    edit.drawnDelta += width - removedWidth;

    drawings.push_back(makeOp("q"));
    drawings.push_back(makeOp("cm", matrixOperands(gs.ctm)));
    for (const ColorOps& color : {gs.fill, gs.stroke})
      for (int index : {color.space, color.value})
        if (index >= 0) drawings.push_back(ops_[index]);
    drawings.push_back(makeOp("BT"));
    drawings.push_back(makeOp("Tf", {PdfVariant(font->GetIdentifier()), PdfVariant(gs.fontSize)}));
    drawings.push_back(makeOp("Tc", numbers({gs.charSpacing})));
    drawings.push_back(makeOp("Tw", numbers({gs.wordSpacing})));
    drawings.push_back(makeOp("Tz", numbers({gs.horizontalScale * 100})));
    drawings.push_back(makeOp("Ts", numbers({gs.rise})));
    drawings.push_back(makeOp("Tr", {PdfVariant(static_cast<pdf_int64>(gs.renderMode))}));
    drawings.push_back(
        makeOp("Tm", matrixOperands(Matrix::translation(x, 0).times(piece.textMatrix))));
    drawings.push_back(makeOp(
        "Tj", {PdfVariant(PdfString(bytes.data(), static_cast<pdf_long>(bytes.size()), true))}));
    drawings.push_back(makeOp("ET"));
    drawings.push_back(makeOp("Q"));
  }
  if (found > 0) {
    applyEdits(edits, std::move(drawings));
    changeStripped(changes);
  }
  return found;
}

void DrawnPage::addDrawn(std::string_view text) {
  for (char32_t c : decodeUtf8(text))
    if (const char32_t n = normalise(c); n != U' ') drawn.push_back(n);
}

DocumentFonts::DocumentFonts() : readings_(std::make_unique<FontReadings>()) {}

DocumentFonts::~DocumentFonts() = default;

PageContent::PageContent(PdfMemDocument&, PdfPage& page, DocumentFonts& fonts,
                         ProgramFonts programFonts, DrawnPage* drawn)
    : impl_(std::make_unique<Impl>(page, fonts, std::move(programFonts), drawn)) {}

PageContent::~PageContent() = default;

int PageContent::replace(const std::string& search, const std::string& replacement,
                         const FallbackFontProvider& fallback, const WarningSink& warn) {
  return impl_->replace(search, replacement, fallback, warn);
}

std::string PageContent::text() {
  return impl_->text();
}

void PageContent::usePage(PdfPage& page) {
  impl_->usePage(page);
}

void PageContent::isolate(DrawnPage& drawn) {
  impl_->isolate(drawn);
}

void PageContent::drawnOn() {
  impl_->drawnOn();
}

void PageContent::store() {
  impl_->store();
}

}  // namespace fondaris::documents::detail
