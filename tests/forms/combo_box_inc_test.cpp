#include "forms/controls/combo_box_inc.h"

#include <gtest/gtest.h>

#include "core/clock.h"
#include "core/cp1252.h"
#include "core/dialogs.h"
#include "core/shell.h"
#include "program/app.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/recording_shell.h"
#include "tests/support/scripted_dialogs.h"

namespace fondaris::forms {
namespace {

using program::App;
using program::Services;

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

  test_support::ScriptedDialogs dialogs;
  test_support::FixedClock clock{2026, 12, 5};
  test_support::RecordingShell shell;
  App app{Services{dialogs, clock, shell}};
  Form form{app, "TForm", "frm"};
  ComboBoxInc box{form, "cb"};
};

TEST_F(ComboBoxIncTest, NumericModeRemovesARefusedCharacterWhereItWasTyped) {
  box.Numeric = true;
  box.IncSearch = false;
  constexpr bool kShift = true, kCtrl = true;
  struct Case {
    const char* text;  // after the key went down
    int caret;
    int key;
    bool shift, controlOrAlt;
    const char* expected;
    int expectedCaret;
    const char* typed = "";  // as the window system reports it; empty: not reported
  } cases[] = {
      {"12a", 3, 'A', false, false, "12", 2},
      {"1a2", 2, 'A', false, false, "12", 1},        // typed in the middle
      {"1.", 2, vk::kPeriod, false, false, "1", 1},  // the point key is no decimal separator
      {"1-", 2, 189, false, false, "1", 1},
      {"12!", 3, '1', kShift, false, "12", 2},  // Shift+1 types a sign
      {"1,", 2, vk::kComma, false, false, "1,", 2},
      {"1,", 2, vk::kDecimal, false, false, "1,", 2},
      {"12", 2, '2', false, false, "12", 2},
      {"12", 2, 98, false, false, "12", 2},  // digit of the numeric pad
      {"12", 2, vk::kBack, false, false, "12", 2},
      {"12", 2, vk::kDelete, false, false, "12", 2},
      {"12", 2, vk::kLeft, false, false, "12", 2},
      // Keys that type nothing never change the text, wherever the caret stands.
      {"74,00", 5, vk::kShift, false, false, "74,00", 5},
      {"74,00", 2, vk::kShift, kShift, false, "74,00", 2},
      {"74,00", 5, vk::kTab, kShift, false, "74,00", 5},
      {"74,00", 5, vk::kControl, false, false, "74,00", 5},
      {"74,00", 5, 18, false, false, "74,00", 5},   // Alt
      {"74,00", 5, 'C', false, kCtrl, "74,00", 5},  // Ctrl+C
      {"74,00", 5, 'W', false, kCtrl, "74,00", 5},  // Alt+W, an accelerator
      {"74,00", 5, 112, false, false, "74,00", 5},  // F1
      {"74,00", 5, 27, false, false, "74,00", 5},   // Escape
      {"", 0, 'A', false, false, "", 0},
      // Shift+comma types a semicolon, whatever layout told the key code.
      {"1;", 2, vk::kComma, kShift, false, "1", 1},
      {"1;", 2, vk::kComma, kShift, false, "1", 1, ";"},
      {"1;", 2, 0, kShift, false, "1", 1, ";"},
      // Keys without a code of their own: the character they typed decides.
      {"1ä", 2, 0, false, false, "1", 1, "ä"},
      {"1ß", 2, 0, false, false, "1", 1, "ß"},
      {"1+", 2, 0, false, false, "1", 1, "+"},
      {"1@", 2, 'Q', false, kCtrl, "1", 1, "@"},  // AltGr reported as Ctrl+Alt
      {"1²", 2, 0, false, false, "1", 1, "²"},
      {"1.", 2, vk::kDecimal, false, false, "1", 1, "."},  // a keypad that types a point
      {"1,", 2, vk::kDecimal, false, false, "1,", 2, ","},
      {"1,", 2, vk::kComma, false, false, "1,", 2, ","},
      {"15", 2, 0, false, false, "15", 2, "5"},
      // What the key typed is not what stands there: it was not taken, nothing goes.
      {"1ä", 2, 'W', false, kCtrl, "1ä", 2, "w"},
      // Control characters type nothing.
      {"1ä", 2, 'C', false, kCtrl, "1ä", 2, "\x03"},
      {"1ä", 2, vk::kBack, false, false, "1ä", 2, "\b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " key " + std::to_string(c.key) + " typed " + c.typed);
    box.setText(c.text);
    box.setSelection(c.caret, 0);
    box.keyUp(c.key, c.shift, c.controlOrAlt, c.typed);
    EXPECT_EQ(box.text(), c.expected);
    EXPECT_EQ(box.selStart(), c.expectedCaret);
  }
}

// Keys go down and up in any order while typing fast: every character typed since the last
// released key obeys numeric mode, not only the one before the caret. What the program wrote
// (a formatted amount's points) and what a shortcut pasted stay.
TEST_F(ComboBoxIncTest, NumericModeHoldsForEveryCharacterTypedDuringKeyRollover) {
  box.IncSearch = false;
  struct Step {
    const char* down;  // the text after a key went down; nullptr: a key came up
    int key = 0;
    const char* typed = "";
    bool controlOrAlt = false;
  };
  struct Case {
    const char* what;
    bool numeric;
    const char* start;
    std::vector<Step> steps;
    const char* expected;
  } cases[] = {
      {"a down, 5 down, a up, 5 up",
       true,
       "3",
       {{"3a"}, {"3a5"}, {nullptr, 'A', "a"}, {nullptr, '5', "5"}},
       "35"},
      {"5 down, a down, 5 up, a up",
       true,
       "3",
       {{"35"}, {"35a"}, {nullptr, '5', "5"}, {nullptr, 'A', "a"}},
       "35"},
      {"an umlaut and a point in one roll",
       true,
       "1",
       {{"1ä"}, {"1ä."}, {"1ä.2"}, {nullptr, 0, "ä"}, {nullptr, vk::kPeriod, "."}},
       "12"},
      {"plain mode keeps letters",
       false,
       "3",
       {{"3a"}, {"3a5"}, {nullptr, 'A', "a"}, {nullptr, '5', "5"}},
       "3a5"},
      {"a formatted amount keeps its points",
       true,
       "2.500,00",
       {{"2.500,001"}, {nullptr, '1', "1"}},
       "2.500,001"},
      {"a paste stays as it is",
       true,
       "",
       {{"1.000"}, {nullptr, 'V', "\x16", true}, {"1.0005"}, {nullptr, '5', "5"}},
       "1.0005"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    box.Numeric = c.numeric;
    box.setText(c.start);
    for (const Step& step : c.steps) {
      if (step.down) {
        box.userSetText(step.down);
        box.setSelection(static_cast<int>(core::utf8Length(step.down)), 0);
      } else {
        box.keyUp(step.key, false, step.controlOrAlt, step.typed);
      }
    }
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

// Ctrl+A selects the whole code so that typing replaces it; releasing A and Ctrl must leave
// that selection as it is, whether or not the box searches.
TEST_F(ComboBoxIncTest, KeysThatChangeNothingKeepTheSelection) {
  box.Numeric = true;
  for (bool search : {false, true}) {
    SCOPED_TRACE(search ? "searching" : "not searching");
    box.IncSearch = search;
    for (int key : {int('A'), vk::kControl}) {
      box.setText("99999999");
      box.setSelection(0, 8);
      box.keyUp(key, false, key == 'A');
      EXPECT_EQ(box.text(), "99999999");
      EXPECT_EQ(box.selStart(), 0);
      EXPECT_EQ(box.selLength(), 8);
    }
  }
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
