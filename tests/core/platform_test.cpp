// What every system must do alike: the POSIX and the Windows build run these.
#include "core/platform/platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/files.h"
#include "core/ini_file.h"
#include "core/settings.h"
#include "tests/support/process_settings.h"
#include "tests/support/system.h"
#include "tests/support/temp_folder.h"

namespace fondaris::core {
namespace {

namespace fs = std::filesystem;

class PlatformTest : public ::testing::Test {
 protected:
  // A UTF-8 name in the folder, as the program holds names.
  std::string name(const std::string& utf8) const {
    return joinPath(platform::utf8Path(folder_.path()), utf8);
  }
  // What the folder holds, by the system's own names: tells a wrongly converted name.
  std::vector<fs::path> entries() const {
    std::vector<fs::path> out;
    for (const auto& entry : fs::directory_iterator(folder_.path()))
      out.push_back(entry.path().filename());
    return out;
  }

  test_support::TempFolder folder_{"fondaris_platform"};
};

TEST_F(PlatformTest, NamesOutsideAsciiReachTheFileSystemAsTheyAre) {
  const std::string request = name("Anfrage für Jürgen Weiß.ini");
  IniFile out(request);
  out.writeString("Anfrage", "Name", "Jürgen");
  ASSERT_TRUE(out.save());
  EXPECT_TRUE(fileExists(request));
  EXPECT_TRUE(sameFile(request, request));
  EXPECT_EQ(entries(), std::vector<fs::path>{fs::path(u8"Anfrage für Jürgen Weiß.ini")});

  IniFile in(request);
  ASSERT_TRUE(in.load());
  EXPECT_EQ(in.readString("Anfrage", "Name", ""), "Jürgen");
  ASSERT_TRUE(removeFile(request));
  EXPECT_TRUE(entries().empty());
}

TEST_F(PlatformTest, ReplacingLeavesTheNewContentAndNoTemporaryFile) {
  const std::string result = name("Ergebnis Größe.ini");
  ASSERT_TRUE(writeFileAtomically(result, "alt\r\n"));
  ASSERT_TRUE(writeFileAtomically(result, "neu\r\n"));
  EXPECT_EQ(readFileBytes(result).value_or(""), "neu\r\n");
  EXPECT_EQ(entries(), std::vector<fs::path>{fs::path(u8"Ergebnis Größe.ini")});
}

TEST_F(PlatformTest, WhatMayNotBeWrittenStaysUntouched) {
  const std::string locked = name("gesperrt.ini");
  ASSERT_TRUE(writeFileAtomically(locked, "alt"));
  fs::permissions(platform::nativePath(locked),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_EQ(writeFileAtomically(locked, "neu").error(), FileError::ReadOnly);
  EXPECT_EQ(readFileBytes(locked).value_or(""), "alt");
  fs::permissions(platform::nativePath(locked), fs::perms::owner_write, fs::perm_options::add);

  fs::create_directory(platform::nativePath(name("Ordner")));
  EXPECT_EQ(writeFileAtomically(name("Ordner"), "neu").error(), FileError::NotAFile);
  EXPECT_EQ(readFileBytes(name("fehlt.ini")).error(), FileError::Missing);
}

TEST_F(PlatformTest, SameFileTellsFilesApartByIdentity) {
  const std::string a = name("ä.ini"), b = name("b.ini");
  ASSERT_TRUE(writeFileAtomically(a, "x"));
  ASSERT_TRUE(writeFileAtomically(b, "x"));
  EXPECT_TRUE(sameFile(a, joinPath(joinPath(platform::utf8Path(folder_.path()), "."), "ä.ini")));
  EXPECT_FALSE(sameFile(a, b));
  EXPECT_FALSE(sameFile(a, name("fehlt.ini")));
}

TEST_F(PlatformTest, TheProgramKnowsItsOwnFileAndFolder) {
  const std::string exe = platform::executablePath();
  ASSERT_FALSE(exe.empty());
  EXPECT_TRUE(fileExists(exe));
  EXPECT_TRUE(sameFile(programDirectory(), joinPath(FONDARIS_BUILD_DIR, "tests")));
  EXPECT_TRUE(platform::mayWriteFolder(platform::utf8Path(folder_.path())));
  EXPECT_FALSE(platform::mayWriteFolder(name("fehlt")));
}

TEST_F(PlatformTest, UserDataFolderIsThisProgramsFolderInTheSystemsPlaceForIt) {
  const test_support::ProcessSettingsGuard guard;
  // Each system reads its own variable: XDG_DATA_HOME on POSIX systems, APPDATA on Windows.
  const std::string base = name("Benutzerdaten");
  test_support::setVariable("XDG_DATA_HOME", base);
  test_support::setVariable("APPDATA", base);
  EXPECT_EQ(userDataFolder(), joinPath(base, "fondaris"));
}

}  // namespace
}  // namespace fondaris::core
