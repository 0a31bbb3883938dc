#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "core/files.h"
#include "documents/offer/temp_folder.h"
#include "tests/support/process_settings.h"
#include "tests/support/temp_folder.h"

namespace fondaris::documents {
namespace {

namespace fs = std::filesystem;

// Own folders and environment per test; the guard restores TMP, TEMP, TMPDIR and the rest.
class TempFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"TMP", "TEMP", "TMPDIR"}) ::unsetenv(name);
    fs::create_directories(root_.path() / "a");
    fs::create_directories(root_.path() / "b");
  }
  std::string dir(const char* name) const { return root_.file(name); }
  void touch(const fs::path& path) { std::ofstream(path) << "x"; }

  test_support::ProcessSettingsGuard guard_;
  test_support::TempFolder root_{"fondaris_tmp"};
};

TEST_F(TempFolderTest, FirstUsableCandidateWins) {
  ::setenv("TMP", (dir("a")).c_str(), 1);
  ::setenv("TEMP", (dir("b")).c_str(), 1);
  EXPECT_EQ(temporaryFolder(), dir("a") + "/");

  ::setenv("TMP", (dir("missing")).c_str(), 1);
  EXPECT_EQ(temporaryFolder(), dir("b") + "/");

  ::unsetenv("TEMP");
  ::setenv("TMPDIR", (dir("a") + "/").c_str(), 1);
  EXPECT_EQ(temporaryFolder(), dir("a") + "/");

  // Without any variable: the working folder.
  ::unsetenv("TMP");
  ::unsetenv("TMPDIR");
  std::string expected = core::workingDirectory();
  if (expected.back() != '/') expected += '/';
  EXPECT_EQ(temporaryFolder(), expected);
  EXPECT_TRUE(fs::is_empty(dir("a")));  // the probe files are gone
}

// An installed program folder the user may not write (a missing folder stands in for it, as
// tests may run as root): the offer and its error log go to the user's data folder.
TEST_F(TempFolderTest, UnwritableWorkingFolderGivesTheUsersDataFolder) {
  core::setWorkingDirectory(dir("programm"));
  ::setenv("XDG_DATA_HOME", dir("b").c_str(), 1);

  EXPECT_EQ(temporaryFolder(), dir("b") + "/fondaris/");
  appendErrorLog(temporaryFolder(), "Fatal error: Seite fehlt");
  EXPECT_TRUE(fs::exists(fs::path(dir("b")) / "fondaris" / kErrorLogName));
}

TEST_F(TempFolderTest, OutdatedOffersGoWholeDateCompared) {
  const fs::path folder = dir("a");
  touch(folder / "KDX2009.pdf");
  touch(folder / "1KDX2009.pdf");
  touch(folder / "KDX2009.ERR");
  touch(folder / "KDX2009.pdf.bak");
  fs::create_directories(folder / "altKDX2009.pdf");

  const auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  const int year = local.tm_year + 1900, month = local.tm_mon + 1, day = local.tm_mday;

  // Made today: kept. A clock standing before the file's day keeps it too.
  EXPECT_EQ(removeOutdatedOffers(folder.string(), *core::encodeDate(year, month, day)), 0);
  EXPECT_EQ(removeOutdatedOffers(folder.string(), *core::encodeDate(year - 1, 12, 31)), 0);
  EXPECT_TRUE(fs::exists(folder / "KDX2009.pdf"));

  // On 1 January of next year neither the day nor the month is later than the file's, but the
  // year is: the files are outdated.
  EXPECT_EQ(removeOutdatedOffers(folder.string(), *core::encodeDate(year + 1, 1, 1)), 2);
  EXPECT_FALSE(fs::exists(folder / "KDX2009.pdf"));
  EXPECT_FALSE(fs::exists(folder / "1KDX2009.pdf"));
  EXPECT_TRUE(fs::exists(folder / "KDX2009.ERR"));
  EXPECT_TRUE(fs::exists(folder / "KDX2009.pdf.bak"));
  EXPECT_TRUE(fs::is_directory(folder / "altKDX2009.pdf"));

  EXPECT_EQ(removeOutdatedOffers(dir("missing"), *core::encodeDate(year + 1, 1, 1)), 0);
}

TEST_F(TempFolderTest, ErrorLogIsTheUsersAloneAndFollowsNoLink) {
  const mode_t previous = ::umask(022);
  appendErrorLog(dir("a"), "Fatal error: Seite fehlt");
  EXPECT_EQ(fs::status(fs::path(dir("a")) / kErrorLogName).permissions() & fs::perms::mask,
            fs::perms::owner_read | fs::perms::owner_write);
  ::umask(previous);

  // In a folder others may write, a link planted at the log's fixed name is not written through.
  const fs::path target = fs::path(dir("b")) / "fremd.txt";
  touch(target);
  fs::create_symlink(target, fs::path(dir("b")) / kErrorLogName);
  appendErrorLog(dir("b"), "Fatal error: Seite fehlt");
  EXPECT_EQ(*core::readFileBytes(target.string()), "x");
}

TEST_F(TempFolderTest, ErrorLogAppendsWindowsLines) {
  appendErrorLog(dir("a"), "Warning: erste");
  appendErrorLog(dir("a") + "/", "Fatal error: Prüfung");
  const auto bytes = core::readFileBytes(dir("a") + "/KDX2009.ERR");
  ASSERT_TRUE(bytes);
  EXPECT_EQ(*bytes,
            "Warning: erste\r\nFatal error: Pr\xFC"
            "fung\r\n");
  appendErrorLog(dir("missing"), "nowhere");  // silently nothing
  EXPECT_FALSE(fs::exists(dir("missing")));
}

}  // namespace
}  // namespace fondaris::documents
