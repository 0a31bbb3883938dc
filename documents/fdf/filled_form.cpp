#include "documents/fdf/filled_form.h"

#include <dlfcn.h>

#include <cstdio>
#include <utility>

#include "core/files.h"
#include "documents/fdf/form_filling.h"
#include "documents/fdf/pdf_text.h"

namespace fondaris::documents {

namespace {

// The module stays loaded for the process once it was found.
FillFormEntry loadFormFilling(const std::string& modulePath) {
  void* module = ::dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
  auto entry =
      module ? reinterpret_cast<FillFormEntry>(::dlsym(module, kFormFillingEntryName)) : nullptr;
  if (!entry) {
    const char* why = ::dlerror();
    std::fprintf(stderr, "Fondaris: Das Modul '%s' konnte nicht geladen werden (%s).\n",
                 modulePath.c_str(), why ? why : "unbekannter Fehler");
  }
  return entry;
}

std::vector<FieldValue> fieldValues(const std::vector<FdfEntry>& entries) {
  std::vector<FieldValue> values;
  values.reserve(entries.size());
  for (const FdfEntry& entry : entries)
    values.push_back({entry.field, winAnsiLookalike(entry.value), entry.value});
  return values;
}

}  // namespace

std::string formFillingModulePath() {
  return core::joinPath(core::programDirectory(), kFormFillingModuleName);
}

FilledForm writeFilledForm(const std::string& formPath, const std::vector<FdfEntry>& entries,
                           const std::string& outputPath, const std::string& modulePath) {
  FilledForm filled;
  const auto form = core::readFileBytes(formPath);
  if (!form) {
    filled.result = FilledFormResult::FormMissing;
    return filled;
  }
  // Without the module nothing can be filled: reported as a filled PDF that cannot be written,
  // and an old one stays as it was.
  const FillFormEntry fill = loadFormFilling(modulePath);
  if (!fill) {
    filled.result = FilledFormResult::CannotWrite;
    return filled;
  }
  FormFilling done;
  fill(formPath, *form, fieldValues(entries), done);
  filled.unknownFields = std::move(done.unknownFields);
  if (!done.readable) {
    filled.result = FilledFormResult::FormUnreadable;
    return filled;
  }
  filled.result = core::writeFileAtomically(outputPath, done.bytes) ? FilledFormResult::Written
                                                                    : FilledFormResult::CannotWrite;
  return filled;
}

FormsDataResult writeFormsData(const std::string& fdfPath, const FdfData& data,
                               const std::string& formPath) {
  FormsDataResult result;
  result.fdf = writeFdfFile(fdfPath, data);
  if (result.fdf != FdfWriteResult::Written) return result;
  result.pdfPath = filledPdfPath(fdfPath);
  result.pdf = writeFilledForm(formPath, data.entries, result.pdfPath);
  return result;
}

}  // namespace fondaris::documents
