#pragma once

#include <string>

#include "bank/bank_table.h"

namespace fondaris::bank {

// What a bank code fills in beside it on a bank connection.
struct BankDetails {
  std::string bic;
  std::string name;
  std::string place;  // "postcode place"
};

// The details of a found bank, all empty for none. Where the connection has no field of its own
// for the place, the place follows the name ("name, place") and `place` stays empty.
BankDetails bankDetails(const BankRecord* bank, bool separatePlace);

}  // namespace fondaris::bank
