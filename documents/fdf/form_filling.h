#pragma once

// What of filling a PDF form needs qpdf. It is built as the module libfondaris-formfilling.so
// beside the program and loaded on the first filling, so that programs which never fill a form
// (the offer command) do not load qpdf and the libraries it pulls in.

#include <string>
#include <vector>

namespace fondaris::documents {

inline constexpr const char* kFormFillingModuleName = "libfondaris-formfilling.so";
inline constexpr const char* kFormFillingEntryName = "fondarisFillForm";

struct FieldValue {
  std::string field;
  std::string drawn;  // what the appearance shows: the value in the form's Windows-1252 font
  std::string value;  // the value itself, kept where it differs from what is drawn
};

struct FormFilling {
  bool readable = false;  // false: no PDF, or damaged beyond repair
  std::string bytes;      // the filled PDF
  std::vector<std::string> unknownFields;
};

// The module's entry: fills `values` into the PDF form `form` (read from `formName`).
using FillFormEntry = void (*)(const std::string& formName, const std::string& form,
                               const std::vector<FieldValue>& values, FormFilling& filled);

}  // namespace fondaris::documents
