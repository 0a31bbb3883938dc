#include <gtest/gtest-spi.h>

#include "tests/support/forms_fixture.h"

namespace fondaris::forms::testing {
namespace {

class StrictFixtureTest : public FormsTest {
 public:
  static inline StrictFixtureTest* self = nullptr;
  using FormsTest::checkDialogs;
};

TEST_F(StrictFixtureTest, DialogsNobodyCheckedAndAnswersNobodyUsedFail) {
  self = this;
  dialogs.message("Bitte prüfen!", "Daten");
  EXPECT_NONFATAL_FAILURE(self->checkDialogs(),
                          "Dialog nicht geprüft: message Daten: Bitte prüfen!");
  dialogs.clear();
  dialogs.answerYes();
  EXPECT_NONFATAL_FAILURE(self->checkDialogs(), "Vorbereitete Antwort nicht gebraucht: yes");
  dialogs.clear();
  EXPECT_FALSE(dialogs.askYesNo("Daten speichern?", "Beenden"));
  EXPECT_EQ(dialogs.shown().size(), 1u);
  EXPECT_NONFATAL_FAILURE(self->checkDialogs(),
                          "Dialog ohne vorbereitete Antwort: question Beenden: Daten speichern?");
  dialogs.clear();
}

TEST(ProcessSettingsGuardTest, RestoresFolderNotationHintAndEnvironment) {
  const ProcessSettingsGuard outer;
  const std::string folder = core::workingDirectory();
  const std::filesystem::path current = std::filesystem::current_path();
  const bool hint = core::regionalSettingsHint();
  const std::string decimal = core::notation().decimalSeparator;
  ::setenv("USERNAME", "vorher", 1);
  ::unsetenv("XDG_DOCUMENTS_DIR");
  {
    ProcessSettingsGuard guard;
    core::setWorkingDirectory("/");
    std::filesystem::current_path("/");
    core::regionalSettingsHint() = !hint;
    core::notation().decimalSeparator = "#";
    ::setenv("USERNAME", "nachher", 1);
    ::setenv("XDG_DOCUMENTS_DIR", "/", 1);
  }
  EXPECT_EQ(core::workingDirectory(), folder);
  EXPECT_EQ(std::filesystem::current_path(), current);
  EXPECT_EQ(core::regionalSettingsHint(), hint);
  EXPECT_EQ(core::notation().decimalSeparator, decimal);
  EXPECT_STREQ(std::getenv("USERNAME"), "vorher");
  EXPECT_EQ(std::getenv("XDG_DOCUMENTS_DIR"), nullptr);
}

}  // namespace
}  // namespace fondaris::forms::testing
