#include "bank/bank_details.h"

namespace fondaris::bank {

BankDetails bankDetails(const BankRecord* bank, bool separatePlace) {
  if (!bank) return {};
  if (!separatePlace) return {bank->bic, bank->name + ", " + bank->place, {}};
  return {bank->bic, bank->name, bank->postcode + " " + bank->place};
}

}  // namespace fondaris::bank
