// Drives the real fondaris-bank tool and the bank data file the build made.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "bank/bank_file_layout.h"
#include "iban_check.h"
#include "tests/support/bank_fixture.h"
#include "tests/support/temp_folder.h"

namespace fondaris::bank {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int exitCode;
  std::string out;
  std::string err;
};

std::string slurp(const fs::path& path) {
  std::string text;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
  }
  return text;
}

// Arguments are single-quoted for the shell; none of them holds a quote.
ToolRun runTool(const std::string& args) {
  const test_support::TempFolder folder("fondaris_bank_stderr");
  const fs::path err = folder.path() / "stderr.txt";
  const std::string command = std::string("'") + FONDARIS_BUILD_DIR + "/fondaris-bank' " + args +
                              " 2>'" + err.string() + "'";
  ToolRun run{-1, {}, {}};
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  run.err = slurp(err);
  return run;
}

TEST(BankTool, PrintsOnlyValidIbans) {
  const char* inputs[] = {"37040044 532013000", "20070024 66644600", "37040044 6",
                          "10000000 1",         "19043 234573201",   "70150000 9999999999"};
  for (const char* input : inputs) {
    const ToolRun run = runTool(std::string("iban ") + input);
    SCOPED_TRACE(input);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_FALSE(run.out.empty());
    EXPECT_EQ(run.out.back(), '\n');
    EXPECT_TRUE(test::ibanValidates(run.out.substr(0, run.out.size() - 1))) << run.out;
  }
  EXPECT_EQ(runTool("iban 37040044 532013000").out, "DE89370400440532013000\n");
}

TEST(BankTool, RefusesWhatGivesNoIban) {
  const ToolRun run = runTool("iban 37040044 12345678901");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "fondaris-bank: Keine IBAN: Die Kontonummer '12345678901' hat mehr als 10 Ziffern.\n");
  EXPECT_EQ(runTool("iban 3704004 1").exitCode, 1);
  EXPECT_EQ(runTool("iban").exitCode, 1);
}

TEST(BankTool, BuiltBankDataFileNamesTheBank) {
  // The program's own file has whichever banks the machine's Bundesbank file lists; the names
  // are checked in the one built from the sample.
  EXPECT_EQ(fs::file_size(FONDARIS_BANK_DATA_FILE), kBankFileSize);
  const std::string file = test_support::bankDataFile();
  ASSERT_EQ(fs::file_size(file), kBankFileSize);
  const ToolRun run = runTool("lookup '" + file + "' 37040044");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("Name:            Commerzbank\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Ort:             Köln\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("BIC:             COBADEFFXXX\n"), std::string::npos) << run.out;

  const ToolRun unknown = runTool("lookup '" + file + "' 12345678");
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_NE(unknown.err.find("'12345678'"), std::string::npos);
}

TEST(BankTool, BuildsFromTheSampleAndKeepsTheOldFileOnBadInput) {
  const test_support::TempFolder folder("fondaris_bank_build");
  const fs::path dir = folder.path();
  const std::string out = (dir / "BLZ.DAT").string();
  const std::string sample = std::string(FONDARIS_SOURCE_DIR) + "/data/bank/blz_beispiel.txt";

  const ToolRun build = runTool("build '" + sample + "' '" + out + "'");
  ASSERT_EQ(build.exitCode, 0) << build.err;
  EXPECT_EQ(fs::file_size(out), kBankFileSize);
  const ToolRun lookup = runTool("lookup '" + out + "' 70150000");
  EXPECT_NE(lookup.out.find("Name:            Stadtsparkasse München\n"), std::string::npos)
      << lookup.out;

  const std::string broken = (dir / "kaputt.txt").string();
  {
    FILE* f = std::fopen(broken.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fputs("10000000 zu kurz\r\n", f);
    std::fclose(f);
  }
  const ToolRun bad = runTool("build '" + broken + "' '" + out + "'");
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_NE(bad.err.find("Zeile 1: Der Datensatz hat 16 statt 168 Zeichen."), std::string::npos)
      << bad.err;
  EXPECT_EQ(runTool("lookup '" + out + "' 70150000").exitCode, 0);  // old file untouched

  const ToolRun missing = runTool("lookup '" + (dir / "fehlt.dat").string() + "' 70150000");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("Fehler: Die Datei '"), std::string::npos) << missing.err;
  fs::remove_all(dir);
}

}  // namespace
}  // namespace fondaris::bank
