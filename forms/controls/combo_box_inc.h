#pragma once

#include <vector>

#include "forms/controls/control.h"

namespace fondaris::forms {

// Windows virtual-key codes the combo box distinguishes.
namespace vk {
inline constexpr int kBack = 8, kTab = 9, kReturn = 13, kShift = 16, kControl = 17;
inline constexpr int kLeft = 37, kRight = 39, kDelete = 46, kF9 = 120;
inline constexpr int kDecimal = 110, kComma = 188, kPeriod = 190;
}  // namespace vk

// The combo box of every data-entry form: a numeric mode that drops a typed character other
// than a digit or the decimal comma where it was typed (modifiers, navigation, function keys and
// shortcuts never change the text), an incremental search that completes the text to the first
// matching item, and an event for a released Enter key.
class ComboBoxInc : public ComboBox {
 public:
  ComboBoxInc(Form& form, std::string name, Control* parent = nullptr)
      : ComboBox(form, std::move(name), parent, ControlKind::ComboBoxInc) {}

  bool Numeric = false;
  bool IncSearch = true;
  std::string TagString;
  Event OnKeyPressEnter;

  bool GetNumeric() const { return Numeric; }
  void SetNumeric(bool n) { Numeric = n; }
  int lastFoundIndex() const { return found_; }

  void keyUp(int virtualKey, bool shift, bool controlOrAlt = false,
             std::string_view typed = {}) override;

 protected:
  void textTyped(const std::string& before) override;

 private:
  // Numeric mode and incremental search on a released key other than Enter and F9.
  void completeAfterKey(int virtualKey, bool shift, bool controlOrAlt, std::string_view typed);
  // Whether numeric mode takes back `beforeCaret`, the character the released key left there.
  bool refusesTypedCharacter(int virtualKey, bool shift, bool controlOrAlt, std::string_view typed,
                             std::string_view beforeCaret) const;

  // Numeric mode: a character typed since the last released key that is no digit or comma goes,
  // wherever it stands; during key rollover ("a" and "5" down, then up) it is not the one
  // before the caret.
  int dropTypedNonNumeric(std::vector<bool> typed, int caret);

  int found_ = -1;
  // One flag per character of the text: typed since the last released key.
  std::vector<bool> typed_;
};

}  // namespace fondaris::forms
