#include "forms/controls/combo_box_inc.h"

#include <gtest/gtest.h>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/shell.h"
#include "forms/app.h"

namespace fondaris::forms {
namespace {

class ComboBoxIncTest : public ::testing::Test {
 protected:
  // What the edit shows after a key went down, then the key coming up.
  void type(const std::string& textAfterKeyDown, int key) {
    box.setText(textAfterKeyDown);
    box.setSelection(static_cast<int>(textAfterKeyDown.size()), 0);
    box.keyUp(key, false);
  }
  std::string selected() const {
    return box.text().substr(static_cast<std::size_t>(box.selStart()),
                             static_cast<std::size_t>(box.selLength()));
  }

  core::ScriptedDialogs dialogs;
  core::FixedClock clock{2026, 12, 5};
  core::RecordingShell shell;
  App app{Services{dialogs, clock, shell}};
  Form form{app, "TForm", "frm"};
  ComboBoxInc box{form, "cb"};
};

TEST_F(ComboBoxIncTest, NumericModeDropsKeysThatBelongToNoNumber) {
  box.Numeric = true;
  box.IncSearch = false;
  struct Case {
    const char* text;
    int key;
    const char* expected;
  } cases[] = {
      {"12", 'A', "1"},         // a letter
      {"12", vk::kShift, "1"},  // Shift released after a digit
      {"12", vk::kControl, "1"},
      {"1.", vk::kPeriod, "1"},  // the point key is no decimal separator
                                 // here
      {"1-", 189, "1"},
      {"1,", vk::kComma, "1,"},
      {"1,", vk::kDecimal, "1,"},
      {"12", '2', "12"},
      {"12", 98, "12"},  // digit of the numeric pad
      {"12", vk::kBack, "12"},
      {"12", vk::kDelete, "12"},
      {"12", vk::kLeft, "12"},
      {"12", vk::kTab, "12"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " key " + std::to_string(c.key));
    type(c.text, c.key);
    EXPECT_EQ(box.text(), c.expected);
  }
}

TEST_F(ComboBoxIncTest, IncrementalSearchCompletesAndSelectsTheRest) {
  box.Numeric = true;
  box.setItems({"100,00", "1.000,00"});
  type("1", '1');
  EXPECT_EQ(box.text(), "100,00");
  EXPECT_EQ(box.itemIndex(), 0);
  EXPECT_EQ(selected(), "00,00");

  // Backspace removes the completion and does not complete again.
  type("1", vk::kBack);
  EXPECT_EQ(box.text(), "1");
  EXPECT_EQ(box.lastFoundIndex(), 0);

  type("1.", '1');  // the point is kept by the key that came up, found the second item
  EXPECT_EQ(box.text(), "1.000,00");
  EXPECT_EQ(selected(), "000,00");

  type("7", '7');
  EXPECT_EQ(box.text(), "7");
  EXPECT_EQ(box.lastFoundIndex(), -1);
}

TEST_F(ComboBoxIncTest, SearchIgnoresCaseAndArrowKeys) {
  box.setItems({"monatlich", "Jährlich"});
  type("j", 'J');
  EXPECT_EQ(box.text(), "Jährlich");
  type("mo", vk::kLeft);
  EXPECT_EQ(box.text(), "mo");
}

TEST_F(ComboBoxIncTest, EnterRunsOnlyItsEventAndF9Nothing) {
  box.setItems({"100,00"});
  type("1", vk::kReturn);  // no handler: nothing, not even the search
  EXPECT_EQ(box.text(), "1");
  type("1", vk::kF9);
  EXPECT_EQ(box.text(), "1");

  int calls = 0;
  box.OnKeyPressEnter = [&](Control* sender) {
    EXPECT_EQ(sender, &box);
    ++calls;
  };
  type("1", vk::kReturn);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(box.text(), "1");
}

TEST_F(ComboBoxIncTest, PlainModeLeavesTheTextAlone) {
  box.IncSearch = false;
  box.setItems({"100,00"});
  type("1a", 'A');
  EXPECT_EQ(box.text(), "1a");
  EXPECT_TRUE(box.TagString.empty());
}

}  // namespace
}  // namespace fondaris::forms
