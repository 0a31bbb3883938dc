// Text replacement on a page's content stream, through the PDF binding as the offer document
// drives it. Input: the search text, a newline, the replacement, a newline, then the content
// stream of a one-page template whose resources name Helvetica (WinAnsi) as /F1 and /F2.
#include <podofo/podofo.h>

#include "documents/pdf/pdf_binding.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// The template as a file, since the binding imports its pages from one.
bool writeTemplate(const std::string& path, std::string_view content) {
  using namespace PoDoFo;
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
    page->GetContents()->GetStream()->Set(content.data(), static_cast<pdf_long>(content.size()));
    document.Write(path.c_str());
    return true;
  } catch (const PdfError&) {
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  static const bool quiet = [] {
    PoDoFo::PdfError::EnableDebug(false);
    PoDoFo::PdfError::EnableLogging(false);
    return true;
  }();
  (void)quiet;
  std::string_view input = fuzz::asText(data, size);
  const std::string_view search = fuzz::takeLine(input);
  const std::string_view replacement = fuzz::takeLine(input);
  const std::string templatePath = core::joinPath(fuzz::scratchFolder(), "vorlage.pdf");
  if (!writeTemplate(templatePath, input)) return 0;

  auto pdf = documents::PdfBinding::create();
  pdf->setErrorHandler(0, [](std::intptr_t, int, const std::string&, std::uint32_t) { return 0; });
  pdf->createDocument();
  if (pdf->openImportFile(templatePath) < 0) return 0;
  pdf->importPages(pdf->pageCount() + 1);
  pdf->closeImportFile();
  (void)pdf->pageText(1);
  (void)pdf->replaceText(1, search, replacement);
  (void)pdf->pageText(1);
  if (pdf->openOutputFile(core::joinPath(fuzz::scratchFolder(), "angebot.pdf")) != 0)
    (void)pdf->closeFile();
  return 0;
}
