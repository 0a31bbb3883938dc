#pragma once

#include <functional>
#include <string>

#include <podofo/podofo.h>

#include "documents/pdf/font_resolver.h"

namespace fondaris::documents::detail {

// Gives the font a replacement is drawn in when the page's own font cannot take it.
using FallbackFontProvider = std::function<PoDoFo::PdfFont*(const FontChoice&)>;

// Replaces every occurrence of `search` in the page's text by `replacement` (both UTF-8) and
// rewrites the page content when anything was found. Answers the number of occurrences.
// Matching: a no-break space on the page matches a space, a soft hyphen "-", and a visible gap
// between two pieces of text counts as a space.
int replaceInPage(PoDoFo::PdfMemDocument& document, PoDoFo::PdfPage& page,
                  const std::string& search, const std::string& replacement,
                  const FallbackFontProvider& fallback);

// The page's text as matching sees it (gaps as spaces), UTF-8.
std::string extractPageText(PoDoFo::PdfMemDocument& document, PoDoFo::PdfPage& page);

}  // namespace fondaris::documents::detail
