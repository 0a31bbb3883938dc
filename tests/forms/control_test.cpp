#include "forms/controls/control.h"

#include <gtest/gtest.h>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/shell.h"
#include "forms/app.h"
#include "forms/controls/combo_box_inc.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/recording_shell.h"
#include "tests/support/scripted_dialogs.h"

namespace fondaris::forms {
namespace {

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

}  // namespace
}  // namespace fondaris::forms
