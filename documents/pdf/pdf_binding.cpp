#include "documents/pdf/pdf_binding.h"

#include <map>
#include <new>
#include <tuple>
#include <unordered_map>
#include <vector>

#include <unistd.h>

#include <podofo/podofo.h>

#include "core/cp1252.h"
#include "core/files.h"
#include "documents/fdf/pdf_text.h"
#include "documents/pdf/font_resolver.h"
#include "documents/pdf/formatted_text.h"
#include "documents/pdf/page_streams.h"
#include "documents/pdf/text_replacement.h"
#include "documents/pdf/utf8_text.h"

namespace fondaris::documents {

using namespace PoDoFo;

namespace {

constexpr double kA4Width = 595.0;
constexpr double kA4Height = 842.0;

std::uint32_t typeOf(EPdfError code) {
  switch (code) {
    case ePdfError_FileNotFound:
    case ePdfError_InvalidDeviceOperation:
      return kPdfFileError;
    case ePdfError_UnexpectedEOF:
    case ePdfError_BrokenFile:
    case ePdfError_NoPdfFile:
    case ePdfError_NoXRef:
    case ePdfError_NoTrailer:
    case ePdfError_NoNumber:
    case ePdfError_NoObject:
    case ePdfError_NoEOFToken:
    case ePdfError_InvalidXRef:
    case ePdfError_InvalidXRefStream:
    case ePdfError_InvalidXRefType:
    case ePdfError_InvalidHexString:
    case ePdfError_InvalidStream:
    case ePdfError_InvalidStreamLength:
    case ePdfError_InvalidContentStream:
    case ePdfError_MissingEndStream:
      return kPdfSyntaxError;
    case ePdfError_ValueOutOfRange:
    case ePdfError_InvalidDataType:
    case ePdfError_InvalidKey:
    case ePdfError_InvalidName:
    case ePdfError_PageNotFound:
    case ePdfError_InvalidEnumValue:
      return kPdfValueError;
    case ePdfError_InvalidFontFile:
    case ePdfError_UnsupportedFontFormat:
    case ePdfError_FreeType:
      return kPdfFontError;
    case ePdfError_OutOfMemory:
    case ePdfError_InternalLogic:
      return kPdfFatalError;
    default:
      return 0;
  }
}

// Only for text that passed Impl::checked: PoDoFo reads past malformed UTF-8.
PdfString utf8String(const std::string& wellFormed) {
  return PdfString(reinterpret_cast<const pdf_utf8*>(wellFormed.c_str()));
}

// Sets the filter PoDoFo gives the streams it writes, for one scope.
class StreamFilter {
 public:
  explicit StreamFilter(EPdfFilter filter) : saved_(PdfStream::eDefaultFilter) {
    PdfStream::eDefaultFilter = filter;
  }
  ~StreamFilter() { PdfStream::eDefaultFilter = saved_; }
  StreamFilter(const StreamFilter&) = delete;
  StreamFilter& operator=(const StreamFilter&) = delete;

 private:
  EPdfFilter saved_;
};

}  // namespace

class PdfBinding::Impl {
 public:
  std::intptr_t userValue = 0;
  PdfErrorHandler handler;
  std::unique_ptr<PdfMemDocument> document;
  // The open import file; the last one read stays parsed, since the offer imports its template
  // up to three times.
  std::shared_ptr<PdfMemDocument> import;
  std::shared_ptr<PdfMemDocument> lastImport;
  std::string lastImportBytes;
  PdfPainter painter;
  PdfPage* editing = nullptr;
  // Pages the program has drawn on: their content from before, bracketed already (drawing on
  // the page again needs no more), and the text drawn since.
  std::map<PdfReference, detail::DrawnPage> drawnPages;
  detail::DrawnPage* editingDrawn = nullptr;  // of the page being edited
  // Renewed (with the parses that use it) when a deletion frees object numbers.
  std::unique_ptr<detail::DocumentFonts> documentFonts;
  std::map<std::tuple<std::string, bool, bool, bool>, PdfFont*> fonts;
  PdfFont* font = nullptr;
  double fontSize = 10;
  double rectX = 0, rectY = 0, rectWidth = 0;
  double lineWidth = 1;
  std::uint32_t color = 0;
  std::uint32_t strokeColor = 0;
  std::string outputPath;

  void raise(int number, const std::string& message, std::uint32_t type) {
    if (handler) handler(userValue, number, message, type);
  }

