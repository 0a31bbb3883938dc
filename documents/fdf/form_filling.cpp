#include "documents/fdf/form_filling.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFFormFieldObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <map>

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

// Exceptions stay inside the module: a form qpdf cannot read comes back as not readable.
void fillForm(const std::string& formName, const std::string& form,
              const std::vector<FieldValue>& values, FormFilling& filled) {
  try {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processMemoryFile(formName.c_str(), form.data(), form.size());
    QPDFAcroFormDocumentHelper acro(pdf);
    std::map<std::string, QPDFObjectHandle> fields;
    for (auto& widget : acro.getFormFields()) {
      QPDFObjectHandle field = namedField(widget.getObjectHandle());
      fields.emplace(QPDFFormFieldObjectHelper(field).getFullyQualifiedName(), field);
    }
    std::vector<std::pair<QPDFObjectHandle, std::string>> exactValues;
    for (const FieldValue& entry : values) {
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
      field.setV(entry.drawn, false);
      if (entry.drawn != entry.value) exactValues.emplace_back(found->second, entry.value);
    }
    acro.setNeedAppearances(true);
    acro.generateAppearancesIfNeeded();
    for (auto& [field, value] : exactValues)
      field.replaceKey("/V", QPDFObjectHandle::newUnicodeString(value));
    QPDFWriter writer(pdf);
    writer.setOutputMemory();
    writer.write();
    const auto buffer = writer.getBufferSharedPointer();
    filled.bytes.assign(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
    filled.readable = true;
  } catch (const std::exception&) {
    filled = FormFilling{};
  }
}

}  // namespace

}  // namespace fondaris::documents

extern "C" void fondarisFillForm(const std::string& formName, const std::string& form,
                                 const std::vector<fondaris::documents::FieldValue>& values,
                                 fondaris::documents::FormFilling& filled) {
  fondaris::documents::fillForm(formName, form, values, filled);
}
