#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "core/files.h"
#include "documents/offer/temp_folder.h"
#include "tests/support/other_user.h"
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

// A folder like /tmp in which the user "nobody" has put things; needs root to give them away.
class SharedTempFolderTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    const auto other = test_support::otherUser();
    if (!other) GTEST_SKIP() << "giving a file to another user needs root";
    nobody_ = *other;
    touch(secret_);
  }
  // A link or a file of nobody's at `name` in a new shared folder `folder`.
  void plant(const fs::path& folder, const std::string& name, bool link) {
    test_support::makeSharedFolder(folder);
    if (link)
      fs::create_symlink(secret_, folder / name);
    else
      std::ofstream(folder / name) << "fremd";
    ASSERT_TRUE(test_support::giveTo(folder / name, nobody_));
  }
  std::string dataFolder() const { return dir("b") + "/fondaris/"; }

  uid_t nobody_ = 0;
  fs::path secret_ = fs::path(dir("a")) / "geheim.txt";
};

// The offer's name taken by another user, whether the shared folder comes from TMP or is the
// working folder itself: the offer goes to the user's data folder.
TEST_F(SharedTempFolderTest, OfferGoesToTheDataFolderWhenItsNameIsTaken) {
  ::setenv("XDG_DATA_HOME", dir("b").c_str(), 1);
  int n = 0;
  for (const bool link : {true, false}) {
    for (const bool fromVariable : {true, false}) {
      SCOPED_TRACE(std::string(link ? "link" : "file") + (fromVariable ? ", TMP" : ", working"));
      const fs::path shared = dir("geteilt") + std::to_string(n++);
      plant(shared, kOfferFileName, link);
      if (fromVariable) {
        ::setenv("TMP", shared.c_str(), 1);
        core::setWorkingDirectory(dir("programm"));  // missing: as if not writable
      } else {
        ::unsetenv("TMP");
        core::setWorkingDirectory(shared.string());
      }
      EXPECT_EQ(offerFolder(), dataFolder());
      EXPECT_EQ(fs::status(dataFolder()).permissions() & fs::perms::mask, fs::perms::owner_all);
    }
  }
  // The user's own file there is no reason to move.
  const fs::path own = dir("geteilt_eigen");
  test_support::makeSharedFolder(own);
  touch(own / kOfferFileName);
  ::setenv("TMP", own.c_str(), 1);
  EXPECT_EQ(offerFolder(), own.string() + "/");
  EXPECT_EQ(*core::readFileBytes(secret_.string()), "x");
}

TEST_F(SharedTempFolderTest, ErrorLogIsNotAppendedToAnotherUsersFile) {
  const fs::path shared = dir("geteilt");
  plant(shared, kErrorLogName, false);
  appendErrorLog(shared.string(), "Fatal error: Kunde Jörg Müller");
  EXPECT_EQ(*core::readFileBytes((shared / kErrorLogName).string()), "fremd");

  // In the user's own folder a log he was given stays his to write.
  touch(fs::path(dir("a")) / kErrorLogName);
  ASSERT_TRUE(test_support::giveTo(fs::path(dir("a")) / kErrorLogName, nobody_));
  appendErrorLog(dir("a"), "Warning: eins");
  EXPECT_EQ(*core::readFileBytes(dir("a") + "/" + kErrorLogName), "xWarning: eins\r\n");
}

// Root may remove anything in /tmp: the clean-up leaves other users' offers to them.
TEST_F(SharedTempFolderTest, CleanUpInASharedFolderRemovesOnlyTheUsersOwnOffers) {
  const fs::path shared = dir("geteilt");
  plant(shared, "2KDX2009.pdf", false);
  fs::create_symlink(shared / "2KDX2009.pdf", shared / "3KDX2009.pdf");
  ASSERT_TRUE(test_support::giveTo(shared / "3KDX2009.pdf", nobody_));
  touch(shared / "1KDX2009.pdf");
  const auto nextYear = core::encodeDate(2200, 1, 1);
  EXPECT_EQ(removeOutdatedOffers(shared.string(), *nextYear), 1);
  EXPECT_FALSE(fs::exists(shared / "1KDX2009.pdf"));
  EXPECT_TRUE(fs::exists(shared / "2KDX2009.pdf"));
  EXPECT_TRUE(fs::is_symlink(shared / "3KDX2009.pdf"));
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
