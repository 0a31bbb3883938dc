#include "bank/bank_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "bank/bank_file_layout.h"
#include "bank/bank_slot.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_folder.h"

namespace fondaris::bank {
namespace {

namespace fs = std::filesystem;

BankSlot slot(std::string code, char feature = '1') {
  return {code, feature, "Bank " + code, "10115", "Berlin", "Kurz " + code, "TESTDEFFXXX"};
}

std::string codeOf(int i) {
  return std::to_string(10000000 + i);
}

void setCount(std::string& bytes, std::int32_t count) {
  const auto v = static_cast<std::uint32_t>(count);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::vector<std::string> codes(const BankTable& table) {
  std::vector<std::string> out;
  for (const BankRecord& r : table.records) out.push_back(r.code);
  return out;
}

class BankTableFile : public ::testing::Test {
 protected:
  std::string folder() const { return dir_.str(); }
  void write(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(core::writeFileAtomically(core::joinPath(folder(), name), bytes));
  }

  test_support::TempFolder dir_{"fondaris_bank"};
  test_support::ScriptedDialogs dialogs_;
};

TEST_F(BankTableFile, SevenThousandOfferedRecordsGiveTheFirstFiveThousand) {
  std::vector<BankSlot> slots;
  for (int i = 0; i < 7000; ++i) slots.push_back(slot(codeOf(i)));
  write("BLZ.DAT", bankFileBytes(slots));

  const BankTable table = loadBankTable(folder(), "BLZ.DAT", dialogs_);
  EXPECT_TRUE(dialogs_.shown().empty());
  ASSERT_EQ(table.count(), kBankTableCapacity);
  EXPECT_EQ(table.records.front().code, codeOf(0));
  EXPECT_EQ(table.records.back().code, codeOf(4999));
}

TEST_F(BankTableFile, TakesOnlyOfferedSlotsAmongTheCounted) {
  std::string bytes =
      bankFileBytes(std::vector<BankSlot>{slot("10000001"), slot("10000002", '2'), slot("10000003"),
                                          slot("10000004", ' '), slot("10000005")});
  setCount(bytes, 4);  // the fifth slot is filled but not counted
  write("BLZ.DAT", bytes);

  const BankTable table = loadBankTable(folder(), "BLZ.DAT", dialogs_);
  EXPECT_EQ(codes(table), (std::vector<std::string>{"10000001", "10000003"}));
  EXPECT_EQ(table.records[1], (BankRecord{"10000003", "Bank 10000003", "10115", "Berlin",
                                          "Kurz 10000003", "TESTDEFFXXX"}));
}

TEST_F(BankTableFile, ShortFileIsReportedAndGivesNoTable) {
  std::string bytes = bankFileBytes(std::vector<BankSlot>{slot("10000001")});
  bytes.pop_back();
  write("BLZ.DAT", bytes);

  EXPECT_TRUE(bankFileExists(folder(), "BLZ.DAT"));
  EXPECT_EQ(loadBankTable(folder(), "BLZ.DAT", dialogs_).count(), 0u);
  EXPECT_EQ(dialogs_.messages(),
            std::vector<std::string>{"Fehler: Fehler beim Lesen der Daten von 'BLZ.DAT'!"});
}

TEST_F(BankTableFile, MissingFileIsSeenBeforeLoading) {
  EXPECT_FALSE(bankFileExists(folder(), "FEHLT.DAT"));
  EXPECT_FALSE(bankFileExists(folder(), ""));
  // A caller that loads anyway gets the open message.
  EXPECT_EQ(loadBankTable(folder(), "FEHLT.DAT", dialogs_).count(), 0u);
  EXPECT_EQ(dialogs_.messages(),
            std::vector<std::string>{"Fehler: Die Datei 'FEHLT.DAT' konnte nicht gelesen werden!"});
}

TEST_F(BankTableFile, FallsBackToTheProgramFolder) {
  // The test folder's own unique name keeps parallel runs apart in the shared program folder.
  const std::string name = dir_.path().filename().string() + ".dat";
  const std::string inProgramFolder = core::joinPath(core::programDirectory(), name);
  ASSERT_TRUE(core::writeFileAtomically(inProgramFolder,
                                        bankFileBytes(std::vector<BankSlot>{slot("10000001")})));

  EXPECT_TRUE(bankFileExists(folder(), name));
  const BankTable table = loadBankTable(folder(), name, dialogs_);
  ASSERT_TRUE(core::removeFile(inProgramFolder));
  EXPECT_TRUE(dialogs_.shown().empty());
  EXPECT_EQ(codes(table), std::vector<std::string>{"10000001"});
}

TEST(BankTableBytes, DamagedCountStaysInsideTheFile) {
  std::string bytes = bankFileBytes(std::vector<BankSlot>{slot("10000001"), slot("10000002")});
  setCount(bytes, -1);
  EXPECT_EQ(bankTableFromBytes(bytes).count(), 0u);
  setCount(bytes, 1'000'000);
  EXPECT_EQ(codes(bankTableFromBytes(bytes)), (std::vector<std::string>{"10000001", "10000002"}));
}

TEST(BankTableBytes, TextsAreCutToTheTableAndDecoded) {
  BankSlot s = slot("10000001");
  s.name = "Sparkasse Köln";
  s.place = "Köln";
  s.shortName = std::string(41, 'K');  // fits the slot (42) but not the table (36)
  const BankTable table = bankTableFromBytes(bankFileBytes(std::vector<BankSlot>{s}));
  ASSERT_EQ(table.count(), 1u);
  EXPECT_EQ(table.records[0].name, "Sparkasse Köln");
  EXPECT_EQ(table.records[0].place, "Köln");
  EXPECT_EQ(table.records[0].shortName, std::string(35, 'K'));
}

TEST(BankTableBytes, FindsTheBankCodeInTableOrder) {
  const BankTable table = bankTableFromBytes(bankFileBytes(
      std::vector<BankSlot>{slot("10000001"), slot("10000002", '2'), slot("10000003")}));
  EXPECT_EQ(findBankCode(table, "10000003"), 1u);
  EXPECT_EQ(findBankCode(table, "10000002"), std::nullopt);  // not offered
  EXPECT_EQ(findBankCode(table, "1000000"), std::nullopt);
}

}  // namespace
}  // namespace fondaris::bank
