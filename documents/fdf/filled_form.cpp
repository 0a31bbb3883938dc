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

// A widget without a name of its own belongs to the field above it; the value lives there.
QPDFObjectHandle namedField(QPDFObjectHandle object) {
  for (int depth = 0; depth < 32 && object.isDictionary() && !object.hasKey("/T"); ++depth) {
    QPDFObjectHandle parent = object.getKey("/Parent");
    if (!parent.isDictionary()) break;
    object = parent;
  }
  return object;
}

// The widgets of a field: its kids without names of their own, or the field itself.
std::vector<QPDFObjectHandle> widgetsOf(QPDFObjectHandle field) {
  std::vector<QPDFObjectHandle> widgets;
  QPDFObjectHandle kids = field.getKey("/Kids");
  if (kids.isArray()) {
    for (int i = 0; i < kids.getArrayNItems(); ++i) {
      QPDFObjectHandle kid = kids.getArrayItem(i);
      if (kid.isDictionary() && !kid.hasKey("/T")) widgets.push_back(kid);
    }
  }
  if (widgets.empty()) widgets.push_back(field);
  return widgets;
}

// qpdf's own setV takes only /Yes and /Off for check boxes: set the value and every widget's
// state by hand, so "Ja", "K" or digits tick the box that has that state.
void setChoice(QPDFObjectHandle field, const std::string& exportValue) {
  const std::string state = "/" + exportValue;
  field.replaceKey("/V", QPDFObjectHandle::newName(state));
  for (QPDFObjectHandle widget : widgetsOf(field)) {
    QPDFObjectHandle ap = widget.getKey("/AP");
    QPDFObjectHandle normal = ap.isDictionary() ? ap.getKey("/N") : QPDFObjectHandle::newNull();
    const bool has = normal.isDictionary() && normal.hasKey(state);
    widget.replaceKey("/AS", QPDFObjectHandle::newName(has ? state : "/Off"));
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
    std::map<std::string, QPDFObjectHandle> fields;
    for (auto& widget : acro.getFormFields()) {
      QPDFObjectHandle field = namedField(widget.getObjectHandle());
      fields.emplace(QPDFFormFieldObjectHelper(field).getFullyQualifiedName(), field);
    }
    std::vector<std::pair<QPDFObjectHandle, std::string>> exactValues;
    for (const FdfEntry& entry : entries) {
      const auto found = fields.find(entry.field);
      if (found == fields.end()) {
        filled.unknownFields.push_back(entry.field);
        continue;
      }
      QPDFFormFieldObjectHelper field(found->second);
      // The form decides what a field is: a text entry for a box still sets its state.
      if (field.getFieldType() == "/Btn") {
        setChoice(found->second, entry.value);
        continue;
      }
      // qpdf draws with the form's Windows-1252 font: draw what it can show, keep the value.
      const std::string drawn = winAnsiLookalike(entry.value);
      field.setV(drawn, false);
      if (drawn != entry.value) exactValues.emplace_back(found->second, entry.value);
    }
    acro.setNeedAppearances(true);
    acro.generateAppearancesIfNeeded();
    for (auto& [field, value] : exactValues)
      field.replaceKey("/V", QPDFObjectHandle::newUnicodeString(value));
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
