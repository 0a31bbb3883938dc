#include "core/files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>
#include <vector>

#include "core/ini_file.h"
#include "tests/support/other_user.h"
#include "tests/support/temp_folder.h"

namespace fondaris::core {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void put(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
  static fs::perms modeOf(const std::string& p) {
    return fs::status(p).permissions() & fs::perms::mask;
  }

  test_support::TempFolder folder_{"fondaris_files"};
  fs::path dir_ = folder_.path();
};

// Runs `body` in a child process as an ordinary user (root gives up its rights there, since
// root may write any folder); true when `body` answered true.
bool asOrdinaryUser(const std::function<bool()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    ::_exit(body() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(FilesTest, LineEndsOfEveryKindAndAByteOrderMark) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\rb\n\nc\r\n\r", {"a", "", "b", "", "c", ""}},
      {"\xEF\xBB\xBF[A]\r\nx=1", {"[A]", "x=1"}},
      // A mark added in front of a mark: all of them go.
      {"\xEF\xBB\xBF\xEF\xBB\xBF[A]\r\nx=1", {"[A]", "x=1"}},
      {"\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBFx=\xC3\xBC", {"x=ü"}},
      // Behind a byte order mark the text is UTF-8.
      {"\xEF\xBB\xBFName=J\xC3\xBCrgen \xE2\x82\xAC\r", {"Name=Jürgen €"}},
      // Without one it is Windows-1252, and a mark further on is text.
      {"Name=J\xFCrgen\r\n\xEF\xBB\xBFx", {"Name=Jürgen", "ï»¿x"}},
      {"", {}},
  };
  for (const auto& c : cases) {
    put("lines.txt", c.bytes);
    EXPECT_EQ(readTextLines(path("lines.txt")), c.lines) << c.bytes;
  }
}

TEST_F(FilesTest, IniFilesReadWithAByteOrderMarkAndOldLineEnds) {
  for (const std::string bytes :
       {"\xEF\xBB\xBF[Anfrage]\r\nBeitrag=100\r\nZW=4\r\n", "[Anfrage]\rBeitrag=100\rZW=4\r",
        "\xEF\xBB\xBF[Anfrage]\nBeitrag=100\rZW=4\r\n"}) {
    put("a.ini", bytes);
    IniFile ini(path("a.ini"));
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString("Anfrage", "Beitrag", ""), "100") << bytes;
    EXPECT_EQ(ini.readInteger("Anfrage", "ZW", 0), 4) << bytes;
  }
  put("b.ini", "\xEF\xBB\xBF\xEF\xBB\xBF[A]\rx=1");
  IniFile marked(path("b.ini"));
  ASSERT_TRUE(marked.load());
  EXPECT_EQ(marked.readString("A", "x", ""), "1");
}

TEST_F(FilesTest, IniTextInMemoryComesBackAsItWasGiven) {
  // Marks belong to files and are dropped when reading one; text in memory is kept whole, so
  // what the program writes it reads back the same.
  const std::string text = "\xEF\xBB\xBF\xEF\xBB\xBF[A]\r\nx=1\r\n";
  IniFile parsed;
  parsed.parse(text);
  EXPECT_EQ(parsed.text(), text);
  IniFile again;
  again.parse(parsed.text());
  EXPECT_EQ(again.readString("A", "x", "-"), parsed.readString("A", "x", "-"));
}

// Offers, forms data, filled forms, the offer PDF, the agent file and the settings are all
// written through these: a new file is its user's alone, whatever the umask lets through.
TEST_F(FilesTest, NewFilesAreReadableByTheirUserAlone) {
  const mode_t previous = ::umask(022);
  const std::vector<std::pair<const char*, std::function<bool(const std::string&)>>> writers = {
      {"whole file", [](const std::string& p) { return writeFileAtomically(p, "x").has_value(); }},
      {"text lines", [](const std::string& p) { return writeTextLines(p, {"a"}).has_value(); }},
      {"INI file",
       [](const std::string& p) {
         IniFile ini(p);
         ini.writeString("S", "K", "V");
         return ini.save().has_value();
       }},
  };
  for (const auto& [what, write] : writers) {
    SCOPED_TRACE(what);
    const std::string file = path(std::string(what) + ".txt");
    ASSERT_TRUE(write(file));
    EXPECT_EQ(modeOf(file), fs::perms::owner_read | fs::perms::owner_write);
  }
  ::umask(previous);
}

TEST_F(FilesTest, ReplacedFileKeepsItsPermissionBits) {
  put("f.ini", "alt");
  fs::permissions(path("f.ini"),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(writeFileAtomically(path("f.ini"), "neu"));
  EXPECT_EQ(*readFileBytes(path("f.ini")), "neu");
  EXPECT_EQ(modeOf(path("f.ini")),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(FilesTest, SymbolicLinksStayAndTheirTargetsAreWritten) {
  fs::create_directories(dir_ / "ziel");
  put("ziel/res.ini", "alt");
  fs::create_symlink("ziel/res.ini", dir_ / "relativ.ini");
  fs::create_symlink(dir_ / "relativ.ini", dir_ / "kette.ini");
  fs::create_symlink(dir_ / "ziel" / "neu.ini", dir_ / "offen.ini");  // target not there yet

  ASSERT_TRUE(writeFileAtomically(path("kette.ini"), "eins"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "kette.ini"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "relativ.ini"));
  EXPECT_EQ(*readFileBytes(path("ziel/res.ini")), "eins");

  ASSERT_TRUE(writeFileAtomically(path("offen.ini"), "zwei"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "offen.ini"));
  EXPECT_EQ(*readFileBytes(path("ziel/neu.ini")), "zwei");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "ziel"), {}), 2);  // no leftovers
}

