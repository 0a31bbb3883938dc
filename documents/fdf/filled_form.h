#pragma once

#include <string>
#include <vector>

#include "documents/fdf/fdf_writer.h"

namespace fondaris::documents {

enum class FilledFormResult {
  Written,
  FormMissing,     // the PDF form cannot be opened
  FormUnreadable,  // it is no PDF, or damaged beyond repair
  CannotWrite,     // the filled PDF could not be written; an old one stays whole
};

struct FilledForm {
  FilledFormResult result = FilledFormResult::FormMissing;
  // Entries whose field the form does not carry; they are skipped as a forms-data reader would.
  std::vector<std::string> unknownFields;
};

// The form-filling module beside the program.
[[nodiscard]] std::string formFillingModulePath();

// Fills the entries into a copy of the PDF form at `formPath` with visible values (text
// appearances drawn, check boxes and radio buttons set to their export value) and writes it
// whole to `outputPath`. The filling is done by the module at `modulePath`, loaded on first
// use; when it cannot be loaded the result is CannotWrite.
[[nodiscard]] FilledForm writeFilledForm(const std::string& formPath,
                                         const std::vector<FdfEntry>& entries,
                                         const std::string& outputPath,
                                         const std::string& modulePath = formFillingModulePath());

// What "&Weiter" writes for one forms-data file: the file itself and, only when it was written,
// the filled PDF beside it ("VVSpar.fdf" -> "VVSpar.pdf") from the form at `formPath`.
struct FormsDataResult {
  FdfWriteResult fdf = FdfWriteResult::Failed;
  FilledForm pdf;
  std::string pdfPath;  // empty when the forms-data file failed
};
[[nodiscard]] FormsDataResult writeFormsData(const std::string& fdfPath, const FdfData& data,
                                             const std::string& formPath);

}  // namespace fondaris::documents
