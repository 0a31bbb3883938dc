#include "core/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "core/files.h"
#include "tests/support/process_settings.h"
#include "tests/support/recording_shell.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/system.h"
#include "tests/support/temp_folder.h"

namespace fondaris::core {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setWorkingDirectory(dir);
    test_support::setVariable("XDG_DATA_HOME", joinPath(dir, "daten"));
  }
  test_support::ProcessSettingsGuard guard_;
  test_support::TempFolder folder_{"fondaris_settings"};
  std::string dir = folder_.str();
  test_support::ScriptedDialogs dialogs;
  test_support::RecordingShell shell;
};

TEST_F(SettingsTest, TwoUsersKeepTheirOwnWindowPlaces) {
  test_support::setVariable("USERNAME", "anna");
  EXPECT_TRUE(savePosition("frmVermittler", 10, 20));
  EXPECT_TRUE(saveSize("frmVermittler", 300, 400));
  test_support::setVariable("USERNAME", "bernd");
  EXPECT_EQ(loadPosition("frmVermittler").top, kNotStored);
  EXPECT_TRUE(savePosition("frmVermittler", 50, 60));

  test_support::setVariable("USERNAME", "anna");
  EXPECT_EQ(loadPosition("frmVermittler").top, 10);
  EXPECT_EQ(loadPosition("frmVermittler").left, 20);
  EXPECT_EQ(loadSize("frmVermittler").height, 300);
  EXPECT_EQ(loadSize("frmVermittler").width, 400);
  test_support::setVariable("USERNAME", "bernd");
  EXPECT_EQ(loadPosition("frmVermittler").left, 60);
  EXPECT_EQ(loadSize("frmVermittler").width, kNotStored);

  const auto lines = readTextLines(joinPath(dir, "ZKDX.INI")).value();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "[frmVermittler-anna]"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "[frmVermittler-bernd]"), lines.end());
}

TEST_F(SettingsTest, UserFallsBackToUserThenNothing) {
  test_support::setVariable("USERNAME", std::nullopt);
  const char* user = std::getenv("USER");
  const std::string saved = user ? user : "";
  test_support::setVariable("USER", "carla");
  EXPECT_EQ(windowSettingsSection("frmStartmaske"), "frmStartmaske-carla");
  test_support::setVariable("USER", std::nullopt);
  EXPECT_EQ(windowSettingsSection("frmStartmaske"), "frmStartmaske-");
  if (user) test_support::setVariable("USER", saved);
}

TEST_F(SettingsTest, AFailedWriteIsReported) {
  setWorkingDirectory(joinPath(dir, "fehlt"));
  ASSERT_TRUE(writeFileAtomically(joinPath(dir, "datei"), "x"));
  test_support::setVariable("XDG_DATA_HOME",
                            joinPath(dir, "datei"));  // no folder can be made there
  EXPECT_FALSE(savePosition("frmStartmaske", 7, 8));
  EXPECT_FALSE(saveSize("frmStartmaske", 7, 8));
  EXPECT_EQ(loadPosition("frmStartmaske").top, kNotStored);
}

// An installed program folder is not writable: the user's own files go to his data folder.
// A folder that does not exist stands in for it here, since tests may run as root.
TEST_F(SettingsTest, UserFilesGoToTheDataFolderWhenTheWorkingFolderIsNotWritable) {
  EXPECT_EQ(userFilesFolder(), dir);

  const std::string program = joinPath(dir, "programm");
  setWorkingDirectory(program);
  const std::string data = joinPath(joinPath(dir, "daten"), "fondaris");
  EXPECT_EQ(userFilesFolder(), data);
  EXPECT_TRUE(std::filesystem::is_directory(data));
  EXPECT_EQ(std::filesystem::status(data).permissions() & std::filesystem::perms::mask,
            std::filesystem::perms::owner_all)
      << "the user's offers and forms data go there";
  EXPECT_TRUE(savePosition("frmStartmaske", 7, 8));
  EXPECT_EQ(windowSettingsPath(), joinPath(data, "ZKDX.INI"));
  EXPECT_TRUE(fileExists(joinPath(data, "ZKDX.INI")));
  EXPECT_EQ(loadPosition("frmStartmaske").left, 8);
  EXPECT_EQ(workingDirectory(), program) << "product data are still read from there";

  const char* home = std::getenv("HOME");
  const std::string savedHome = home ? home : "";
  test_support::setVariable("HOME", joinPath(dir, "heim"));
  for (const char* xdg : {"", "relativ"}) {
    test_support::setVariable("XDG_DATA_HOME", xdg);
    EXPECT_EQ(userFilesFolder(), joinPath(dir, "heim/.local/share/fondaris")) << xdg;
  }
  test_support::setVariable("HOME", std::nullopt);
  EXPECT_EQ(userFilesFolder(), program) << "nowhere else to go";
  if (home) test_support::setVariable("HOME", savedHome);
}

TEST_F(SettingsTest, PersonalFolderGetsOneTrailingSeparator) {
  test_support::setVariable("XDG_DOCUMENTS_DIR", dir);
  EXPECT_EQ(findPersonalFolder(), dir + "/");
  test_support::setVariable("XDG_DOCUMENTS_DIR", (dir + "/"));
  EXPECT_EQ(findPersonalFolder(), dir + "/");
  test_support::setVariable("XDG_DOCUMENTS_DIR", std::nullopt);
}

TEST_F(SettingsTest, VersionRecord) {
  EXPECT_EQ(versionString("FileVersion"), "1.0.0.1");
  EXPECT_FALSE(versionString("Comments").has_value());
  EXPECT_FALSE(versionString(std::string(75, 'K')).has_value());
}

TEST_F(SettingsTest, OpenFileReportsMissingFilesAndMissingPrograms) {
  const std::string missing = joinPath(dir, "fehlt.pdf");
  openFile(missing, dialogs, shell);
  EXPECT_TRUE(shell.opened.empty());

  const std::string present = joinPath(dir, "da.pdf");
  ASSERT_TRUE(writeFileAtomically(present, "%PDF"));
  openFile(present, dialogs, shell);
  shell.answer = OpenResult::NoAssociation;
  openFile(present, dialogs, shell);
  EXPECT_EQ(shell.opened, (std::vector<std::string>{present, present}));
  EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{
                                    "Fehler: Die Datei '" + missing + "' nicht gefunden!",
                                    "Fehler: Keine Verknüpfung für '" + present + "' gefunden!"}));
}

TEST_F(SettingsTest, ProductDocuments) {
  const std::string param = std::string(FONDARIS_BUILD_DIR) + "/Param.dat";
  std::filesystem::copy_file(param, joinPath(dir, "Param.dat"));
  EXPECT_EQ(openProductDocument(dir, 20, dialogs, shell), 1);
  EXPECT_EQ(openProductDocument(dir, -1, dialogs, shell), 1);
  EXPECT_TRUE(dialogs.shown().empty());

  // Document 0 of the sample data is "Info_Fonds_1.pdf".
  openProductDocument(dir, 0, dialogs, shell);
  ASSERT_TRUE(writeFileAtomically(joinPath(dir, "Info_Fonds_1.pdf"), "%PDF"));
  openProductDocument(dir, 0, dialogs, shell);
  EXPECT_EQ(dialogs.messages(),
            (std::vector<std::string>{"Fehler: Die Datei '" + joinPath(dir, "Info_Fonds_1.pdf") +
                                      "' nicht gefunden!"}));
  EXPECT_EQ(shell.opened, (std::vector<std::string>{joinPath(dir, "Info_Fonds_1.pdf")}));
}

}  // namespace
}  // namespace fondaris::core