// A folder like /tmp (sticky, everyone writes) holding what the user "nobody" put there. The
// ownership tricks need root; the tests run as root here and in CI.
class SharedFolderTest : public FilesTest {
 protected:
  void SetUp() override {
    const auto other = test_support::otherUser();
    if (!other) GTEST_SKIP() << "giving a file to another user needs root";
    nobody_ = *other;
    test_support::makeSharedFolder(dir_ / "geteilt");
    put("geheim.txt", "bleibt");
  }
  // A link at `name` to `target`, owned by nobody.
  void plantLink(const std::string& target, const std::string& name) const {
    fs::create_symlink(target, dir_ / name);
    ASSERT_TRUE(test_support::giveTo(dir_ / name, nobody_));
  }
  uid_t ownerOf(const std::string& name) const {
    struct stat st {};
    return ::lstat(path(name).c_str(), &st) == 0 ? st.st_uid : static_cast<uid_t>(-1);
  }

  uid_t nobody_ = 0;
};

TEST_F(SharedFolderTest, AnotherUsersLinkOrFileIsNeitherFollowedNorReplaced) {
  plantLink(path("geheim.txt"), "geteilt/KDX2009.pdf");
  plantLink(path("neu.txt"), "geteilt/offen.pdf");  // would create its target
  put("geteilt/fremd.pdf", "fremd");
  ASSERT_TRUE(test_support::giveTo(dir_ / "geteilt" / "fremd.pdf", nobody_));
  ::chmod(path("geteilt/fremd.pdf").c_str(), 0644);
  // The user's own link in the shared folder leads to the foreign one: refused as well.
  fs::create_symlink(dir_ / "geteilt" / "KDX2009.pdf", dir_ / "geteilt" / "eigen.pdf");

  for (const char* name : {"KDX2009.pdf", "offen.pdf", "fremd.pdf", "eigen.pdf"}) {
    SCOPED_TRACE(name);
    const std::string target = path(std::string("geteilt/") + name);
    const FileResult written = writeFileAtomically(target, "Kundendaten");
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error(), FileError::TakenByOther);
    EXPECT_TRUE(takenByOther(target));
    EXPECT_FALSE(writeTextLines(target, {"Kundendaten"}));
  }
  EXPECT_EQ(*readFileBytes(path("geheim.txt")), "bleibt");
  EXPECT_FALSE(fs::exists(dir_ / "neu.txt"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "geteilt" / "KDX2009.pdf"));
  EXPECT_EQ(ownerOf("geteilt/KDX2009.pdf"), nobody_);
  EXPECT_EQ(*readFileBytes(path("geteilt/fremd.pdf")), "fremd");
  EXPECT_EQ(ownerOf("geteilt/fremd.pdf"), nobody_);
  EXPECT_EQ(modeOf(path("geteilt/fremd.pdf")), fs::perms::owner_read | fs::perms::owner_write |
                                                   fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "geteilt"), {}), 4);  // no leftovers
}

