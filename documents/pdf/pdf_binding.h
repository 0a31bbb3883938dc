#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "documents/pdf/pdf_errors.h"

namespace fondaris::documents {

struct PdfPoint {
  double x = 0, y = 0;
};

enum class TextAlign { Left = 0, Center = 1, Right = 2 };

// Document information keys.
enum class DocInfo { Author = 0, Creator = 1, Title = 5 };

// Answers of the text replacement.
inline constexpr int kReplaceDone = 1;
inline constexpr int kReplaceNoInstance = -1;
inline constexpr int kReplacePageMissing = -9;
inline constexpr int kReplaceTooLong = -11;
inline constexpr std::size_t kMaxReplaceLength = 1023;

// What one replacement did on its pages: occurrences replaced, and occurrences found but left as
// they stand (a composite font, no font to draw the replacement); each of those is also reported
// through the error handler.
struct ReplaceCount {
  int replaced = 0;
  int left = 0;
};

// The PDF library as the offer document uses it: one document in memory built from imported
// template pages, text drawn into rectangles, placeholders replaced in the page content, and
// the file written at close. Pages are numbered from 1; lengths are points from the bottom-left
// corner. Texts are UTF-8. Library failures never throw: they reach the error handler.
//
// Text replacement reads every font kind: simple fonts through their ToUnicode map or encoding
// (named, /Differences, built in), composite (Type0) fonts through their ToUnicode map and CMap.
// When the page's font cannot take the replacement (an embedded subset may lack its glyphs) it
// is drawn in a fallback font and the rest of the line moves on by its width. Each page is parsed
// once for all replacements until it is painted on, the page list changes or the file is written;
// what the program drew is parsed only when a search text could reach into it.
// Malformed UTF-8 is read as Windows-1252 (with a warning) before it reaches PoDoFo.
class PdfBinding {
 public:
  // Create instance; nullptr when the library cannot start.
  static std::unique_ptr<PdfBinding> create();
  ~PdfBinding();  // delete instance

  void setErrorHandler(std::intptr_t userValue, PdfErrorHandler handler);

  void createDocument();
  void setDocInfo(DocInfo key, std::string_view text);
  // Options of the original interface; they have no effect here.
  void setDocOption(int /*option*/, int /*value*/ = 0) {}

  // Negative when the file cannot be read as a PDF.
  int openImportFile(const std::string& path);
  // Inserts every page of the import file from `destinationPage` on; only after the last page
  // (pageCount() + 1) is supported. Answers the number of pages imported, or -1.
  int importPages(int destinationPage, double scaleX = 1.0, double scaleY = 1.0);
  void closeImportFile();
  // Later pages move up by one. Answers 1, or -9 for a page that does not exist.
  int deletePage(int page);
  // An empty page at the end; for building templates.
  int appendPage(double width, double height);

  int pageCount() const;
  // Size of the page being edited, else of the first page, else A4.
  double pageWidth() const;
  double pageHeight() const;

  // Drawing goes to the page from editPage until endPage.
  int editPage(int page);
  void endPage();

  // "Arial", "Times New Roman" and "Courier New" are drawn in their standard twins (Helvetica,
  // Times, Courier: the same metrics, built in, nothing embedded). Fonts not embedded are
  // otherwise only possible for the fourteen standard fonts; every other font is looked up with
  // fontconfig and embedded as a subset. Answers 1, or 0 when it is missing.
  int setFont(std::string_view family, bool bold, double size, bool embedded = true,
              bool italic = false);
  // Next text starts at the top edge `y`; a height below 0 grows with the text.
  void setTextRect(double x, double y, double width, double height = -1);
  // Draws the text into the rectangle, wrapping at its width; "\FC[n]" sets the colour. Later
  // calls continue below the text written. Answers 1, or 0 when nothing could be drawn.
  int writeFText(TextAlign align, std::string_view text);
  // Width of a text in the current font and size.
  double textWidth(std::string_view text) const;
  // Height of the current font above its baseline: a text's first baseline lies this far below
  // the top of its rectangle.
  double fontAscent() const;
  void setLineWidth(double width);
  // Stroked frame (mode 4) or filled box (other modes). Answers 1 or 0.
  int rectangle(double x, double y, double width, double height, int mode = 4);
  int line(double x1, double y1, double x2, double y2);
  // Colour of the lines and frames drawn from here on, in the code of "\FC[n]" (red in the low
  // byte); 0 is black.
  void setStrokeColor(std::uint32_t color);
  // One stroked path through the points in their order. Answers 1, or 0 for fewer than two.
  int polyline(const std::vector<PdfPoint>& points);

  // Replaces every occurrence on one page (answers -9 when there is no such page) or on all
  // pages. Answers 1, -1 without a document, -11 for texts over 1023 characters; an empty
  // search text reports an error and answers 0. `count`, when given, receives what was done.
  int replaceText(int page, std::string_view search, std::string_view replacement,
                  ReplaceCount* count = nullptr);
  int replaceTextOnAllPages(std::string_view search, std::string_view replacement,
                            ReplaceCount* count = nullptr);
  // All text of a page in reading order of the content, for checks.
  std::string pageText(int page) const;

  void setOutputOption(int /*option*/) {}
  // Remembers the path when its folder can be written; non-zero on success.
  int openOutputFile(const std::string& path);
  // Writes the whole file at once; greater than 0 on success. A document without pages is not
  // written (a fatal error).
  int closeFile();

  // Reports an error through the handler, as the library does for its own failures.
  void raise(int number, std::string_view message, std::uint32_t type);

  class Impl;

 private:
  PdfBinding();
  std::unique_ptr<Impl> impl_;
};

}  // namespace fondaris::documents
