#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "documents/fdf/fdf_fields.h"

namespace fondaris::tools {

// One sample PDF form to build: its file name, its readable source and what it must carry.
struct FormJob {
  std::string fileName;                   // "FQ-VL-Antrag.pdf"
  std::string source;                     // "antrag.txt"
  std::set<std::string> tags;             // source lines marked [vl] apply to jobs tagged vl
  std::vector<documents::FdfFile> files;  // the forms-data files that fill this form
  documents::FdfVariant variant = documents::FdfVariant::Both;
};

// The lines of a UTF-8 source (LF or CR LF); nullopt when it cannot be read.
std::optional<std::vector<std::string>> readSourceLines(const std::string& path);

// The PDF forms named in the readable product data (application forms, protection form,
// paying-in forms), each once.
std::vector<FormJob> formJobs(const std::vector<std::string>& paramLines);

// Lays out one form source into a fillable PDF at `outputPath` and checks that it carries every
// field (and every export value) of the forms-data files that fill it, and no field that none of
// them fills. Source lines, fields separated by "|", an optional "[tag,tag]" in front:
//   title   | <form title>
//   page    | <caption under the title>          starts a page
//   section | <heading>
//   text    | <field> | <columns of 12> | <label>
//   choice  | <field> | <columns> | <label> | <export>=<caption> | ...
//   note    | <columns> | <text>                  small wrapped text
//   sign    | <columns> | <label>                 a signature line
//   row                                           ends the current row
// Blank lines and lines starting with "#" are skipped. Answers an error text, empty on success.
std::string buildForm(const std::vector<std::string>& sourceLines, const FormJob& job,
                      const std::string& outputPath);

}  // namespace fondaris::tools
