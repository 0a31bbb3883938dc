#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bank/bank_slot.h"
#include "bank/bank_table.h"
#include "bank/iban.h"

namespace {

using namespace fondaris::bank;

// A full bank data file: every slot filled, every other one offered.
const std::string& fullBankFile() {
  static const std::string bytes = [] {
    std::vector<BankSlot> slots;
    for (int i = 0; i < 30000; ++i) {
      slots.push_back({std::to_string(10000000 + i), i % 2 ? '2' : '1', "Sparkasse Musterstadt",
                       "12345", "Musterstadt", "Spk Musterstadt", "TESTDEFFXXX"});
    }
    return bankFileBytes(slots);
  }();
  return bytes;
}

void BM_BankTableFromFullFile(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(bankTableFromBytes(fullBankFile()));
}
BENCHMARK(BM_BankTableFromFullFile)->Unit(benchmark::kMillisecond);

void BM_FindLastBankCode(benchmark::State& state) {
  const BankTable table = bankTableFromBytes(fullBankFile());
  const std::string last = table.records.back().code;
  for (auto _ : state) benchmark::DoNotOptimize(findBankCode(table, last));
}
BENCHMARK(BM_FindLastBankCode);

void BM_Iban(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(iban("37040044", "532013000"));
}
BENCHMARK(BM_Iban);

}  // namespace
