#pragma once

#include <span>
#include <string>

#include "core/files.h"

namespace fondaris::bank {

// One slot of the bank data file as the writer takes it; texts are UTF-8 and are cut to their
// slot size when written.
struct BankSlot {
  std::string code;  // 8 digits
  char feature = '1';
  std::string name;
  std::string postcode;
  std::string place;
  std::string shortName;
  std::string bic;
};

// The whole bank data file: the first kBankSlotCount slots in order, the count in the header,
// every further byte zero.
std::string bankFileBytes(std::span<const BankSlot> slots);

// Written atomically: on failure the old file stays as it was.
core::FileResult writeBankFile(const std::string& path, std::span<const BankSlot> slots);

}  // namespace fondaris::bank
