#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "documents/fdf/fdf_fields.h"
#include "documents/fdf/fdf_writer.h"

namespace fondaris::forms {

class App;

// The product variant whose forms the open offer fills (the customer form's rbProd1).
documents::FdfVariant formsDataVariant(const App& app);

// The entries of one forms-data file, gathered from the agent, customer, contract and
// application forms, in the order of the field table and with its kinds. The form reference
// stays empty: it depends on the folder the file goes to.
std::vector<documents::FdfEntry> formsDataEntries(const App& app, documents::FdfFile file);

// The fields the entries table has a source for, per file (for the tests that hold the table to
// the field table).
std::vector<std::string_view> formsDataSourceFields(documents::FdfFile file);

// A forms-data file whose condition holds, with the PDF form it refers to.
struct FormsDataFile {
  documents::FdfFile file;
  std::string formName;
};

// VVSpar.fdf first, then each further file whose condition holds and whose form is named.
std::vector<FormsDataFile> formsDataFiles(const App& app);

}  // namespace fondaris::forms
