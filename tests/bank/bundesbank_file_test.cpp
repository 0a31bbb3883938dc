#include "bank/bundesbank_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bank/bank_file_layout.h"
#include "bank/bank_table.h"

namespace fondaris::bank {
namespace {

std::string pad(std::string s, std::size_t n) {
  s.resize(n, ' ');
  return s;
}

// One record in the Bundesbank's layout; texts are given in ISO-8859-1.
std::string record(const std::string& code, char feature, const std::string& name,
                   const std::string& postcode, const std::string& place,
                   const std::string& shortName, const std::string& bic) {
  return pad(code, 8) + feature + pad(name, 58) + pad(postcode, 5) + pad(place, 35) +
         pad(shortName, 27) + "24370" + pad(bic, 11) + "13" + "006143" + "U" + "0" + "00000000";
}

// A few real records, the second a branch without its own offer.
const std::string kFixture = record("37040044", '1', "Commerzbank", "50447", "K\xF6ln",
                                    "Commerzbank K\xF6ln", "COBADEFFXXX") +
                             "\r\n" +
                             record("37040044", '2', "Commerzbank", "51432", "Bergisch Gladbach",
                                    "Commerzbank Bergisch-Gladb", "") +
                             "\r\n" +
                             record("70150000", '1', "Stadtsparkasse M\xFCnchen", "80791",
                                    "M\xFCnchen", "St Sparkasse M\xFCnchen", "SSKMDEMMXXX") +
                             "\r\n";

TEST(BundesbankFile, RoundTripThroughTheBankDataFile) {
  const BundesbankFile parsed = parseBundesbankFile(kFixture);
  ASSERT_FALSE(parsed.error) << *parsed.error;
  ASSERT_EQ(parsed.slots.size(), 3u);
  EXPECT_EQ(parsed.slots[1].feature, '2');
  EXPECT_EQ(parsed.slots[1].place, "Bergisch Gladbach");

  const std::string bytes = bankFileBytes(parsed.slots);
  ASSERT_EQ(bytes.size(), kBankFileSize);
  EXPECT_EQ(bytes[0], 3);  // all records are counted, offered or not
  const BankTable table = bankTableFromBytes(bytes);
  EXPECT_EQ(table.records,
            (std::vector<BankRecord>{
                {"37040044", "Commerzbank", "50447", "Köln", "Commerzbank Köln", "COBADEFFXXX"},
                {"70150000", "Stadtsparkasse München", "80791", "München", "St Sparkasse München",
                 "SSKMDEMMXXX"}}));
  // Windows-1252 in the file.
  EXPECT_EQ(bytes.substr(bankSlotOffset(0) + bank_slot::kPlace.offset, 5),
            std::string("K\xF6ln\0", 5));
}

TEST(BundesbankFile, AcceptsLineEndsAndAClosingMark) {
  const std::string lf =
      record("10000000", '1', "Bundesbank", "10591", "Berlin", "BBk Berlin", "MARKDEF1100");
  EXPECT_EQ(parseBundesbankFile(lf + "\n" + lf).slots.size(), 2u);
  EXPECT_EQ(parseBundesbankFile(lf + "\r\n\x1a").slots.size(), 1u);
  EXPECT_EQ(parseBundesbankFile("").slots.size(), 0u);
}

TEST(BundesbankFile, RejectsMalformedRecordsWithTheirLine) {
  const std::string good =
      record("10000000", '1', "Bundesbank", "10591", "Berlin", "BBk Berlin", "MARKDEF1100");
  struct Case {
    std::string text;
    std::string error;
  } cases[] = {
      {good + "\r\n" + good.substr(0, 150) + "\r\n",
       "Zeile 2: Der Datensatz hat 150 statt 168 Zeichen."},
      {good + "\r\n\r\n" + good, "Zeile 2: Der Datensatz hat 0 statt 168 Zeichen."},
      {"1000000X" + good.substr(8),
       "Zeile 1: Die Bankleitzahl '1000000X' besteht nicht aus 8 Ziffern."},
  };
  for (const Case& c : cases) {
    const BundesbankFile parsed = parseBundesbankFile(c.text);
    EXPECT_EQ(parsed.error.value_or(""), c.error);
    EXPECT_TRUE(parsed.slots.empty());
  }
}

TEST(BundesbankFile, KeepsTheFirstThirtyThousandRecords) {
  std::string text;
  for (std::size_t i = 0; i < kBankSlotCount + 2; ++i) {
    text +=
        record(std::to_string(10000000 + i), '2', "Bank", "10115", "Berlin", "Bank", "") + "\r\n";
  }
  const BundesbankFile parsed = parseBundesbankFile(text);
  ASSERT_EQ(parsed.slots.size(), kBankSlotCount);
  EXPECT_EQ(parsed.dropped, 2u);
  EXPECT_EQ(parsed.slots.back().code, std::to_string(10000000 + kBankSlotCount - 1));
}

}  // namespace
}  // namespace fondaris::bank
