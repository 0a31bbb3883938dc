#include "forms/controls/combo_box_inc.h"

#include <algorithm>

#include "core/cp1252.h"
#include "core/german.h"
#include "forms/controls/form.h"

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

// Keys that type no character: modifiers, locks, Escape, Pause, the system keys and F1 to F24.
bool typesNothing(int key) {
  return key == 0 || (key >= 16 && key <= 20) || key == 27 || (key >= 91 && key <= 93) ||
         (key >= 112 && key <= 135) || key == 144 || key == 145 || (key >= 160 && key <= 165);
}

// Characters, not bytes: caret positions count characters.
std::size_t charCount(const std::string& s) {
  return core::utf8Length(s);
}

// Byte offset of character `index` (characters, not bytes, as the caret counts).
std::size_t byteOffset(const std::string& s, int index) {
  std::size_t at = 0;
  for (int i = 0; i < index && at < s.size(); ++i) {
    ++at;
    while (at < s.size() && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80) ++at;
  }
  return at;
}

}  // namespace

void ComboBoxInc::keyUp(int key, bool shift, bool controlOrAlt) {
  if (key == vk::kReturn) {
    if (OnKeyPressEnter) OnKeyPressEnter(this);
    return;
  }
  if (key == vk::kF9) return;
  const std::string before = text_;
  completeAfterKey(key, shift, controlOrAlt);
  if (text_ != before) form().edited(*this);
}

void ComboBoxInc::completeAfterKey(int key, bool shift, bool controlOrAlt) {
  int caret = selStart();
  const int selected = selLength();
  bool removed = false;
  // Shift with a digit key types a sign ("!", "\"", ...), no digit.
  const bool kept = keepsNumericText(key) && !(shift && key >= '0' && key <= '9');
  if (Numeric && !kept && !typesNothing(key) && !controlOrAlt && caret > 0) {
    // The refused character stands just before the caret; a digit or comma there was not typed
    // by this key and stays.
    const std::size_t from = byteOffset(text_, caret - 1), to = byteOffset(text_, caret);
    const std::string typed = text_.substr(from, to - from);
    if (typed.size() != 1 || !((typed[0] >= '0' && typed[0] <= '9') || typed[0] == ',')) {
      text_.erase(from, to - from);
      --caret;
      removed = true;
    }
  }
  if (IncSearch && key != vk::kTab && key != vk::kLeft && key != vk::kRight) {
    found_ = -1;
    if (!text_.empty()) {
      const std::string prefix = core::lowerAscii(text_);
      for (int i = 0; i < itemCount(); ++i) {
        if (core::lowerAscii(items()[i]).rfind(prefix, 0) == 0) {
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
    // A key that changed nothing leaves the selection (Ctrl+A's whole text) as it was.
    const int length = static_cast<int>(charCount(text_));
    caret = std::clamp(caret, 0, length);
    setSelection(caret, removed ? 0 : std::min(selected, length - caret));
  }
}

}  // namespace fondaris::forms
