#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "tests/support/pdf_tools.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_output.h"

namespace fondaris::documents::testing_support {

using test_support::TempFolder;

// A field as pdftk lists it: its value and the states its boxes offer.
struct ListedField {
  std::string type;
  std::string value;
  std::set<std::string> states;
};

// The fields of a PDF as pdftk (an outside reader) lists them, by full name.
inline std::map<std::string, ListedField> pdftkFields(const std::string& pdf) {
  std::map<std::string, ListedField> fields;
  std::istringstream in(
      testing_tools::run("pdftk " + testing_tools::quoted(pdf) + " dump_data_fields_utf8"));
  std::string line, name;
  ListedField current;
  auto flush = [&] {
    if (!name.empty()) fields[name] = current;
    name.clear();
    current = {};
  };
  while (std::getline(in, line)) {
    auto value = [&line](const char* key) { return line.substr(std::string(key).size()); };
    if (line == "---")
      flush();
    else if (line.starts_with("FieldType: "))
      current.type = value("FieldType: ");
    else if (line.starts_with("FieldName: "))
      name = value("FieldName: ");
    else if (line.starts_with("FieldValue: "))
      current.value = value("FieldValue: ");
    else if (line.starts_with("FieldStateOption: "))
      current.states.insert(value("FieldStateOption: "));
  }
  flush();
  return fields;
}

inline std::string buildFile(const std::string& name) {
  return std::string(FONDARIS_BUILD_DIR) + "/" + name;
}

}  // namespace fondaris::documents::testing_support