  // The text as PoDoFo may take it; a repair is logged as a warning.
  std::string checked(std::string_view text) {
    bool repaired = false;
    std::string wellFormed = wellFormedUtf8(text, &repaired);
    if (repaired)
      raise(static_cast<int>(ePdfError_InvalidDataType),
            "Text ist kein gültiges UTF-8, fremde Bytes als Windows-1252 gelesen: " + wellFormed,
            kPdfWarning);
    return wellFormed;
  }

  // The binding's fonts are Windows-1252: other characters become '?' instead of vanishing.
  std::string printable(const std::string& text) {
    std::string result = core::cp1252ToUtf8(core::utf8ToCp1252(text));
    if (result != text)
      raise(static_cast<int>(ePdfError_InvalidDataType),
            "'" + text + "' hat Zeichen ohne Windows-1252-Code, sie werden als '?' gedruckt.",
            kPdfWarning);
    return result;
  }

  void raise(const PdfError& error) {
    const char* message = PdfError::ErrorMessage(error.GetError());
    const char* name = PdfError::ErrorName(error.GetError());
    std::string text = message && *message ? message : (name ? name : "PDF error");
    if (!error.GetCallstack().empty()) {
      const std::string& info = error.GetCallstack().front().GetInformation();
      if (!info.empty()) text += " (" + info + ")";
    }
    raise(static_cast<int>(error.GetError()), text, typeOf(error.GetError()));
  }

  // Runs a library call; a PoDoFo error or a failed allocation reaches the handler instead.
  // A page's content is rewritten each time it is drawn on or its text replaced, so streams
  // are kept uncompressed meanwhile and compressed once, when the file is written.
  template <class F, class R>
  R guarded(F&& call, R onError) {
    const StreamFilter uncompressed(ePdfFilter_None);
    try {
      return call();
    } catch (const PdfError& error) {
      raise(error);
    } catch (const std::bad_alloc&) {
      raise(static_cast<int>(ePdfError_OutOfMemory), "Out of memory!", kPdfFatalError);
    }
    return onError;
  }

  PdfPage* page(int number) const {
    if (!document || number < 1 || number > document->GetPageCount()) return nullptr;
    return document->GetPage(number - 1);
  }

  PdfFont* loadFont(const std::string& family, bool bold, bool italic, bool embedded) {
    const auto key = std::make_tuple(family, bold, italic, embedded);
    auto found = fonts.find(key);
    if (found != fonts.end()) return found->second;
    PdfFont* created = nullptr;
    // A family with a standard twin is drawn in it: its metrics are built in, so no font file
    // is looked up (and no font configuration read) for the offer's own text.
    const std::string standard =
        !embedded && isStandardFont(family) ? family : standardTwin(family, bold, italic);
    if (!standard.empty()) {
      created = document->CreateFont(standard.c_str(), false, false, false,
                                     PdfEncodingFactory::GlobalWinAnsiEncodingInstance(),
                                     PdfFontCache::eFontCreationFlags_AutoSelectBase14, false);
    } else {
      const std::string file = resolveFontFile(family, bold, italic);
      if (file.empty()) {
        raise(static_cast<int>(ePdfError_FileNotFound), "No font file for " + family,
              kPdfFontError);
        return nullptr;
      }
      created = document->CreateFontSubset(family.c_str(), bold, italic, false,
                                           PdfEncodingFactory::GlobalWinAnsiEncodingInstance(),
                                           file.c_str());
    }
    if (created) fonts[key] = created;
    return created;
  }

  int replace(int pageNumber, std::string_view search, std::string_view replacement,
              ReplaceCount* count) {
    ReplaceCount ignored;
    ReplaceCount& tally = count ? *count : ignored;
    tally = {};
    if (!document) return kReplaceNoInstance;
    if (core::utf8Length(search) > kMaxReplaceLength ||
        core::utf8Length(replacement) > kMaxReplaceLength)
      return kReplaceTooLong;
    if (search.empty()) {
      raise(static_cast<int>(ePdfError_ValueOutOfRange),
            "The search text cannot be an empty string!", kPdfValueError);
      return 0;
    }
    if (pageNumber > document->GetPageCount()) return kReplacePageMissing;
    finishPainting();
    const int first = pageNumber > 0 ? pageNumber : 1;
    const int last = pageNumber > 0 ? pageNumber : document->GetPageCount();
    const std::string wanted = checked(search), with = checked(replacement);
    const detail::FallbackFontProvider fallback = [this, &tally](const FontChoice& choice) {
      PdfFont* loaded = loadFont(choice.family, choice.bold, choice.italic, true);
      // Without a font the occurrence is taken out but nothing stands in its place.
      if (!loaded) ++tally.left;
      return loaded;
    };
    const detail::WarningSink warn = [this, &tally](const std::string& message) {
      ++tally.left;
      raise(static_cast<int>(ePdfError_InvalidDataType), message, kPdfWarning);
    };
    return guarded(
        [&] {
          for (int p = first; p <= last; ++p)
            tally.replaced += content(p).replace(wanted, with, fallback, warn);
          return kReplaceDone;
        },
        0);
  }

