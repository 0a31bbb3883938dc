#include "forms/controls/control.h"

#include <utility>

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
// The limit counts characters, as the user sees them ("Größe" is five).
std::string withinLimit(std::string text, int maxLength) {
  if (maxLength <= 0) return text;
  std::size_t at = 0;
  for (int chars = 0; chars < maxLength && at < text.size(); ++chars) {
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
  }
  text.resize(at);
  return text;
}

std::string digitsOf(const std::string& text) {
  std::string digits;
  for (char c : text)
    if (c >= '0' && c <= '9') digits.push_back(c);
  return digits;
}

}  // namespace

Control::Control(Form& form, std::string name, ControlKind kind, Control* parent)
    : form_(form), name_(std::move(name)), kind_(kind), parent_(parent) {
  form_.registerControl(this);
}

void Control::setText(const std::string& given) {
  const bool list = kind_ == ControlKind::ComboBox || kind_ == ControlKind::ComboBoxInc;
  if (list && dropDownList_) {
    itemIndex_ = indexOf(given);
    text_ = itemIndex_ >= 0 ? (*items_)[itemIndex_] : std::string();
    return;
  }
  text_ = withinLimit(given, maxLength_);
  if (list) itemIndex_ = indexOf(text_);
}

bool Control::digitsOnly() const {
  const std::string places = mask_.substr(0, mask_.find(';'));
  return !places.empty() && places.find_first_not_of("09") == std::string::npos;
}

void Memo::userChooseLine(int line) {
  setCaretLine(line);
  if (onChooseLine) onChooseLine(this);
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

const std::vector<std::string>& Control::items() const {
  static const std::vector<std::string> none;
  return items_ ? *items_ : none;
}

void Control::setItems(std::vector<std::string> items) {
  shareItems(items.empty() ? nullptr
                           : std::make_shared<const std::vector<std::string>>(std::move(items)));
}

void Control::shareItems(ItemList items) {
  items_ = std::move(items);
  itemIndex_ = -1;
  if (dropDownList_) text_.clear();
}

void Control::addItem(const std::string& item) {
  // The list may be shared (and was made const): the control takes a copy of its own.
  auto own = std::make_shared<std::vector<std::string>>(items());
  own->push_back(item);
  items_ = std::move(own);
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
  text_ = (*items_)[index];
}

int Control::indexOf(const std::string& text) const {
  for (int i = 0; i < itemCount(); ++i)
    if (sameTextIgnoringCase((*items_)[i], text)) return i;
  return -1;
}

void Control::userSetText(const std::string& typed) {
  if (!enabled_) return;
  form_.edited(*this);
  std::string text = windows1252Only_ ? core::windows1252Only(typed) : typed;
  if (digitsOnly()) text = digitsOf(text);
  const std::string before = std::exchange(text_, withinLimit(std::move(text), maxLength_));
  if (kind_ == ControlKind::ComboBox || kind_ == ControlKind::ComboBoxInc)
    itemIndex_ = indexOf(text_);
  textTyped(before);
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
