#include "forms/controls/control.h"

#include <gtest/gtest.h>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/shell.h"
#include "forms/app.h"
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
