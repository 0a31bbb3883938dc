#pragma once

#include <string>

#include <podofo/podofo.h>

namespace fondaris::documents::detail {

// The page's content streams decoded and joined in drawing order (empty without content).
std::string pageContent(PoDoFo::PdfPage& page);

// Writes `content` as the page's whole content: into its first stream, the others emptied. The
// stream objects stay, since PoDoFo's painter holds on to them.
void storeContent(PoDoFo::PdfPage& page, const std::string& content);

// Brackets the page's existing content in q … Q, so that what is drawn after it starts from
// the default graphics state: other writers leave a matrix (a flipped page, say), a clip or
// colours set at the end of their content. Unbalanced q/Q of the content are evened out.
// Answers the content as it now stands, which the page's content then starts with; what the
// painter adds follows it.
std::string isolateGraphicsState(PoDoFo::PdfPage& page);

// Compresses (Flate) every page content stream that is stored uncompressed, with one deflate
// state for all: the contents are kept uncompressed while a document is made, since each
// drawing and replacement rewrites them.
void compressPageContents(PoDoFo::PdfMemDocument& document);

}  // namespace fondaris::documents::detail
