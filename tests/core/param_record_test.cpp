#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/dialogs.h"
#include "core/files.h"
#include "core/param_layout.h"
#include "core/param_reader.h"
#include "core/param_record.h"
#include "core/param_source.h"
#include "tests/support/process_settings.h"
#include "tests/support/system.h"
#include "tests/support/temp_folder.h"

namespace fondaris::core {
namespace {

namespace fs = std::filesystem;

// A fresh folder per test; the working directory is restored because the reader's fallback
// changes it.
class ParamTest : public testing::Test {
 protected:
  std::string dir(const std::string& sub = "") {
    const fs::path p = sub.empty() ? dir_ : dir_ / sub;
    fs::create_directories(p);
    return p.string();
  }

  static void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }

  // Builds Param.dat into `folder` from source lines; fails the test on a source error.
  static void writeRecord(const std::string& folder, const std::string& source) {
    ParamRecord record;
    const auto error = buildParamRecord(source, record);
    ASSERT_FALSE(error) << "line " << error->line << ": " << error->message;
    writeBytes(joinPath(folder, kParamFileName),
               std::string(record.bytes().begin(), record.bytes().end()));
  }

  // A folder whose Param.dat is missing, for the helpers' fallback paths. The helpers then try
  // the test program's folder, which holds no Param.dat.
  std::string emptyDir() { return dir("empty"); }

