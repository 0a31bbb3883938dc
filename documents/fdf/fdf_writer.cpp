#include "documents/fdf/fdf_writer.h"

#include "core/files.h"

namespace fondaris::documents {

std::string fdfBytes(const FdfData& data) {
  auto literal = [](std::string_view utf8) { return pdfLiteralBody(pdfTextStringBytes(utf8)); };
  std::string out = "%FDF-1.2\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<<\n/FDF <<\n/Fields [\n";
  for (const FdfEntry& entry : data.entries) {
    // An empty choice would be the empty name: write it as "nothing chosen".
    if (entry.kind == FdfFieldKind::Choice)
      out += "<< /V /" + pdfNameBody(entry.value.empty() ? kNoChoice : entry.value) + " /T (" +
             literal(entry.field) + ")>>\n";
    else
      out += "<< /V (" + literal(entry.value) + ")/T (" + literal(entry.field) + ")>>\n";
  }
  // The form is looked up by a reader on this machine: its path keeps the file system's bytes
  // (UTF-8 on Linux), only escaped as a string, not re-encoded as text like the values.
  out += "]\n/F (" + pdfLiteralBody(data.formReference) +
         ")/ID [ <1014499e909bdf866ceb85b0f3a44969><b9ea7cefabe427ce7f2c914d8fa54bf8>\n"
         "] >>\n>>\nendobj\ntrailer\n<<\n/Root 1 0 R\n\n>>\n%%EOF\n";
  return out;
}

FdfWriteResult writeFdfFile(const std::string& path, const FdfData& data) {
  return core::writeFileAtomically(path, fdfBytes(data)) ? FdfWriteResult::Written
                                                         : FdfWriteResult::Failed;
}

std::string fdfFormReference(std::string_view workingFolder, std::string_view formFileName,
                             bool writtenToWorkingFolder) {
  if (writtenToWorkingFolder) return std::string(formFileName);
  return core::joinPath(workingFolder, formFileName);
}

std::string filledPdfPath(std::string_view fdfPath) {
  std::string path(fdfPath);
  const auto dot = path.rfind('.');
  const auto slash = path.find_last_of("/\\");
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) path.erase(dot);
  return path + ".pdf";
}

}  // namespace fondaris::documents
