#include "forms/controls/combo_box_inc.h"

#include <algorithm>

#include "core/cp1252.h"

namespace fondaris::forms {

namespace {

bool keepsNumericText(int key) {
  switch (key) {
    case 1:
    case 2:
    case 8:
    case 9:
    case 12:
    case 41:
    case 45:
    case 46:
    case 47:
    case 120:
    case vk::kDecimal:
    case vk::kComma:
      return true;
    default:
      return (key >= 33 && key <= 40) || (key >= 48 && key <= 57) || (key >= 96 && key <= 105);
  }
}

std::string lowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// Characters, not bytes: caret positions count characters.
std::size_t charCount(const std::string& s) {
  return core::utf8Length(s);
}

std::string dropLastChar(const std::string& s) {
  if (s.empty()) return s;
  std::size_t end = s.size() - 1;
  while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
  return s.substr(0, end);
}

}  // namespace

void ComboBoxInc::keyUp(int key, bool /*shift*/) {
  if (key == vk::kReturn) {
    if (OnKeyPressEnter) OnKeyPressEnter(this);
    return;
  }
  if (key == vk::kF9) return;

  int caret = selStart();
  if (Numeric && !keepsNumericText(key)) {
    text_ = dropLastChar(text_);
    --caret;
  }
  if (IncSearch && key != vk::kTab && key != vk::kLeft && key != vk::kRight) {
    found_ = -1;
    if (!text_.empty()) {
      const std::string prefix = lowerAscii(text_);
      for (int i = 0; i < itemCount(); ++i) {
        if (lowerAscii(items()[i]).rfind(prefix, 0) == 0) {
          found_ = i;
          break;
        }
      }
    }
    if (found_ >= 0 && key != vk::kDelete && key != vk::kBack) setItemIndex(found_);
    const int length = static_cast<int>(charCount(text_));
    caret = std::clamp(caret, 0, length);
    setSelection(caret, length - caret);
  } else {
    const int length = static_cast<int>(charCount(text_));
    setSelection(std::clamp(caret, 0, length), 0);
  }
}

}  // namespace fondaris::forms
