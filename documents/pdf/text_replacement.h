#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include <podofo/podofo.h>

#include "documents/pdf/font_resolver.h"

namespace fondaris::documents::detail {

// Gives the font a replacement is drawn in when the page's own font cannot take it.
using FallbackFontProvider = std::function<PoDoFo::PdfFont*(const FontChoice&)>;
// The font the program made itself for a font object of the document, else nullptr.
using ProgramFonts = std::function<PoDoFo::PdfFont*(const PoDoFo::PdfReference&)>;
// Receives what the log should say about a replacement (a placeholder left as it was).
using WarningSink = std::function<void(const std::string&)>;

// What the program knows of a page it has drawn on: the content it had before (kept up to date
// by replacements) and the characters drawn since, as the text matching reads them but without
// spaces, so that a gap between two pieces changes nothing.
struct DrawnPage {
  std::string before;
  std::u32string drawn;

  // Adds the characters of a piece of text the program drew (UTF-8).
  void addDrawn(std::string_view text);
};

struct FontReadings;

// The fonts of one document as text replacement reads them from their dictionaries: each font
// object once, for all pages that share it and every parse of them. Kept while no object number
// is given free, since it may then come again for another object.
class DocumentFonts {
 public:
  DocumentFonts();
  ~DocumentFonts();
  DocumentFonts(const DocumentFonts&) = delete;
  DocumentFonts& operator=(const DocumentFonts&) = delete;

  FontReadings& readings() { return *readings_; }

 private:
  std::unique_ptr<FontReadings> readings_;
};

// One page's content, tokenized once: every replacement on the page works on it in memory, and
// store() writes it back once. Nothing else may change the page's content meanwhile.
//
// Matching: a no-break space on the page matches a space, a soft hyphen "-", and a visible gap
// between two pieces of text counts as a space. Characters are read through the font's ToUnicode
// map, else its encoding (named, /Differences, or built into the embedded program), in simple
// and composite (Type0) fonts alike. A replacement is written in the font itself when it holds
// every glyph (a subset only those it names), else drawn in a fallback font with the piece's
// state, and the rest of the line moves on by the replacement's width.
//
// A page the program draws on is read in two parts: the content it had before (the page's
// content starts with it) and what the program drew since, kept as it stands. The drawn part is
// parsed only when a search text could reach into it, which its characters tell: drawing them
// never needs a parse to find a placeholder in the template.
class PageContent {
 public:
  PageContent(PoDoFo::PdfMemDocument& document, PoDoFo::PdfPage& page, DocumentFonts& fonts,
              ProgramFonts programFonts = {}, DrawnPage* drawn = nullptr);
  ~PageContent();

  // Replaces every occurrence (texts UTF-8); answers the number replaced.
  int replace(const std::string& search, const std::string& replacement,
              const FallbackFontProvider& fallback, const WarningSink& warn);
  // The page's whole text as matching sees it (gaps as spaces), UTF-8.
  std::string text();
  // Writes the content back when a replacement changed it.
  void store();

  // The parse outlives changes of the page list: the page object PoDoFo now gives for the page.
  void usePage(PoDoFo::PdfPage& page);
  // Brackets the content in q … Q as isolateGraphicsState does, without parsing it again, and
  // stores it: the program is about to draw on the page for the first time.
  void isolate(DrawnPage& drawn);
  // The program has drawn on the page: what it drew is taken up when the page is next read.
  void drawnOn();

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace fondaris::documents::detail
