#include "forms/controls/combo_box_inc.h"

#include <algorithm>
#include <utility>

#include "core/cp1252.h"
#include "core/german.h"
#include "forms/controls/form.h"

namespace fondaris::forms {

namespace {

// Keys that type nothing numeric mode refuses: digits, navigation and editing. The comma key and
// the keypad's decimal key are not among them (Shift+comma types ";", some keypads a point):
// what they typed decides.
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

bool isNumericCharacter(std::string_view c) {
  return c.size() == 1 && ((c[0] >= '0' && c[0] <= '9') || c[0] == ',');
}

// Control characters (Ctrl+C, Backspace, Escape) type nothing into the box.
bool isPrintable(std::string_view typed) {
  return !typed.empty() && static_cast<unsigned char>(typed[0]) >= 0x20 && typed[0] != 0x7F;
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

// The text's characters, each as its UTF-8 bytes.
std::vector<std::string_view> characters(std::string_view s) {
  std::vector<std::string_view> out;
  for (std::size_t at = 0; at < s.size();) {
    std::size_t end = at + 1;
    while (end < s.size() && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) ++end;
    out.push_back(s.substr(at, end - at));
    at = end;
  }
  return out;
}

}  // namespace

void ComboBoxInc::textTyped(const std::string& before) {
  const std::vector<std::string_view> old = characters(before), now = characters(text_);
  // A text the program set in between: nothing of it counts as typed.
  if (typed_.size() != old.size()) typed_.assign(old.size(), false);
  std::size_t prefix = 0;
  while (prefix < old.size() && prefix < now.size() && old[prefix] == now[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < old.size() - prefix && suffix < now.size() - prefix &&
         old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix])
    ++suffix;
  std::vector<bool> flags(typed_.begin(), typed_.begin() + static_cast<std::ptrdiff_t>(prefix));
  flags.insert(flags.end(), now.size() - prefix - suffix, true);
  flags.insert(flags.end(), typed_.end() - static_cast<std::ptrdiff_t>(suffix), typed_.end());
  typed_ = std::move(flags);
}

int ComboBoxInc::dropTypedNonNumeric(std::vector<bool> typed, int caret) {
  const std::vector<std::string_view> chars = characters(text_);
  if (typed.size() != chars.size()) return caret;
  std::string kept;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    if (typed[i] && !isNumericCharacter(chars[i])) {
      if (static_cast<int>(i) < caret) --caret;
      continue;
    }
    kept += chars[i];
  }
  text_ = std::move(kept);
  return caret;
}

void ComboBoxInc::keyUp(int key, bool shift, bool controlOrAlt, std::string_view typed) {
  if (key == vk::kReturn) {
    if (OnKeyPressEnter) OnKeyPressEnter(this);
    return;
  }
  if (key == vk::kF9) return;
  const std::string before = text_;
  completeAfterKey(key, shift, controlOrAlt, typed);
  if (text_ != before) form().edited(*this);
}

bool ComboBoxInc::refusesTypedCharacter(int key, bool shift, bool controlOrAlt,
                                        std::string_view typed,
                                        std::string_view beforeCaret) const {
  if (!Numeric || beforeCaret.empty() || isNumericCharacter(beforeCaret)) return false;
  // Where the window system names the character, it decides, whatever key typed it (umlauts,
  // AltGr characters and the like have no key code of their own).
  if (!typed.empty()) return isPrintable(typed) && typed == beforeCaret;
  // Shift with a digit key types a sign ("!", "\"", ...), no digit.
  const bool kept = keepsNumericText(key) && !(shift && key >= '0' && key <= '9');
  return !kept && !typesNothing(key) && !controlOrAlt;
}

void ComboBoxInc::completeAfterKey(int key, bool shift, bool controlOrAlt, std::string_view typed) {
  int caret = selStart();
  const int selected = selLength();
  bool removed = false;
  std::vector<bool> typedSinceLastKey = std::exchange(typed_, {});
  if (typedSinceLastKey.size() != charCount(text_)) typedSinceLastKey.clear();
  if (caret > 0) {
    // The typed character stands just before the caret; a digit or comma there stays, whoever
    // typed it.
    const std::size_t from = byteOffset(text_, caret - 1), to = byteOffset(text_, caret);
    const std::string_view beforeCaret = std::string_view(text_).substr(from, to - from);
    if (refusesTypedCharacter(key, shift, controlOrAlt, typed, beforeCaret)) {
      text_.erase(from, to - from);
      if (static_cast<std::size_t>(caret - 1) < typedSinceLastKey.size())
        typedSinceLastKey.erase(typedSinceLastKey.begin() + (caret - 1));
      --caret;
      removed = true;
    }
  }
  // A shortcut (a paste) takes its text as it is.
  if (Numeric && !controlOrAlt && !typedSinceLastKey.empty()) {
    const std::size_t length = text_.size();
    caret = dropTypedNonNumeric(std::move(typedSinceLastKey), caret);
    removed = removed || text_.size() != length;
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
