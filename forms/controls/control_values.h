#pragma once

#include <string>
#include <vector>

#include "forms/controls/control.h"

namespace fondaris::forms {

// What the user entered in a set of controls (texts, choices, ticks and the entries of the
// lists those choices point into), kept aside to be put back later as it was.
class ControlValues {
 public:
  // Entry controls only: edits, lists, check boxes and radio buttons.
  static ControlValues capture(const std::vector<Control*>& controls);
  void restore() const;

 private:
  struct Entry {
    Control* control = nullptr;
    Control::ItemList items;
    int itemIndex = -1;
    std::string text;
    bool checked = false;
  };
  std::vector<Entry> entries_;
};

}  // namespace fondaris::forms