// Outside a shared folder, and for what the user or the folder's owner put there, links are
// followed and files replaced as ever.
TEST_F(SharedFolderTest, OwnLinksAndFoldersKeepTheirWays) {
  fs::create_symlink(dir_ / "geheim.txt", dir_ / "geteilt" / "eigen.pdf");
  plantLink(path("geheim.txt"), "fremd_privat.pdf");  // nobody's link, but in the user's folder
  test_support::makeSharedFolder(dir_ / "seins");
  ASSERT_TRUE(test_support::giveTo(dir_ / "seins", nobody_));
  plantLink(path("geheim.txt"), "seins/KDX2009.pdf");  // made by the folder's owner
  put("fremd.txt", "alt");
  ASSERT_TRUE(test_support::giveTo(dir_ / "fremd.txt", nobody_));

  for (const char* name : {"geteilt/eigen.pdf", "fremd_privat.pdf", "seins/KDX2009.pdf"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(takenByOther(path(name)));
    ASSERT_TRUE(writeFileAtomically(path(name), name));
    EXPECT_TRUE(fs::is_symlink(dir_ / name));
    EXPECT_EQ(*readFileBytes(path("geheim.txt")), name);
  }
  ASSERT_TRUE(writeFileAtomically(path("fremd.txt"), "neu"));
  EXPECT_EQ(ownerOf("fremd.txt"), nobody_);
  EXPECT_TRUE(isSharedFolder(path("geteilt")));
  EXPECT_FALSE(isSharedFolder(dir_.string()));
}

TEST_F(FilesTest, InAFolderThatTakesNoNewFileTheFileIsWrittenInPlace) {
  fs::create_directories(dir_ / "locked");
  fs::permissions(dir_, fs::perms::all);  // reachable for the ordinary user
  put("locked/res.ini", "alter Inhalt, länger als der neue");
  put("locked/ro.ini", "bleibt");
  put("locked/wo.ini", "nur schreibbar");
  fs::permissions(path("locked/res.ini"), fs::perms::all & ~fs::perms::owner_exec &
                                              ~fs::perms::group_exec & ~fs::perms::others_exec);
  fs::permissions(path("locked/ro.ini"), fs::perms::owner_read | fs::perms::others_read);
  fs::permissions(path("locked/wo.ini"), fs::perms::owner_write | fs::perms::others_write);
  // Not writable for its owner either, so that the case also holds when not run as root.
  fs::permissions(dir_ / "locked", fs::perms::owner_read | fs::perms::owner_exec |
                                       fs::perms::others_read | fs::perms::others_exec);

  EXPECT_TRUE(asOrdinaryUser(
      [&] { return writeFileAtomically(path("locked/res.ini"), "neu").has_value(); }));
  EXPECT_EQ(*readFileBytes(path("locked/res.ini")), "neu");
  EXPECT_TRUE(asOrdinaryUser(
      [&] { return writeFileAtomically(path("locked/wo.ini"), "neu").has_value(); }));
  fs::permissions(path("locked/wo.ini"), fs::perms::owner_read, fs::perm_options::add);
  EXPECT_EQ(*readFileBytes(path("locked/wo.ini")), "neu");
  EXPECT_FALSE(
      asOrdinaryUser([&] { return writeFileAtomically(path("locked/ro.ini"), "x").has_value(); }));
  EXPECT_EQ(*readFileBytes(path("locked/ro.ini")), "bleibt");
  EXPECT_FALSE(
      asOrdinaryUser([&] { return writeFileAtomically(path("locked/neu.ini"), "x").has_value(); }));
  EXPECT_FALSE(fs::exists(dir_ / "locked" / "neu.ini"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "locked"), {}), 3);
}

TEST_F(FilesTest, APipeIsWrittenNotReplaced) {
  ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
  // Nobody reading: refused at once instead of waiting.
  EXPECT_FALSE(writeFileAtomically(path("pipe"), "x"));
  const int reader = ::open(path("pipe").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_TRUE(writeFileAtomically(path("pipe"), "Ende=1"));
  char buf[16] = {};
  EXPECT_EQ(::read(reader, buf, sizeof buf), 6);
  ::close(reader);
  EXPECT_EQ(std::string(buf), "Ende=1");
  EXPECT_TRUE(fs::is_fifo(path("pipe")));
}

TEST_F(FilesTest, SameFileComparesIdentityNotNames) {
  put("a", "1");
  put("b", "1");
  fs::create_hard_link(dir_ / "a", dir_ / "hart");
  fs::create_symlink(dir_ / "a", dir_ / "link");
  EXPECT_TRUE(sameFile(path("a"), path("hart")));
  EXPECT_TRUE(sameFile(path("link"), path("a")));
  EXPECT_TRUE(sameFile(path("a"), (dir_ / "." / "a").string()));
  EXPECT_FALSE(sameFile(path("a"), path("b")));
  EXPECT_FALSE(sameFile(path("fehlt"), path("fehlt")));
}

// Callers tell the failures apart by these reasons, no longer by a bare false.
TEST_F(FilesTest, AFailureSaysWhy) {
  put("ro.ini", "bleibt");
  fs::permissions(path("ro.ini"), fs::perms::owner_read);
  fs::create_directory(dir_ / "ordner");
  put("weg.ini", "x");
  struct Case {
    const char* what;
    FileResult result;
    FileError error;
  };
  const Case cases[] = {
      {"write read-only", writeFileAtomically(path("ro.ini"), "x"), FileError::ReadOnly},
      {"write a folder", writeFileAtomically(path("ordner"), "x"), FileError::NotAFile},
      {"write where no folder is", writeFileAtomically(path("fehlt/neu.ini"), "x"),
       FileError::CannotWrite},
      {"lines where no folder is", writeTextLines(path("fehlt/neu.txt"), {"a"}),
       FileError::CannotWrite},
      {"remove a missing file", removeFile(path("nichts.ini")), FileError::Missing},
  };
  for (const Case& c : cases) {
    ASSERT_FALSE(c.result) << c.what;
    EXPECT_EQ(c.result.error(), c.error) << c.what;
  }
  EXPECT_EQ(readFileBytes(path("nichts.ini")).error(), FileError::Missing);
  EXPECT_EQ(readTextLines(path("nichts.txt")).error(), FileError::Missing);
  EXPECT_EQ(*readFileBytes(path("ro.ini")), "bleibt");
  EXPECT_TRUE(removeFile(path("weg.ini")));
  EXPECT_FALSE(fs::exists(dir_ / "weg.ini"));
}

}  // namespace
}  // namespace fondaris::core
