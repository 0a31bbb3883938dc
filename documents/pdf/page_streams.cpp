#include "documents/pdf/page_streams.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include <zlib.h>

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

namespace {

// One deflate state, reset for each stream. Page contents are a few kilobytes: an 8 KiB window
// and smaller tables compress them as well as zlib's defaults, whose state takes a quarter
// megabyte of fresh memory.
class Deflater {
 public:
  Deflater() {
    constexpr int kWindowBits = 13, kMemoryLevel = 6;
    ready_ = deflateInit2(&stream_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kWindowBits, kMemoryLevel,
                          Z_DEFAULT_STRATEGY) == Z_OK;
  }
  ~Deflater() {
    if (ready_) deflateEnd(&stream_);
  }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  // The Flate form of `data`, or nothing when zlib fails.
  std::optional<std::string> compress(std::string_view data) {
    if (!ready_ || deflateReset(&stream_) != Z_OK) return std::nullopt;
    std::string out(deflateBound(&stream_, static_cast<uLong>(data.size())), '\0');
    stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream_.avail_in = static_cast<uInt>(data.size());
    stream_.next_out = reinterpret_cast<Bytef*>(out.data());
    stream_.avail_out = static_cast<uInt>(out.size());
    if (deflate(&stream_, Z_FINISH) != Z_STREAM_END) return std::nullopt;
    out.resize(stream_.total_out);
    return out;
  }

 private:
  z_stream stream_{};
  bool ready_ = false;
};

}  // namespace

void compressPageContents(PdfMemDocument& document) {
  Deflater deflater;
  auto compress = [&deflater](PdfObject* object) {
    if (!object || !object->HasStream() || object->GetDictionary().HasKey("Filter")) return;
    PdfStream* stream = object->GetStream();
    if (stream->GetLength() == 0) return;
    char* buffer = nullptr;
    pdf_long length = 0;
    stream->GetFilteredCopy(&buffer, &length);
    const auto compressed =
        deflater.compress(std::string_view(buffer, static_cast<std::size_t>(length)));
    podofo_free(buffer);
    if (!compressed) return;  // stays as it is, uncompressed
    PdfMemoryInputStream input(compressed->data(), static_cast<pdf_long>(compressed->size()));
    stream->SetRawData(&input);
    object->GetDictionary().AddKey("Filter", PdfName("FlateDecode"));
  };
  for (int p = 0; p < document.GetPageCount(); ++p) {
    PdfPage* page = document.GetPage(p);
    PdfObject* contents = page ? page->GetContents() : nullptr;
    if (!contents) continue;
    if (!contents->IsArray()) {
      compress(contents);
      continue;
    }
    for (auto& item : contents->GetArray())
      compress(item.IsReference() ? document.GetObjects().GetObject(item.GetReference()) : &item);
  }
}

}  // namespace fondaris::documents::detail
