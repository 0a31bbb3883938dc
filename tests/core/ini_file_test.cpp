#include "core/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/files.h"
#include "tests/support/process_settings.h"
#include "tests/support/temp_folder.h"

namespace fondaris::core {
namespace {

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override { notation() = Notation::german(); }
  std::string path(const char* name) const { return dir_.file(name); }
  test_support::ProcessSettingsGuard guard_;
  test_support::TempFolder dir_{"fondaris_ini"};
};

TEST_F(IniFileTest, ReadsTypedValuesWithDefaultsAndFirstOccurrence) {
  IniFile ini;
  ini.parse(
      "; Kommentar\r\n[Anfrage]\r\nBeitrag = 12,5\r\nBeitrag=99\r\nZW=4\r\nBad=12.5\r\n"
      "Int= 42 \r\nHuge=9999999999\r\nText=Müller\r\n[anfrage]\r\nZW=1\r\n");
  EXPECT_DOUBLE_EQ(ini.readFloat("ANFRAGE", "beitrag", 0), 12.5);
  EXPECT_EQ(ini.readInteger("Anfrage", "ZW", 12), 4);
  EXPECT_EQ(ini.readInteger("Anfrage", "Int", 0), 42);
  EXPECT_EQ(ini.readInteger("Anfrage", "Huge", 7), 7);
  EXPECT_EQ(ini.readInteger("Anfrage", "Text", 7), 7);
  // A point is not the decimal separator in German notation.
  EXPECT_DOUBLE_EQ(ini.readFloat("Anfrage", "Bad", -1), -1);
  EXPECT_EQ(ini.readString("Anfrage", "Text", ""), "Müller");
  EXPECT_EQ(ini.readString("Anfrage", "Missing", "D"), "D");
  EXPECT_EQ(ini.readString("Fehlt", "ZW", "x"), "x");
}

TEST_F(IniFileTest, WritesKeepOtherContentAndReplaceInPlace) {
  IniFile ini(path("a.ini"));
  ini.parse("; bleibt\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
  ini.writeString("a", "X", "neu");
  ini.writeInteger("A", "z", -3);
  ini.writeFloat("C", "f", 33.33f);
  EXPECT_EQ(ini.text(),
            "; bleibt\r\n[A]\r\nx=neu\r\nz=-3\r\n\r\n[B]\r\ny=2\r\n[C]\r\nf=33,3300018310547\r\n");
}

TEST_F(IniFileTest, SavesWindows1252AndLoadsItBack) {
  IniFile ini(path("b.ini"));
  ini.writeString("Vermittler", "Name", "Jürgen Größe €");
  ASSERT_TRUE(ini.save());
  auto bytes = readFileBytes(path("b.ini"));
  ASSERT_TRUE(bytes);
  EXPECT_EQ(*bytes,
            "[Vermittler]\r\nName=J\xFCrgen Gr\xF6\xDF"
            "e \x80\r\n");
  IniFile again(path("b.ini"));
  ASSERT_TRUE(again.load());
  EXPECT_EQ(again.readString("vermittler", "name", ""), "Jürgen Größe €");
}

TEST_F(IniFileTest, FailedSaveLeavesTheOldFileWhole) {
  const std::string p = path("ro.ini");
  { std::ofstream(p, std::ios::binary) << "[A]\r\nx=1\r\n"; }
  std::filesystem::permissions(p, std::filesystem::perms::owner_read |
                                      std::filesystem::perms::group_read |
                                      std::filesystem::perms::others_read);
  IniFile ini(p);
  ASSERT_TRUE(ini.load());
  ini.writeString("A", "x", "2");
  EXPECT_FALSE(ini.save());
  EXPECT_EQ(*readFileBytes(p), "[A]\r\nx=1\r\n");

  IniFile nowhere(path("missing-folder/x.ini"));
  nowhere.writeString("A", "x", "1");
  EXPECT_FALSE(nowhere.save());
}

TEST_F(IniFileTest, LongLinesAndGarbageDoNotBreakReading) {
  const std::string p = path("g.ini");
  {
    std::ofstream out(p, std::ios::binary);
    out << "[Anfrage]\r\nLang=" << std::string(5000, '7') << "\r\nBeitrag=50\r\n";
    out << std::string("\0\xff\xfe[=]=\n\n=", 10) << "\r\n";
  }
  IniFile ini(p);
  ASSERT_TRUE(ini.load());
  EXPECT_EQ(ini.readString("Anfrage", "Lang", "").size(), kMaxLineLength - 5);
  EXPECT_DOUBLE_EQ(ini.readFloat("Anfrage", "Beitrag", 0), 50);
}

}  // namespace
}  // namespace fondaris::core