  // Pages parsed for replacing, by page object, for the rest of the document: what the program
  // draws on a page is taken up when the page is next read, and every change of a page's
  // content stores them first.
  std::map<PdfReference, std::unique_ptr<detail::PageContent>> contents;

  detail::PageContent& content(int number) {
    PdfPage& target = *page(number);
    const PdfReference reference = target.GetObject()->Reference();
    if (const auto found = contents.find(reference); found != contents.end()) {
      found->second->usePage(target);
      return *found->second;
    }
    const auto drawn = drawnPages.find(reference);
    // Parsed before it is kept: a page whose content throws leaves no empty entry behind.
    return *contents
                .emplace(reference,
                         std::make_unique<detail::PageContent>(
                             *document, target, *documentFonts,
                             [this](const PdfReference& object) { return programFont(object); },
                             drawn == drawnPages.end() ? nullptr : &drawn->second))
                .first->second;
  }

  detail::PageContent* parsed(PdfPage& target) {
    const auto found = contents.find(target.GetObject()->Reference());
    if (found == contents.end()) return nullptr;
    found->second->usePage(target);
    return found->second.get();
  }

  PdfFont* programFont(const PdfReference& reference) const {
    for (const auto& [key, loaded] : fonts)
      if (loaded && loaded->GetObject()->Reference() == reference) return loaded;
    return nullptr;
  }

  void storeContents() {
    if (contents.empty()) return;
    guarded(
        [&] {
          for (int p = 1; p <= document->GetPageCount(); ++p)
            if (detail::PageContent* content = parsed(*page(p))) content->store();
          return 0;
        },
        0);
  }

  void finishPainting() {
    if (!editing) return;
    guarded(
        [&] {
          painter.FinishPage();
          return 0;
        },
        0);
    editing = nullptr;
    editingDrawn = nullptr;
  }

