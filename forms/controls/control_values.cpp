#include "forms/controls/control_values.h"

namespace fondaris::forms {

namespace {

bool holdsEntry(ControlKind kind) {
  switch (kind) {
    case ControlKind::Edit:
    case ControlKind::MaskEdit:
    case ControlKind::ComboBox:
    case ControlKind::ComboBoxInc:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      return true;
    default:
      return false;
  }
}

bool isList(ControlKind kind) {
  return kind == ControlKind::ComboBox || kind == ControlKind::ComboBoxInc;
}

}  // namespace

ControlValues ControlValues::capture(const std::vector<Control*>& controls) {
  ControlValues values;
  for (Control* c : controls)
    if (holdsEntry(c->kind()))
      values.entries_.push_back({c, c->itemList(), c->itemIndex(), c->text(), c->checked()});
  return values;
}

void ControlValues::restore() const {
  // Radio buttons clear their group when checked: all off first, then the chosen ones on.
  for (const Entry& e : entries_)
    if (e.control->kind() == ControlKind::RadioButton) e.control->setChecked(false);
  for (const Entry& e : entries_) {
    Control& c = *e.control;
    switch (c.kind()) {
      case ControlKind::CheckBox:
      case ControlKind::RadioButton:
        if (e.checked) c.setChecked(true);
        break;
      default:
        if (isList(c.kind())) {
          c.shareItems(e.items);
          c.setItemIndex(e.itemIndex);
        }
        // An editable list may hold a text that is none of its entries.
        if (!isList(c.kind()) || !c.dropDownList()) c.setText(e.text);
        break;
    }
  }
}

}  // namespace fondaris::forms
