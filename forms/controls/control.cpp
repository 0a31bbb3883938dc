#include "forms/controls/control.h"

#include <algorithm>

#include "core/cp1252.h"
#include "forms/controls/form.h"

namespace fondaris::forms {

namespace {
bool sameTextIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}
}  // namespace

Control::Control(Form& form, std::string name, ControlKind kind, Control* parent)
    : form_(form), name_(std::move(name)), kind_(kind), parent_(parent) {
  form_.registerControl(this);
}

void Control::setText(const std::string& text) {
  if (kind_ == ControlKind::ComboBox || kind_ == ControlKind::ComboBoxInc) {
    const int index = indexOf(text);
    if (dropDownList_) {
      itemIndex_ = index;
      text_ = index >= 0 ? items_[index] : std::string();
      return;
    }
    itemIndex_ = index;
  }
  text_ = text;
}

bool Control::showing() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void Control::setSelection(int start, int length) {
  selStart_ = std::max(0, start);
  selLength_ = std::max(0, length);
}

void Control::setChecked(bool c) {
  checked_ = c;
  if (c && kind_ == ControlKind::RadioButton) {
    for (Control* other : form_.controls())
      if (other != this && other->kind_ == ControlKind::RadioButton && other->parent_ == parent_)
        other->checked_ = false;
  }
}

void Control::setItems(std::vector<std::string> items) {
  items_ = std::move(items);
  itemIndex_ = -1;
  if (dropDownList_) text_.clear();
}

void Control::clearItems() {
  setItems({});
}

void Control::setItemIndex(int index) {
  if (index < 0 || index >= itemCount()) {
    itemIndex_ = -1;
    if (dropDownList_) text_.clear();
    return;
  }
  itemIndex_ = index;
  text_ = items_[index];
}

int Control::indexOf(const std::string& text) const {
  for (int i = 0; i < itemCount(); ++i)
    if (sameTextIgnoringCase(items_[i], text)) return i;
  return -1;
}

void Control::userSetText(const std::string& typed) {
  if (!enabled_) return;
  form_.edited(*this);
  const std::string text = windows1252Only_ ? core::windows1252Only(typed) : typed;
  if (kind_ == ControlKind::ComboBox || kind_ == ControlKind::ComboBoxInc) {
    itemIndex_ = indexOf(text);
    text_ = text;
  } else {
    text_ = text;
    // The limit counts characters, as the user sees them ("Größe" is five).
    while (maxLength_ > 0 && static_cast<int>(core::utf8Length(text_)) > maxLength_)
      text_ = std::string(core::utf8PrefixBytes(text_, text_.size() - 1));
  }
  if (onChange) onChange(this);
}

void Control::userSelect(int index) {
  if (!enabled_) return;
  form_.edited(*this);
  setItemIndex(index);
  if (onChange) onChange(this);
  if (onClick) onClick(this);
}

void Control::userClick() {
  if (!enabled_) return;
  // However a button was pressed, its action works on checked fields.
  if (kind_ == ControlKind::Button && !form_.exitBeforeAction(*this)) return;
  form_.edited(*this);
  if (kind_ == ControlKind::CheckBox) setChecked(!checked_);
  if (kind_ == ControlKind::RadioButton) setChecked(true);
  if (onClick) onClick(this);
}

}  // namespace fondaris::forms
