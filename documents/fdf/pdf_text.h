#pragma once

#include <string>
#include <string_view>

namespace fondaris::documents {

// The bytes of the text string for `utf8` as they stand in a PDF file: PDFDocEncoding when every
// character has a byte there (German letters then keep their Windows-1252 bytes, € and the
// quotation marks get theirs), otherwise UTF-16BE with its byte order mark.
std::string pdfTextStringBytes(std::string_view utf8);

// `bytes` as the inside of a PDF literal string: "\", "(" and ")" escaped, CR and LF as \r and
// \n, every other byte outside printable ASCII and Latin-1 letters in octal.
std::string pdfLiteralBody(std::string_view bytes);

// An export value as a PDF name without its "/": delimiters and bytes outside printable ASCII
// as #xx.
std::string pdfNameBody(std::string_view utf8);

// Code points of a UTF-8 text; a malformed sequence becomes U+FFFD.
std::u32string decodeUtf8(std::string_view utf8);

// The text as a Helvetica field with Windows-1252 encoding can draw it: letters of Latin
// Extended-A (Polish, Czech, Turkish ...) become their base letter, anything else outside
// Windows-1252 "?".
std::string winAnsiLookalike(std::string_view utf8);

}  // namespace fondaris::documents
