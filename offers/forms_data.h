#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "documents/fdf/fdf_fields.h"
#include "documents/fdf/fdf_writer.h"
#include "forms/form_links.h"
#include "forms/form_set.h"

namespace fondaris::offers {

using forms::FormsDataFile;

// The product variant whose forms the open offer fills (the customer form's rbProd1).
documents::FdfVariant formsDataVariant(const forms::FormSet& forms);

// The entries of one forms-data file, gathered from the agent, customer, contract and
// application forms, in the order of the field table and with its kinds. The form reference
// stays empty: it depends on the folder the file goes to.
std::vector<documents::FdfEntry> formsDataEntries(const forms::FormSet& forms, core::DateTime today,
                                                  documents::FdfFile file);

// The fields the entries table has a source for, per file (for the tests that hold the table to
// the field table).
std::vector<std::string_view> formsDataSourceFields(documents::FdfFile file);

// VVSpar.fdf first, then each further file whose condition holds and whose form is named, each
// with its entries.
std::vector<FormsDataFile> formsDataFiles(const forms::FormSet& forms, core::DateTime today);

}  // namespace fondaris::offers