  test_support::ProcessSettingsGuard guard_;
  test_support::TempFolder folder_{"fondaris_param"};
  fs::path dir_ = folder_.path();
};

TEST(ParamLayoutTest, FieldsFitTheRecordAndDoNotOverlap) {
  struct Span {
    std::size_t begin, end;
    std::string what;
  };
  std::vector<Span> spans;
  for (const ParamField& f : kParamFields) {
    ASSERT_GE(f.count, 1u) << f.name;
    ASSERT_LE(f.at(f.count - 1) + f.size, kParamRecordSize) << f.name;
    if (f.count > 1) {
      ASSERT_GE(f.stride, f.size) << f.name;
    }
    if (!f.aliasOf.empty()) continue;
    for (std::size_t i = 0; i < f.count; ++i) {
      spans.push_back(
          {f.at(i), f.at(i) + f.size, std::string(f.name) + "[" + std::to_string(i) + "]"});
    }
  }
  std::sort(spans.begin(), spans.end(),
            [](const Span& a, const Span& b) { return a.begin < b.begin; });
  for (std::size_t i = 1; i < spans.size(); ++i) {
    EXPECT_LE(spans[i - 1].end, spans[i].begin)
        << spans[i - 1].what << " overlaps " << spans[i].what;
  }
}

TEST(ParamLayoutTest, AliasesCoverTheBytesOfTheirTarget) {
  for (const ParamField& f : kParamFields) {
    if (f.aliasOf.empty()) continue;
    const ParamField* target = findParamField(f.aliasOf);
    ASSERT_NE(target, nullptr) << f.name;
    EXPECT_EQ(target->type, f.type);
    EXPECT_EQ(target->size, f.size);
    // Both step through the same blocks, so the alias's first entry falls on a target entry.
    ASSERT_GE(f.offset, target->offset);
    EXPECT_EQ((f.offset - target->offset) % target->stride, 0u) << f.name;
    EXPECT_LE((f.offset - target->offset) / target->stride + f.count, target->count) << f.name;
  }
}

// Offsets the other modules read, as the record's documentation gives them; a typo in the
// layout table would move a field silently.
TEST(ParamLayoutTest, DocumentedOffsets) {
  const struct {
    const char* name;
    std::size_t index;
    std::size_t offset;
  } cases[] = {
      {"productTextA2", 0, 100},
      {"startPicture", 0, 600},
      {"productTextC3", 0, 1650},
      {"childContributionLimit", 0, 2008},
      {"fifthGrowthRate", 0, 2028},
      {"vlStrategy.active", 19, 4832 + 312 * 19},
      {"vlStrategy.value2", 3, 4832 + 312 * 3 + 6},
      {"vlStrategy.offerTemplate", 1, 4832 + 312 + 162},
      {"vlStrategy.infoDocument", 0, 4832 + 212},
      {"zielPlainName", 9, 7964 + 312 * 9},
      {"deathBenefitSex0", 119, 13632 + 4 * 119},
      {"deathBenefitSex1", 0, 14112},
      {"minDeathBenefitPercent", 0, 14592},
      {"singlePaymentCostRate", 0, 404508},
      {"switchWord", 0, 404540},
      {"ageMaxR", 0, 408080},
      {"premiumFootnote", 0, 408326},
      {"dynamicsOffered", 0, 408342},
      {"applicationFormBoth", 0, 408806},
      {"singlePaymentsOffered", 0, 409548},
      {"protectionForm", 0, 410278},
      {"zielPortfolio", 2, 414664 + 624},
      {"zielStrategy.listName", 10, 417772 + 3120 + 112},
      {"discount.factor", 9, 444302 + 68 * 9},
      {"discount.label", 9, 444302 + 68 * 9 + 12},
      {"formVvzuebZiel", 0, 449616},
      {"bankFile", 0, 450226},
      {"formVvzuebeaZiel", 0, 450844},
  };
  for (const auto& c : cases) {
    const ParamField* f = findParamField(c.name);
    ASSERT_NE(f, nullptr) << c.name;
    EXPECT_EQ(f->at(c.index), c.offset) << c.name << "[" << c.index << "]";
  }
}

TEST_F(ParamTest, ReaderAcceptsOnlyAWholeRecord) {
  const struct {
    const char* what;
    std::optional<std::size_t> size;  // nullopt: no file at all
    int result;
    const char* message;
  } cases[] = {
      {"missing", std::nullopt, 1, "Fehler: Die Datei '\\Param.dat' konnte nicht gelesen werden!"},
      {"empty", 0, 1, "Fehler: Fehler beim Lesen der Daten von '\\Param.dat'!"},
      {"one byte short", kParamRecordSize - 1, 1,
       "Fehler: Fehler beim Lesen der Daten von '\\Param.dat'!"},
      {"exact", kParamRecordSize, 0, nullptr},
      {"longer", kParamRecordSize + 10, 0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string folder = dir(c.what);
    const std::string fallback = dir(std::string(c.what) + "-fallback");
    if (c.size) writeBytes(joinPath(folder, kParamFileName), std::string(*c.size, '\x01'));
    // What a record held before is no part of a failed read.
    ParamRecord record;
    record.bytes().assign(kParamRecordSize, 0x02);
    const ParamReadResult read = readParamRecordFrom(folder, fallback, record);
    EXPECT_EQ(read ? 0 : 1, c.result);
    if (c.message) {
      ASSERT_FALSE(read);
      EXPECT_EQ("Fehler: " + paramReadMessage(read.error()), c.message);
      EXPECT_EQ(record.bytes(), ParamRecord{}.bytes());
    } else {
      EXPECT_EQ(record.bytes().size(), kParamRecordSize);
      EXPECT_EQ(record.u16(kParamRecordSize - 2), 0x0101);
    }
    // Bytes in memory are taken as the file reader takes them.
    ParamRecord fromBytes;
    EXPECT_EQ(paramRecordFromBytes(std::string(c.size.value_or(0), '\x01'), fromBytes),
              c.result == 0);
    if (c.result == 0) {
      EXPECT_EQ(fromBytes.bytes(), record.bytes());
    }
  }
}

TEST_F(ParamTest, FallbackFolderIsReadWithoutMovingTheWorkingDirectory) {
  const std::string fallback = dir("program");
  writeRecord(fallback, "productTextA1 = \"aus dem Programmordner\"\n");
  const std::string elsewhere = dir("elsewhere");
  setWorkingDirectory(elsewhere);

  ParamRecord record;
  EXPECT_TRUE(readParamRecordFrom(dir("given"), fallback, record));
  EXPECT_EQ(paramText(record, paramField("productTextA1")), "aus dem Programmordner");
  EXPECT_EQ(workingDirectory(), elsewhere);

  // A file in the given folder wins.
  const std::string given = dir("given2");
  writeRecord(given, "productTextA1 = \"vor Ort\"\n");
  EXPECT_TRUE(readParamRecordFrom(given, fallback, record));
  EXPECT_EQ(paramText(record, paramField("productTextA1")), "vor Ort");
}

TEST_F(ParamTest, ProgramFolderBecomesTheWorkingDirectoryOnlyWithoutProductDataThere) {
  const std::string fallback = dir("program");
  const std::string given = dir("given");
  writeRecord(given, "productTextA1 = \"vor Ort\"\n");
  setWorkingDirectory(given);
  settleProductDataFolderFrom(fallback);
  EXPECT_EQ(workingDirectory(), given);

  setWorkingDirectory(dir("empty"));
  settleProductDataFolderFrom(fallback);
  EXPECT_EQ(workingDirectory(), fallback);
}

TEST_F(ParamTest, TextHelpersSelectTheirFieldAndConvertWindows1252) {
  const std::string folder = dir("texts");
  writeRecord(
      folder,
      "productTextA1 = \"A eins\"\nproductTextA2 = \"A zwei\"\n"
      "productTextA3 = \"A drei – Übersicht\"\nstartPicture = \"Logo.bmp\"\n"
      "productTextC1 = \"C eins\"\nproductTextC2 = \"C zwei\"\nproductTextC3 = \"C drei\"\n");
  // The record holds the Windows-1252 bytes, not UTF-8.
  ParamRecord record;
  ASSERT_TRUE(readParamRecord(folder, record));
  EXPECT_EQ(record.bytes()[200 + 7], 0x96);  // en dash
  EXPECT_EQ(record.bytes()[200 + 9], 0xDC);  // Ü

  const struct {
    int selector;
    const char* a;
    const char* c;
  } cases[] = {{1, "A eins", "C eins"},
               {2, "A zwei", "C zwei"},
               {0, "A drei – Übersicht", "C drei"},
               {3, "A drei – Übersicht", "C drei"},
               {-1, "A drei – Übersicht", "C drei"}};
  for (const auto& c : cases) {
    EXPECT_EQ(variantName(record, c.selector), c.a) << c.selector;
    EXPECT_EQ(productTitle(record, c.selector), c.c) << c.selector;
  }
  EXPECT_EQ(startPictureName(record), "Logo.bmp");

  // What a form keeps when the file could not be read.
  const ParamRecord unread;
  EXPECT_EQ(variantName(unread, 1), "");
  EXPECT_EQ(startPictureName(unread), "");
  EXPECT_EQ(productTitle(unread, 2), "");
}

TEST_F(ParamTest, SwitchHelperWalksTheDigitsFromTheTop) {
  const struct {
    std::uint32_t word;
    int group;
    bool first, second, third;
  } cases[] = {
      {101000011, 3, true, true, false},
      {101000011, 2, false, false, false},
      {101000011, 1, false, true, true},
      {100100, 1, true, false, false},
      {100100, 2, true, false, false},
      {100100, 3, false, false, false},
      // A digit 2 is taken off once; the rest spills into the lower places of the group.
      {200, 1, true, true, true},
      {2000000, 3, false, true, false},
      {2000000, 2, true, true, true},
      {111111111, 2, true, true, true},
      {111111111, 4, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.word) + " group " + std::to_string(c.group));
    const std::string folder = dir(std::to_string(c.word));
    writeRecord(folder, "switchWord = " + std::to_string(c.word) + "\n");
    const SwitchFlags flags = paramSwitches(folder, c.group);
    EXPECT_TRUE(flags.ok);
    EXPECT_EQ(flags.first, c.first);
    EXPECT_EQ(flags.second, c.second);
    EXPECT_EQ(flags.third, c.third);
  }

  const SwitchFlags unread = paramSwitches(emptyDir(), 1);
  EXPECT_FALSE(unread.ok || unread.first || unread.second || unread.third);
}

TEST_F(ParamTest, AgeBoundsReplaceDefaultsOnlyWhenPositive) {
  const std::string folder = dir("ages");
  writeRecord(folder,
              "ageMinOther = 16\nageMaxOther = 70\nageMinK = 0\nageMaxK = 0\n"
              "ageMinR = -3\nageMaxR = 80\n");
  const struct {
    const char* kind;
    int lower, upper;
  } cases[] = {{"K", 5, 75}, {"R", 5, 80}, {"", 16, 70}, {"X", 16, 70}, {"r", 16, 70}};
  for (const auto& c : cases) {
    const AgeBounds b = paramAgeBounds(folder, c.kind);
    EXPECT_TRUE(b.ok) << c.kind;
    EXPECT_EQ(b.lower, c.lower) << c.kind;
    EXPECT_EQ(b.upper, c.upper) << c.kind;
  }
  const AgeBounds unread = paramAgeBounds(emptyDir(), "R");
  EXPECT_FALSE(unread.ok);
  EXPECT_EQ(unread.lower, 5);
  EXPECT_EQ(unread.upper, 75);
}

TEST_F(ParamTest, DiscountHelperReadsTheEntryOfTheWholeLevel) {
  const std::string folder = dir("discount");
  writeRecord(folder,
              "discount[0].factor = 10000\ndiscount[0].label = \"0 %\"\n"
              "discount[2].factor = 9000\ndiscount[2].label = \"10 %\"\n"
              "discount[9].factor = 9300\ndiscount[9].label = \"KEY9\"\n");
  const struct {
    double x;
    double factor;
    const char* label;
  } cases[] = {{0, 1.0, "0 %"},  {2.99, 0.9, "10 %"}, {9, 0.93, "KEY9"}, {5, 0.0, ""},
               {-0.1, 0.93, ""}, {-5, 0.93, ""},      {1e12, 0.93, ""}};
  for (const auto& c : cases) {
    std::string label = "stale";
    EXPECT_DOUBLE_EQ(paramDiscount(folder, c.x, label), c.factor) << c.x;
    EXPECT_EQ(label, c.label) << c.x;
  }
  std::string label = "stale";
  EXPECT_DOUBLE_EQ(paramDiscount(emptyDir(), 2, label), 0.93);
  EXPECT_EQ(label, "");
}

TEST_F(ParamTest, MaxDeathBenefitByAgeAndSex) {
  const std::string folder = dir("death");
  writeRecord(folder,
              "deathBenefitSex0[0] = 50000 50001\ndeathBenefitSex0[99] = 1234 777\n"
              "deathBenefitSex1[0] = 60000\ndeathBenefitSex1[99] = 4321\n");
  ParamRecord record;
  ASSERT_TRUE(readParamRecord(folder, record));
  const struct {
    int age, sex;
    double expected;
  } cases[] = {{0, 0, 50000},  {1, 0, 50001}, {99, 0, 1234}, {0, 1, 60000}, {99, 2, 4321},
               {99, -1, 4321}, {100, 0, 1e6}, {-1, 1, 1e6},  {2, 0, 0}};
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(maxDeathBenefit(folder, c.age, c.sex), c.expected)
        << "age " << c.age << " sex " << c.sex;
    EXPECT_DOUBLE_EQ(maxDeathBenefit(record, c.age, c.sex), c.expected)
        << "record, age " << c.age << " sex " << c.sex;
  }
  EXPECT_DOUBLE_EQ(maxDeathBenefit(emptyDir(), 30, 0), 1e6);
}

