#include "forms/controls/control.h"

#include <gtest/gtest.h>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/shell.h"
#include "forms/controls/combo_box_inc.h"
#include "forms/controls/control_values.h"
#include "program/app.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/recording_shell.h"
#include "tests/support/scripted_dialogs.h"

namespace fondaris::forms {
namespace {

using program::App;
using program::Services;

class ControlTest : public ::testing::Test {
 protected:
  test_support::ScriptedDialogs dialogs;
  test_support::FixedClock clock{2026, 12, 5};
  test_support::RecordingShell shell;
  App app{Services{dialogs, clock, shell}};
  Form form{app, "TForm", "frm"};
};

TEST_F(ControlTest, TypedTextKeepsTheCharacterLimit) {
  Edit ed{form, "ed"};
  ed.setMaxLength(5);
  int changes = 0;
  ed.onChange = [&](Control*) { ++changes; };
  ed.userSetText("Größenwahn");
  EXPECT_EQ(ed.text(), "Größe");
  EXPECT_EQ(changes, 1);
}

// The limit holds however the text arrives: typed, set by a handler or loaded from a file, in
// edits and in editable lists alike.
TEST_F(ControlTest, EveryWayInKeepsTheCharacterLimit) {
  Edit ed{form, "ed"};
  ComboBox list{form, "list"};
  ComboBoxInc code{form, "code"};
  for (Control* c : std::initializer_list<Control*>{&ed, &list, &code}) {
    SCOPED_TRACE(c->name());
    c->setMaxLength(8);
    c->setText("370400440532");
    EXPECT_EQ(c->text(), "37040044");
    c->userSetText("9999999937040044");
    EXPECT_EQ(c->text(), "99999999");
  }
}

// An account number (mask of digit places) takes digits only as typed; a text from a file
// stays as it came, so that its checks can name it.
TEST_F(ControlTest, DigitMaskLetsOnlyDigitsIn) {
  Edit account{form, "account"};
  account.setMask("9999999999;0;_");
  account.setMaxLength(10);
  ComboBoxInc code{form, "code"};
  code.setMask("99999999;0;_");
  code.setMaxLength(8);
  EXPECT_TRUE(account.digitsOnly());
  EXPECT_TRUE(code.digitsOnly());
  const struct {
    const char* typed;
    const char* kept;
  } cases[] = {
      {"12ab34 567", "1234567"},
      {"0532013000", "0532013000"},
      {"DE 0532-0130-0099", "0532013000"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    account.userSetText(c.typed);
    EXPECT_EQ(account.text(), c.kept);
  }
  code.userSetText("3704,0044");
  EXPECT_EQ(code.text(), "37040044");
  account.setText("12ab34");
  EXPECT_EQ(account.text(), "12ab34");

  Edit name{form, "name"};
  EXPECT_FALSE(name.digitsOnly());
  MaskEdit date{form, "date"};
  date.setMask("!99/99/9999;1;_");
  EXPECT_FALSE(date.digitsOnly());
}

TEST_F(ControlTest, RadioButtonsClearOnlyTheirOwnGroup) {
  GroupBox box{form, "box"};
  RadioButton a{form, "a", &box}, b{form, "b", &box}, loose{form, "loose"};
  loose.setChecked(true);
  a.setChecked(true);
  b.userClick();
  EXPECT_FALSE(a.checked());
  EXPECT_TRUE(b.checked());
  EXPECT_TRUE(loose.checked());
  box.setVisible(false);
  EXPECT_FALSE(b.showing());
}

TEST_F(ControlTest, DropDownListsTakeOnlyTheirItems) {
  ComboBox list{form, "list"};
  list.setDropDownList(true);
  list.setItems({"Herr", "Frau"});
  list.setText("frau");
  EXPECT_EQ(list.itemIndex(), 1);
  EXPECT_EQ(list.text(), "Frau");
  list.setText("Divers");
  EXPECT_EQ(list.itemIndex(), -1);
  EXPECT_EQ(list.text(), "");
}

// Lists given the same items share them; adding to one, or putting back captured values, leaves
// the others as they were.
TEST_F(ControlTest, SharedItemListsChangeOnlyWhereChanged) {
  ComboBox first{form, "first"}, second{form, "second"};
  const auto amounts =
      std::make_shared<const std::vector<std::string>>(std::vector<std::string>{"0,00", "480,00"});
  first.shareItems(amounts);
  second.shareItems(amounts);
  first.addItem("500,00");
  EXPECT_EQ(first.items(), (std::vector<std::string>{"0,00", "480,00", "500,00"}));
  EXPECT_EQ(second.items(), (std::vector<std::string>{"0,00", "480,00"}));
  EXPECT_EQ(*amounts, (std::vector<std::string>{"0,00", "480,00"}));

  second.setItemIndex(1);
  const ControlValues saved = ControlValues::capture({&first, &second});
  second.addItem("600,00");
  second.clearItems();
  EXPECT_EQ(second.itemCount(), 0);
  saved.restore();
  EXPECT_EQ(second.items(), (std::vector<std::string>{"0,00", "480,00"}));
  EXPECT_EQ(second.text(), "480,00");
  EXPECT_EQ(first.itemCount(), 3);
}

// An amount field whose exit check corrects it, as the contract form's fields do, a second
// field and an action button that works on the amount.
class ActionTest : public ControlTest {
 public:
  enum class ExitEnds { Corrected, Refused, FocusElsewhere };

 protected:
  explicit ActionTest(ExitEnds ends = ExitEnds::Corrected) {
    amount.Numeric = true;
    amount.onExit = [this, ends](Control*) {
      if (amount.text() == "6000") amount.setText("5000");
      log += "exit " + amount.text() + ";";
      if (ends == ExitEnds::Refused) form.focus(&amount);
      if (ends == ExitEnds::FocusElsewhere) form.focus(&other);
    };
    go.onClick = [this](Control*) { log += "go " + amount.text() + ";"; };
  }

  ComboBoxInc amount{form, "amount"};
  Edit other{form, "other"};
  Button go{form, "go"};
  std::string log;
};

constexpr int kAlt = 18;

// Pressing the button by its accelerator leaves the focus in the field; the action must still
// see the checked value, and the check runs once until the field is edited again.
TEST_F(ActionTest, ButtonLetsTheFocusedFieldRunItsExitFirst) {
  form.focus(&amount);
  amount.userSetText("6000");
  go.userClick();
  EXPECT_EQ(log, "exit 5000;go 5000;");
  EXPECT_EQ(form.focused(), &amount);

  // Releasing Alt of the accelerator changes nothing; neither does pressing the button again.
  amount.keyUp(kAlt, false, true);
  go.userClick();
  form.focus(&other);
  EXPECT_EQ(log, "exit 5000;go 5000;go 5000;");

  // Edited again, the field is checked again: before the action and not once more afterwards.
  form.focus(&amount);
  amount.userSetText("6000");
  go.userClick();
  form.leaveFocus();
  EXPECT_EQ(log, "exit 5000;go 5000;go 5000;exit 5000;go 5000;");
}

TEST_F(ActionTest, ButtonThatTookTheFocusDoesNotCheckTwice) {
  form.focus(&amount);
  amount.userSetText("6000");
  form.focus(&go);  // the mouse moves the focus to the button before it clicks
  go.userClick();
  EXPECT_EQ(log, "exit 5000;go 5000;");
}

// How the exit check ends decides whether the action runs: a check that refused its field or
// sent the user to another one has said why, and the action waits for the next press.
struct ExitCase {
  const char* name;
  ActionTest::ExitEnds ends;
  const char* log;
  const char* focusAfter;
};

void PrintTo(const ExitCase& c, std::ostream* os) {
  *os << c.name;
}

class ActionAfterExit : public ActionTest, public ::testing::WithParamInterface<ExitCase> {
 protected:
  ActionAfterExit() : ActionTest(GetParam().ends) {}
};

TEST_P(ActionAfterExit, RunsOnlyWhenTheExitLetsTheFocusGo) {
  form.focus(&amount);
  amount.userSetText("6000");
  go.userClick();
  EXPECT_EQ(log, GetParam().log);
  ASSERT_NE(form.focused(), nullptr);
  EXPECT_EQ(form.focused()->name(), GetParam().focusAfter);
}

INSTANTIATE_TEST_SUITE_P(
    ExitEnds, ActionAfterExit,
    ::testing::Values(
        ExitCase{"Corrected", ActionTest::ExitEnds::Corrected, "exit 5000;go 5000;", "amount"},
        ExitCase{"Refused", ActionTest::ExitEnds::Refused, "exit 5000;", "amount"},
        ExitCase{"FocusElsewhere", ActionTest::ExitEnds::FocusElsewhere, "exit 5000;", "other"}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace fondaris::forms
