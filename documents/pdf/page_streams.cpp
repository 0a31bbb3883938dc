#include "documents/pdf/page_streams.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace fondaris::documents::detail {

using namespace PoDoFo;

namespace {

// How far the content's q/Q nesting dips below its start, and where it ends.
struct Nesting {
  int lowest = 0;
  int end = 0;
};

Nesting nestingOf(const std::string& content) {
  Nesting nesting;
  PdfContentsTokenizer tokenizer(content.data(), static_cast<long>(content.size()));
  EPdfContentsType type;
  const char* keyword = nullptr;
  PdfVariant variant;
  while (tokenizer.ReadNext(type, keyword, variant)) {
    if (type != ePdfContentsType_Keyword) continue;
    if (std::strcmp(keyword, "q") == 0) ++nesting.end;
    if (std::strcmp(keyword, "Q") == 0) nesting.lowest = std::min(nesting.lowest, --nesting.end);
  }
  return nesting;
}

}  // namespace

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

void storeContent(PdfPage& page, const std::string& content) {
  PdfObject* contents = page.GetContents();
  if (!contents) return;
  PdfObject* first = contents;
  std::vector<PdfObject*> rest;
  if (contents->IsArray()) {
    first = nullptr;
    for (auto& item : contents->GetArray()) {
      PdfObject* object =
          item.IsReference() ? page.GetObject()->GetOwner()->GetObject(item.GetReference()) : &item;
      if (!object || !object->HasStream()) continue;
      if (!first)
        first = object;
      else
        rest.push_back(object);
    }
  }
  if (!first || !first->HasStream()) return;
  first->GetStream()->Set(content.data(), static_cast<pdf_long>(content.size()));
  for (PdfObject* object : rest) object->GetStream()->Set("", 0);
}

std::string isolateGraphicsState(PdfPage& page) {
  const std::string content = pageContent(page);
  if (content.empty()) return content;
  Nesting nesting;
  try {
    nesting = nestingOf(content);
  } catch (const PdfError&) {
    // Content the tokenizer gives up on still gets the one bracket viewers rely on.
  }
  // Enough q that the content's own surplus Q never reaches below ours, and a Q for every q
  // still open at its end.
  const int opened = 1 - nesting.lowest;
  const int closed = opened + nesting.end;
  std::string isolated;
  for (int i = 0; i < opened; ++i) isolated += "q\n";
  isolated += content;
  for (int i = 0; i < closed; ++i) isolated += "Q\n";
  storeContent(page, isolated);
  return isolated;
}

}  // namespace fondaris::documents::detail
