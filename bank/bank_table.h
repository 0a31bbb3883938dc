#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dialogs.h"

namespace fondaris::bank {

// At most this many banks are offered.
inline constexpr std::size_t kBankTableCapacity = 5000;

// Capacities of the table's texts in bytes, terminator included; longer slot texts are cut.
namespace bank_record {
inline constexpr std::size_t kCode = 9;
inline constexpr std::size_t kName = 60;
inline constexpr std::size_t kPostcode = 6;
inline constexpr std::size_t kPlace = 36;
inline constexpr std::size_t kShortName = 36;
inline constexpr std::size_t kBic = 12;
}  // namespace bank_record

// Texts are UTF-8.
struct BankRecord {
  std::string code;
  std::string name;
  std::string postcode;
  std::string place;
  std::string shortName;
  std::string bic;

  bool operator==(const BankRecord&) const = default;
};

// The banks offered, in file order. Holds only the records taken, so no place beyond the count
// can keep a bank from an earlier load.
struct BankTable {
  std::vector<BankRecord> records;

  std::size_t count() const { return records.size(); }
};

// The table from the bytes of a whole bank data file: among the first `count` slots those with
// the offered feature, at most kBankTableCapacity. Empty unless `bytes` holds the whole file.
BankTable bankTableFromBytes(std::string_view bytes);

// Whether the file can be found where loadBankTable looks for it. A missing file is no error:
// callers check this first and then leave the table empty without a message.
bool bankFileExists(const std::string& folder, const std::string& name);

// Opens `name` in `folder`, then in the program's folder, and reads the whole file. Failures are
// reported with caption "Fehler" and give an empty table.
BankTable loadBankTable(const std::string& folder, const std::string& name, core::Dialogs& dialogs);

// Index of the first record with exactly this bank code.
std::optional<std::size_t> findBankCode(const BankTable& table, std::string_view code);

}  // namespace fondaris::bank