TEST(ParamSourceTest, DumpBuildsTheSameRecordAgain) {
  const std::string source =
      "# sample\n"
      "productTextA1 = \"Fondaris VL\"   # product 1\n"
      "productTextA3 = \"Quote \\\" # kein Kommentar \\\\ Ende\"\n"
      "codedText = \"tab\\x09ende\"\n"
      "switchWord = 4294967295\n"
      "ageMinK = -32768\n"
      "discount[19].factor = 65535\n"
      "deathBenefitSex1[118] = -5 2147483647\n"
      "vlStrategy[19].infoDocument = \"Größe€.pdf\"\n"
      "zielPlainName[1] = \"über alias\"\n"
      "\n";
  ParamRecord first;
  ASSERT_FALSE(buildParamRecord(source, first));
  EXPECT_EQ(paramText(first, paramField("productTextA3")), "Quote \" # kein Kommentar \\ Ende");
  EXPECT_EQ(paramText(first, paramField("vlStrategy.name"), 11), "über alias");
  EXPECT_EQ(first.i32(paramField("deathBenefitSex1").at(119)), 2147483647);

  const std::string dump = dumpParamRecord(first);
  for (const char* line :
       {"productTextA1 = \"Fondaris VL\"\n", "switchWord = 4294967295\n", "ageMinK = -32768\n",
        "discount[19].factor = 65535\n", "deathBenefitSex1[118] = -5\n",
        "codedText = \"tab\\x09ende\"\n", "vlStrategy[19].infoDocument = \"Größe€.pdf\"\n",
        "vlStrategy[11].name = \"über alias\"\n", "vlStrategy[0].active = 0\n"}) {
    EXPECT_NE(dump.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(dump.find("\nzielPlainName"), std::string::npos) << "aliases are not dumped twice";

  ParamRecord second;
  const auto error = buildParamRecord(dump, second);
  ASSERT_FALSE(error) << error->line << ": " << error->message;
  EXPECT_EQ(first.bytes(), second.bytes());
}

TEST(ParamSourceTest, BadLinesNameTheirLineAndCause) {
  using namespace std::string_view_literals;
  const struct {
    std::string_view source;
    int line;
    const char* fragment;
  } cases[] = {
      {"# ok\nnoValueHere\n", 2, "'Name = Wert' erwartet"},
      {"\n\nfoo = 1\n", 3, "unbekanntes Feld 'foo'"},
      {"vlStrategy[20].name = \"x\"\n", 1, "Index 20 außerhalb von 0 bis 19"},
      {"vlStrategy[x].name = \"x\"\n", 1, "ungültiger Feldname"},
      {"ageMinK = 32768\n", 1, "Wert 32768 außerhalb von -32768 bis 32767"},
      {"switchWord = -1\n", 1, "außerhalb von 0 bis 4294967295"},
      {"childAgeLimit = 99999999999999999999\n", 1, "außerhalb"},
      {"childAgeLimit = 17 Jahre\n", 1, "ganze Zahl erwartet statt 'Jahre'"},
      {"childAgeLimit = \n", 1, "Wert fehlt"},
      {"deathBenefitSex0[119] = 1 2\n", 1, "zu viele Werte"},
      {"productTextA1 = Fondaris\n", 1, "Text in Anführungszeichen erwartet"},
      {"productTextA1 = \"Pfeil →\"\n", 1, "ohne Windows-1252-Entsprechung"},
      {"productTextA1 = \"a\\x00b\"\n", 1, "Nullbyte"},
      // A raw NUL would end the text in the record and the dump would disagree.
      {"# ok\nproductTextA1 = \"a\0b\"\n"sv, 2, "Nullbyte"},
      {"discount[0].label = \"123456789012345678901234567890123456789012345678901234567\"\n", 1,
       "Text zu lang für 'discount[0].label': 57 Zeichen, höchstens 55"},
      {"switchWord = 1\n\nswitchWord = 2\n", 3, "ist schon in Zeile 1 belegt"},
      {"vlStrategy[10].name = \"a\"\nzielPlainName[0] = \"b\"\n", 2, "schon in Zeile 1 belegt"},
  };
  for (const auto& c : cases) {
    ParamRecord record;
    const auto error = buildParamRecord(c.source, record);
    ASSERT_TRUE(error) << c.source;
    EXPECT_EQ(error->line, c.line) << c.source;
    EXPECT_NE(error->message.find(c.fragment), std::string::npos)
        << c.source << " -> " << error->message;
  }
}

// Found by fuzzing: a record text that fills its whole field has no terminator. Its dump shows
// it whole, and building that dump again refuses it by line and field instead of cutting it.
TEST(ParamSourceTest, DumpOfAnUnterminatedTextIsRefusedByName) {
  ParamRecord record;
  const ParamField& label = paramField("discount.label");
  std::fill_n(record.bytes().begin() + label.at(3), label.size, 'A');
  const std::string dump = dumpParamRecord(record);
  EXPECT_NE(dump.find("discount[3].label = \"" + std::string(label.size, 'A') + "\"\n"),
            std::string::npos);
  ParamRecord rebuilt;
  const auto error = buildParamRecord(dump, rebuilt);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->message, "Text zu lang für 'discount[3].label': 56 Zeichen, höchstens 55");
}

// The tool as the build runs it: exit codes, the error line and a dump of what it built.
TEST_F(ParamTest, ToolBuildsDumpsAndRejects) {
  const std::string tool = joinPath(FONDARIS_BUILD_DIR, "fondaris-param");
  if (!fileExists(tool)) GTEST_SKIP() << "fondaris-param not built";
  const std::string folder = dir("tool");
  const std::string good = joinPath(folder, "good.txt");
  const std::string bad = joinPath(folder, "bad.txt");
  const std::string out = joinPath(folder, "Param.dat");
  writeBytes(good, "productTextA2 = \"Fondaris\"\nswitchWord = 100100\n");
  writeBytes(bad, "productTextA2 = \"Fondaris\"\nageMaxK = 70000\n");
  auto run = [&](const std::string& args, const std::string& log) {
    const int status = std::system((tool + " " + args + " >" + log + " 2>&1").c_str());
    return test_support::exitCodeOf(status);
  };
  const std::string log = joinPath(folder, "log.txt");

  ASSERT_EQ(run("build " + good + " " + out, log), 0);
  ParamRecord record;
  ASSERT_TRUE(readParamRecord(folder, record));
  ASSERT_EQ(run("dump " + out, log), 0);
  EXPECT_EQ(readFileBytes(log).value_or(""), dumpParamRecord(record));

  EXPECT_EQ(run("build " + bad + " " + joinPath(folder, "other.dat"), log), 1);
  EXPECT_NE(readFileBytes(log).value_or("").find(bad + ", Zeile 2: Wert 70000"), std::string::npos)
      << readFileBytes(log).value_or("");
  EXPECT_FALSE(fileExists(joinPath(folder, "other.dat")));

  EXPECT_EQ(run("dump " + good, log), 1);  // not a record
  EXPECT_EQ(run("frobnicate", log), 1);
}

// The sample product data that the build puts beside the program.
TEST(SampleParamTest, BuiltSampleReadsBack) {
  const std::string folder = FONDARIS_BUILD_DIR;
  const std::string path = joinPath(folder, kParamFileName);
  ASSERT_TRUE(fileExists(path)) << "build the param_dat target first";
  EXPECT_EQ(std::filesystem::file_size(path), kParamRecordSize);

  ParamRecord record;
  ASSERT_TRUE(readParamRecord(folder, record));
  EXPECT_EQ(productTitle(record, 1), "Fondaris VL");
  EXPECT_EQ(productTitle(record, 2), "Fondaris");
  EXPECT_EQ(variantName(record, 1), "Fondaris VL");
  EXPECT_EQ(variantName(record, 2), "Fondaris");
  EXPECT_TRUE(paramSwitches(folder, 1).first);
  EXPECT_TRUE(paramSwitches(folder, 2).first);
  EXPECT_FALSE(paramSwitches(folder, 3).first);
  EXPECT_EQ(record.i32(paramField("singlePaymentCostRate").offset), 575);
  EXPECT_EQ(record.i32(paramField("childAgeLimit").offset), 17);

  std::string key;
  paramDiscount(folder, 9, key);
  EXPECT_FALSE(key.empty());
  EXPECT_NE(key.find_first_not_of("0123456789 %"), std::string::npos) << "a code word, not a rate";

  // Every offered strategy can be shown and documented.
  for (std::size_t i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(record.i16(paramField("vlStrategy.active").at(i)), 1);
    EXPECT_NE(paramText(record, paramField("vlStrategy.name"), i), "");
    EXPECT_NE(paramText(record, paramField("vlStrategy.offerTemplate"), i), "");
    EXPECT_NE(paramText(record, paramField("vlStrategy.infoDocument"), i), "");
    EXPECT_NE(record.i16(paramField("zielStrategy.active").at(i)), 0);
    EXPECT_NE(paramText(record, paramField("zielStrategy.name"), i), "");
    EXPECT_NE(paramText(record, paramField("zielPlainName"), i), "");
    EXPECT_NE(paramText(record, paramField("zielPortfolio"), i), "");
  }
  EXPECT_NE(paramText(record, paramField("applicationFormVl")), "");
  EXPECT_NE(paramText(record, paramField("bankFile")), "");

  // Every file the sample names lies beside the program after the build.
  std::vector<std::string> named;
  for (const char* field : {"startPicture", "bankFile", "applicationFormVl", "applicationFormZiel",
                            "formVvez", "protectionForm", "formVvzuebVl", "formVvzuebZiel",
                            "formVvzuebeeg", "formVvzuebeaVl", "formVvzuebeaZiel"}) {
    named.push_back(paramText(record, *findParamField(field)));
  }
  for (const char* field : {"vlStrategy.offerTemplate", "vlStrategy.infoDocument",
                            "zielStrategy.offerTemplate", "zielStrategy.infoDocument"}) {
    for (std::size_t i = 0; i < 10; ++i)
      named.push_back(paramText(record, *findParamField(field), i));
  }
  for (const std::string& name : named) {
    ASSERT_FALSE(name.empty());
    const auto bytes = readFileBytes(joinPath(folder, name));
    ASSERT_TRUE(bytes) << name << " missing in the build folder";
    const std::string_view start = std::string_view(*bytes).substr(0, 8);
    if (name.ends_with(".pdf")) {
      EXPECT_EQ(start.substr(0, 5), "%PDF-") << name;
    } else if (name.ends_with(".png")) {
      EXPECT_EQ(start, "\x89PNG\r\n\x1a\n") << name;
    }
  }

  // Death benefit limits fall with the entry age once adult, for both sexes.
  const AgeBounds adult = paramAgeBounds(folder, "");
  for (int sex : {0, 1}) {
    for (int age = 18; age < 99; ++age) {
      EXPECT_GE(maxDeathBenefit(folder, age, sex), maxDeathBenefit(folder, age + 1, sex))
          << "sex " << sex << " age " << age;
    }
    EXPECT_GT(maxDeathBenefit(folder, adult.upper, sex), 0) << "sex " << sex;
    // Every age the helper reads from the table has a limit a contract can meet.
    for (int age = 0; age < 100; ++age) {
      EXPECT_GE(maxDeathBenefit(folder, age, sex), 5000) << "sex " << sex << " age " << age;
    }
  }
}

}  // namespace
}  // namespace fondaris::core
