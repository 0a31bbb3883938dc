// The bank data file: the table the program offers from any file of the right size.
#include "bank/bank_file_layout.h"
#include "bank/bank_table.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  // The input is the start of the file (header and first slots); the rest stays zero.
  static auto* file = new std::string(bank::kBankFileSize, '\0');
  const std::size_t n = std::min(size, file->size());
  file->replace(0, n, fuzz::asText(data, n));
  const bank::BankTable table = bank::bankTableFromBytes(*file);
  file->replace(0, n, n, '\0');

  FUZZ_CHECK(table.count() <= bank::kBankTableCapacity);
  for (const bank::BankRecord& r : table.records) {
    FUZZ_CHECK(bank::findBankCode(table, r.code).has_value());
  }
  FUZZ_CHECK(
      bank::bankTableFromBytes(fuzz::asText(data, std::min(size, file->size() - 1))).count() == 0);
  return 0;
}
