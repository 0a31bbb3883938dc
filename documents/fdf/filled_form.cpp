#include "documents/fdf/filled_form.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFFormFieldObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <map>

#include "core/files.h"
#include "documents/fdf/pdf_text.h"

namespace fondaris::documents {

namespace {

// qpdf's own setV takes only /Yes and /Off for check boxes: set the value and every widget's
// state by hand, so "Ja", "K" or digits tick the box that has that state.
void setChoice(QPDFAcroFormDocumentHelper& acro, QPDFFormFieldObjectHelper& field,
               const std::string& exportValue) {
  const std::string state = "/" + exportValue;
  field.getObjectHandle().replaceKey("/V", QPDFObjectHandle::newName(state));
  for (auto& widget : acro.getAnnotationsForField(field)) {
    QPDFObjectHandle annotation = widget.getObjectHandle();
    QPDFObjectHandle ap = annotation.getKey("/AP");
    QPDFObjectHandle normal = ap.isDictionary() ? ap.getKey("/N") : QPDFObjectHandle::newNull();
    const bool has = normal.isDictionary() && normal.hasKey(state);
    annotation.replaceKey("/AS", QPDFObjectHandle::newName(has ? state : "/Off"));
  }
}

}  // namespace

FilledForm writeFilledForm(const std::string& formPath, const std::vector<FdfEntry>& entries,
                           const std::string& outputPath) {
  FilledForm filled;
  const auto form = core::readFileBytes(formPath);
  if (!form) {
    filled.result = FilledFormResult::FormMissing;
    return filled;
  }
  std::string bytes;
  try {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processMemoryFile(formPath.c_str(), form->data(), form->size());
    QPDFAcroFormDocumentHelper acro(pdf);
    std::map<std::string, QPDFFormFieldObjectHelper> fields;
    for (auto& field : acro.getFormFields()) fields.emplace(field.getFullyQualifiedName(), field);
    std::vector<std::pair<QPDFFormFieldObjectHelper, std::string>> exactValues;
    for (const FdfEntry& entry : entries) {
      const auto found = fields.find(entry.field);
      if (found == fields.end()) {
        filled.unknownFields.push_back(entry.field);
        continue;
      }
      QPDFFormFieldObjectHelper& field = found->second;
      // The form decides what a field is: a text entry for a box still sets its state.
      if (field.getFieldType() == "/Btn") {
        setChoice(acro, field, entry.value);
        continue;
      }
      // qpdf draws with the form's Windows-1252 font: draw what it can show, keep the value.
      const std::string drawn = winAnsiLookalike(entry.value);
      field.setV(drawn, false);
      if (drawn != entry.value) exactValues.emplace_back(field, entry.value);
    }
    acro.setNeedAppearances(true);
    acro.generateAppearancesIfNeeded();
    for (auto& [field, value] : exactValues)
      field.getObjectHandle().replaceKey("/V", QPDFObjectHandle::newUnicodeString(value));
    QPDFWriter writer(pdf);
    writer.setOutputMemory();
    writer.write();
    const auto buffer = writer.getBufferSharedPointer();
    bytes.assign(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
  } catch (const std::exception&) {
    filled.result = FilledFormResult::FormUnreadable;
    return filled;
  }
  filled.result = core::writeFileAtomically(outputPath, bytes) ? FilledFormResult::Written
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
