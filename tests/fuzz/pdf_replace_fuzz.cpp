// Text replacement on a page's content stream, as the offer document drives it. Input: the
// search text, a newline, the replacement, a newline, then the content stream of one page whose
// resources name Helvetica (WinAnsi) as /F1 and /F2.
#include <map>

#include <podofo/podofo.h>

#include "documents/pdf/font_resolver.h"
#include "documents/pdf/text_replacement.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  using namespace PoDoFo;
  static const bool quiet = [] {
    PdfError::EnableDebug(false);
    PdfError::EnableLogging(false);
    return true;
  }();
  (void)quiet;
  std::string_view input = fuzz::asText(data, size);
  const std::string search(fuzz::takeLine(input));
  const std::string replacement(fuzz::takeLine(input));
  if (search.empty()) return 0;

  try {
    PdfMemDocument document;
    PdfPage* page = document.CreatePage(PdfRect(0, 0, 595, 842));
    PdfFont* helvetica = document.CreateFont(
        "Helvetica", false, false, false, PdfEncodingFactory::GlobalWinAnsiEncodingInstance(),
        PdfFontCache::eFontCreationFlags_AutoSelectBase14, false);
    PdfDictionary fonts;
    fonts.AddKey(PdfName("F1"), helvetica->GetObject()->Reference());
    fonts.AddKey(PdfName("F2"), helvetica->GetObject()->Reference());
    page->GetResources()->GetDictionary().AddKey(PdfName("Font"), fonts);
    page->GetContents()->GetStream()->Set(input.data(), static_cast<pdf_long>(input.size()));

    std::map<std::string, PdfFont*> loaded;
    const documents::detail::FallbackFontProvider fallback =
        [&](const documents::FontChoice& choice) -> PdfFont* {
      PdfFont*& font =
          loaded[choice.family + (choice.bold ? "b" : "") + (choice.italic ? "i" : "")];
      if (!font) {
        const std::string file =
            documents::resolveFontFile(choice.family, choice.bold, choice.italic);
        if (file.empty()) return nullptr;
        font = document.CreateFontSubset(choice.family.c_str(), choice.bold, choice.italic, false,
                                         PdfEncodingFactory::GlobalWinAnsiEncodingInstance(),
                                         file.c_str());
      }
      return font;
    };
    (void)documents::detail::extractPageText(document, *page);
    (void)documents::detail::replaceInPage(document, *page, search, replacement, fallback);
    PdfRefCountedBuffer out;
    PdfOutputDevice device(&out);
    document.Write(&device);
  } catch (const PdfError&) {
    // The binding reports these through its error handler, as it does running out of memory.
  } catch (const std::bad_alloc&) {
  }
  return 0;
}
