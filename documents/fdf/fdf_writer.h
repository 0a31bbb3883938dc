#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "documents/fdf/fdf_fields.h"
#include "documents/fdf/pdf_text.h"

namespace fondaris::documents {

// One line of a forms-data file: a field name and either a text or a choice's export value.
// Names and texts are UTF-8, as the controls hold them.
struct FdfEntry {
  std::string field;
  std::string value;
  FdfFieldKind kind = FdfFieldKind::Text;
};

// A whole forms-data file: its entries in order and the PDF form it refers to (/F), a path as
// the file system names it.
struct FdfData {
  std::vector<FdfEntry> entries;
  std::string formReference;
};

enum class FdfWriteResult { Written, Failed };

// The whole forms-data file (FDF 1.2) as bytes.
std::string fdfBytes(const FdfData& data);

// Writes the file whole to a temporary file and renames it over `path`: on failure the old file
// stays as it was.
[[nodiscard]] FdfWriteResult writeFdfFile(const std::string& path, const FdfData& data);

// The /F reference: the form beside the program when the file went to the document folder, the
// bare form name when it went to the working folder itself.
std::string fdfFormReference(std::string_view workingFolder, std::string_view formFileName,
                             bool writtenToWorkingFolder);

// The filled PDF beside a forms-data file: "VVSpar.fdf" -> "VVSpar.pdf".
std::string filledPdfPath(std::string_view fdfPath);

}  // namespace fondaris::documents
