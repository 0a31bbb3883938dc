// The Bundesbank bank code file as the converter reads it; what it accepts makes a bank data
// file whose table holds exactly the offered records.
#include <algorithm>

#include "bank/bank_table.h"
#include "bank/bundesbank_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  const bank::BundesbankFile parsed = bank::parseBundesbankFile(fuzz::asText(data, size));
  if (parsed.error) {
    FUZZ_CHECK(parsed.slots.empty());
    return 0;
  }
  const std::string file = bank::bankFileBytes(parsed.slots);
  const bank::BankTable table = bank::bankTableFromBytes(file);
  const auto offered = std::count_if(parsed.slots.begin(), parsed.slots.end(),
                                     [](const bank::BankSlot& s) { return s.feature == '1'; });
  FUZZ_CHECK(table.count() ==
             std::min<std::size_t>(static_cast<std::size_t>(offered), bank::kBankTableCapacity));
  return 0;
}