  void applyColor(std::uint32_t value) {
    painter.SetColor((value & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0,
                     ((value >> 16) & 0xFF) / 255.0);
  }

  void applyStrokeColor(std::uint32_t value) {
    painter.SetStrokingColor((value & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0,
                             ((value >> 16) & 0xFF) / 255.0);
  }

  double width(const std::string& text) const {
    if (!font || text.empty()) return 0;
    auto& known = characterWidths[font];
    double thousandths = 0;
    for (char32_t c : decodeUtf8(text)) {
      // Beyond the 16-bit characters PoDoFo measures halves of pairs: its way, as it is.
      if (c > 0xFFFF) {
        font->SetFontSize(static_cast<float>(fontSize));
        return font->GetFontMetrics()->StringWidth(utf8String(text));
      }
      auto found = known.find(c);
      if (found == known.end()) found = known.emplace(c, widthAt1000(c)).first;
      thousandths += found->second;
    }
    return thousandths * fontSize / 1000;
  }

  // A character's width at size 1000, as PoDoFo's metrics give it. Widths are kept per font
  // (characterWidths): the standard fonts' metrics search their whole glyph table each time.
  double widthAt1000(char32_t c) const {
    font->SetFontSize(1000);
    const double w = font->GetFontMetrics()->UnicodeCharWidth(static_cast<unsigned short>(c));
    font->SetFontSize(static_cast<float>(fontSize));
    return w;
  }
  mutable std::map<const PdfFont*, std::unordered_map<char32_t, double>> characterWidths;

  struct Line {
    std::size_t begin, end;  // byte range of the plain text
  };

  // Greedy word wrap at the rectangle's width; "\n" always breaks.
  std::vector<Line> wrap(const std::string& plain, double maxWidth) const {
    std::vector<Line> lines;
    std::size_t lineStart = 0;
    while (lineStart <= plain.size()) {
      std::size_t newline = plain.find('\n', lineStart);
      if (newline == std::string::npos) newline = plain.size();
      std::size_t end = lineStart;
      std::size_t lastBreak = std::string::npos;
      for (std::size_t pos = lineStart; pos <= newline; ++pos) {
        if (pos == newline || plain[pos] == ' ') {
          if (maxWidth > 0 && width(plain.substr(lineStart, pos - lineStart)) > maxWidth &&
              lastBreak != std::string::npos) {
            end = lastBreak;
            break;
          }
          lastBreak = pos;
          end = pos;
        }
      }
      lines.push_back({lineStart, end});
      if (end == newline) {
        if (newline == plain.size()) break;
        lineStart = newline + 1;
      } else {
        lineStart = end + 1;  // the space at the break is dropped
      }
    }
    return lines;
  }

  int writeText(TextAlign align, std::string_view text) {
    if (!editing || !font) return 0;
    const FormattedText formatted = parseFormattedText(printable(checked(text)));
    const std::string& plain = formatted.plain;
    font->SetFontSize(static_cast<float>(fontSize));
    painter.SetFont(font);
    const PdfFontMetrics* metrics = font->GetFontMetrics();
    const double ascent = metrics->GetAscent();
    const double spacing = metrics->GetLineSpacing();
    std::size_t nextColor = 0;
    auto colorUpTo = [&](std::size_t offset) {
      while (nextColor < formatted.colors.size() && formatted.colors[nextColor].offset <= offset)
        applyColor(color = formatted.colors[nextColor++].color);
    };
    double baseline = rectY - ascent;
    for (const Line& line : wrap(plain, rectWidth)) {
      const std::string lineText = plain.substr(line.begin, line.end - line.begin);
      const double lineTextWidth = width(lineText);
      double x = rectX;
      if (align == TextAlign::Right) x = rectX + rectWidth - lineTextWidth;
      if (align == TextAlign::Center) x = rectX + (rectWidth - lineTextWidth) / 2;
      // Draw in runs so that colour changes inside the line take effect where they stand.
      std::size_t runStart = line.begin;
      colorUpTo(runStart);
      while (runStart < line.end) {
        std::size_t runEnd = line.end;
        if (nextColor < formatted.colors.size() && formatted.colors[nextColor].offset < runEnd)
          runEnd = formatted.colors[nextColor].offset;
        const std::string run = plain.substr(runStart, runEnd - runStart);
        if (!run.empty()) {
          painter.DrawText(x, baseline, utf8String(run));
          if (editingDrawn) editingDrawn->addDrawn(run);
          x += width(run);
        }
        runStart = runEnd;
        colorUpTo(runStart);
      }
      baseline -= spacing;
    }
    rectY = baseline + ascent;
    return 1;
  }
};

PdfBinding::PdfBinding() : impl_(std::make_unique<Impl>()) {}

PdfBinding::~PdfBinding() {
  if (impl_->editing) impl_->finishPainting();
}

std::unique_ptr<PdfBinding> PdfBinding::create() {
  PdfError::EnableDebug(false);
  PdfError::EnableLogging(false);
  try {
    return std::unique_ptr<PdfBinding>(new PdfBinding());
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void PdfBinding::setErrorHandler(std::intptr_t userValue, PdfErrorHandler handler) {
  impl_->userValue = userValue;
  impl_->handler = std::move(handler);
}

void PdfBinding::raise(int number, std::string_view message, std::uint32_t type) {
  impl_->raise(number, std::string(message), type);
}

void PdfBinding::createDocument() {
  impl_->finishPainting();
  impl_->contents.clear();
  impl_->drawnPages.clear();
  impl_->documentFonts = std::make_unique<detail::DocumentFonts>();
  impl_->fonts.clear();
  impl_->characterWidths.clear();
  impl_->font = nullptr;
  impl_->document = std::make_unique<PdfMemDocument>();
}

void PdfBinding::setDocInfo(DocInfo key, std::string_view text) {
  if (!impl_->document) return;
  impl_->guarded(
      [&] {
        PdfInfo* info = impl_->document->GetInfo();
        const PdfString value = utf8String(impl_->checked(text));
        switch (key) {
          case DocInfo::Author:
            info->SetAuthor(value);
            break;
          case DocInfo::Creator:
            info->SetCreator(value);
            break;
          case DocInfo::Title:
            info->SetTitle(value);
            break;
        }
        return 0;
      },
      0);
}

int PdfBinding::openImportFile(const std::string& path) {
  impl_->import.reset();
  auto bytes = core::readFileBytes(path);
  if (!bytes) return -1;
  if (impl_->lastImport && *bytes == impl_->lastImportBytes) {
    impl_->import = impl_->lastImport;
    return 0;
  }
  impl_->lastImport.reset();
  return impl_->guarded(
      [&] {
        auto document = std::make_shared<PdfMemDocument>();
        // From memory: reading the file through PoDoFo's device seeks for every object.
        document->LoadFromBuffer(bytes->data(), static_cast<long>(bytes->size()));
        impl_->import = impl_->lastImport = std::move(document);
        impl_->lastImportBytes = std::move(*bytes);
        return 0;
      },
      -2);
}

int PdfBinding::importPages(int destinationPage, double, double) {
  if (!impl_->document || !impl_->import) return -1;
  if (destinationPage != impl_->document->GetPageCount() + 1) {
    impl_->raise(static_cast<int>(ePdfError_ValueOutOfRange),
                 "Pages can only be imported after the last page", kPdfValueError);
    return -1;
  }
  impl_->finishPainting();
  impl_->storeContents();
  return impl_->guarded(
      [&] {
        const int count = impl_->import->GetPageCount();
        impl_->document->InsertPages(*impl_->import, 0, count);
        return count;
      },
      -1);
}

void PdfBinding::closeImportFile() {
  impl_->import.reset();
}

int PdfBinding::deletePage(int page) {
  if (!impl_->page(page)) return kReplacePageMissing;
  impl_->finishPainting();
  impl_->storeContents();
  const PdfReference reference = impl_->page(page)->GetObject()->Reference();
  impl_->contents.erase(reference);
  impl_->drawnPages.erase(reference);
  return impl_->guarded(
      [&] {
        impl_->document->DeletePages(page - 1, 1);
        // Object numbers given free may come again for other objects: fonts are read anew.
        if (!impl_->document->GetObjects().GetFreeObjects().empty()) {
          impl_->contents.clear();
          impl_->documentFonts = std::make_unique<detail::DocumentFonts>();
        }
        return 1;
      },
      0);
}

int PdfBinding::appendPage(double width, double height) {
  if (!impl_->document) return 0;
  impl_->storeContents();
  return impl_->guarded(
      [&] {
        impl_->document->CreatePage(PdfRect(0, 0, width, height));
        return impl_->document->GetPageCount();
      },
      0);
}

int PdfBinding::pageCount() const {
  return impl_->document ? impl_->document->GetPageCount() : 0;
}

double PdfBinding::pageWidth() const {
  PdfPage* page = impl_->editing ? impl_->editing : impl_->page(1);
  return page ? page->GetMediaBox().GetWidth() : kA4Width;
}

double PdfBinding::pageHeight() const {
  PdfPage* page = impl_->editing ? impl_->editing : impl_->page(1);
  return page ? page->GetMediaBox().GetHeight() : kA4Height;
}

int PdfBinding::editPage(int page) {
  PdfPage* target = impl_->page(page);
  if (!target) return 0;
  impl_->finishPainting();
  impl_->storeContents();
  return impl_->guarded(
      [&] {
        // What the program draws must not inherit the matrix, clip or colours the template's
        // content leaves behind.
        const auto [drawn, first] = impl_->drawnPages.try_emplace(target->GetObject()->Reference());
        detail::PageContent* content = impl_->parsed(*target);
        if (first && content)
          content->isolate(drawn->second);
        else if (first)
          drawn->second.before = detail::isolateGraphicsState(*target);
        if (content) content->drawnOn();
        impl_->editingDrawn = &drawn->second;
        impl_->painter.SetPage(target);
        impl_->editing = target;
        impl_->applyColor(impl_->color);
        impl_->applyStrokeColor(impl_->strokeColor);
        impl_->painter.SetStrokeWidth(impl_->lineWidth);
        return 1;
      },
      0);
}

void PdfBinding::endPage() {
  impl_->finishPainting();
}

int PdfBinding::setFont(std::string_view family, bool bold, double size, bool embedded,
                        bool italic) {
  if (!impl_->document) return 0;
  PdfFont* font =
      impl_->guarded([&] { return impl_->loadFont(std::string(family), bold, italic, embedded); },
                     static_cast<PdfFont*>(nullptr));
  if (!font) return 0;
  impl_->font = font;
  impl_->fontSize = size;
  return 1;
}

void PdfBinding::setTextRect(double x, double y, double width, double) {
  impl_->rectX = x;
  impl_->rectY = y;
  impl_->rectWidth = width;
}

int PdfBinding::writeFText(TextAlign align, std::string_view text) {
  return impl_->guarded([&] { return impl_->writeText(align, text); }, 0);
}

double PdfBinding::textWidth(std::string_view text) const {
  return impl_->guarded([&] { return impl_->width(wellFormedUtf8(text)); }, 0.0);
}

double PdfBinding::fontAscent() const {
  if (!impl_->font) return 0;
  return impl_->guarded(
      [&] {
        impl_->font->SetFontSize(static_cast<float>(impl_->fontSize));
        return static_cast<double>(impl_->font->GetFontMetrics()->GetAscent());
      },
      0.0);
}

void PdfBinding::setLineWidth(double width) {
  impl_->lineWidth = width;
  if (impl_->editing) impl_->painter.SetStrokeWidth(width);
}

int PdfBinding::rectangle(double x, double y, double width, double height, int mode) {
  if (!impl_->editing) return 0;
  return impl_->guarded(
      [&] {
        impl_->painter.Rectangle(x, y, width, height);
        if (mode == 4)
          impl_->painter.Stroke();
        else
          impl_->painter.Fill();
        return 1;
      },
      0);
}

int PdfBinding::line(double x1, double y1, double x2, double y2) {
  if (!impl_->editing) return 0;
  return impl_->guarded(
      [&] {
        impl_->painter.DrawLine(x1, y1, x2, y2);
        return 1;
      },
      0);
}

void PdfBinding::setStrokeColor(std::uint32_t color) {
  impl_->strokeColor = color;
  if (impl_->editing) impl_->applyStrokeColor(color);
}

int PdfBinding::polyline(const std::vector<PdfPoint>& points) {
  if (!impl_->editing || points.size() < 2) return 0;
  return impl_->guarded(
      [&] {
        impl_->painter.MoveTo(points.front().x, points.front().y);
        for (std::size_t i = 1; i < points.size(); ++i)
          impl_->painter.LineTo(points[i].x, points[i].y);
        impl_->painter.Stroke();
        return 1;
      },
      0);
}

int PdfBinding::replaceText(int page, std::string_view search, std::string_view replacement,
                            ReplaceCount* count) {
  if (count) *count = {};
  if (page < 1 && impl_->document) return kReplacePageMissing;
  return impl_->replace(page, search, replacement, count);
}

int PdfBinding::replaceTextOnAllPages(std::string_view search, std::string_view replacement,
                                      ReplaceCount* count) {
  return impl_->replace(0, search, replacement, count);
}

std::string PdfBinding::pageText(int page) const {
  PdfPage* target = impl_->page(page);
  if (!target) return {};
  impl_->finishPainting();
  return impl_->guarded([&] { return impl_->content(page).text(); }, std::string());
}

int PdfBinding::openOutputFile(const std::string& path) {
  if (!impl_->document) return 0;
  const auto slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  if (::access(folder.c_str(), W_OK) != 0) {
    impl_->raise(static_cast<int>(ePdfError_FileNotFound), "Cannot write " + path, kPdfFileError);
    return 0;
  }
  impl_->outputPath = path;
  return 1;
}

int PdfBinding::closeFile() {
  if (!impl_->document || impl_->outputPath.empty()) return 0;
  impl_->finishPainting();
  impl_->storeContents();
  if (impl_->document->GetPageCount() == 0) {
    impl_->raise(
        static_cast<int>(ePdfError_PageNotFound),
        "Das Dokument hat keine Seite, '" + impl_->outputPath + "' wird nicht geschrieben.",
        kPdfFatalError);
    return 0;
  }
  return impl_->guarded(
      [&] {
        detail::compressPageContents(*impl_->document);
        // Font programs are embedded while writing: they are compressed as PoDoFo does.
        const StreamFilter compressed(ePdfFilter_FlateDecode);
        PdfRefCountedBuffer buffer;
        PdfOutputDevice device(&buffer);
        impl_->document->Write(&device);
        const std::string_view bytes(buffer.GetBuffer(), device.GetLength());
        if (!core::writeFileAtomically(impl_->outputPath, bytes)) {
          impl_->raise(static_cast<int>(ePdfError_FileNotFound),
                       "Cannot write " + impl_->outputPath, kPdfFileError);
          return 0;
        }
        return 1;
      },
      0);
}

}  // namespace fondaris::documents
